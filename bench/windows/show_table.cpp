#include "show_table.h"

#include <windows.h>

namespace bench {

double SecondsToClickAndPaint(void* dialog, int buttonId, int viewId) {
    auto* window = static_cast<HWND>(dialog);
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    SendDlgItemMessageW(window, buttonId, BM_CLICK, 0, 0);
    UpdateWindow(GetDlgItem(window, viewId));  // paints now, as the next idle moment would
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

long long TextLength(void* dialog, int id) {
    return SendDlgItemMessageW(static_cast<HWND>(dialog), id, WM_GETTEXTLENGTH, 0, 0);
}

}  // namespace bench
