#include "show_table.h"

#include <windows.h>
// after <windows.h>, which it needs
#include <psapi.h>

#include "framework/win32/wide_text.h"

namespace bench {
namespace {

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

}  // namespace

double SecondsToClickAndPaint(void* dialog, int buttonId, int viewId) {
    auto* window = static_cast<HWND>(dialog);
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    QueryPerformanceCounter(&start);
    SendDlgItemMessageW(window, buttonId, BM_CLICK, 0, 0);
    UpdateWindow(GetDlgItem(window, viewId));  // paints now, as the next idle moment would
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

double SecondsToShowInPlatformEdit(void* dialog, int viewId, const std::string& text) {
    auto* window = static_cast<HWND>(dialog);
    RECT place{};
    GetWindowRect(GetDlgItem(window, viewId), &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    HWND edit =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                            ES_READONLY | ES_AUTOHSCROLL,
                        place.left, place.top, place.right - place.left, place.bottom - place.top,
                        window, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(edit, WM_SETFONT, static_cast<WPARAM>(SendMessageW(window, WM_GETFONT, 0, 0)),
                 FALSE);
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // no 32 KiB limit
    const std::wstring wide = framework::win32::ToWide(text);
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    QueryPerformanceCounter(&start);
    SetWindowTextW(edit, wide.c_str());
    UpdateWindow(edit);
    QueryPerformanceCounter(&end);
    DestroyWindow(edit);
    return Seconds(start, end);
}

long long TextLength(void* dialog, int id) {
    return SendDlgItemMessageW(static_cast<HWND>(dialog), id, WM_GETTEXTLENGTH, 0, 0);
}

double ResidentMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.WorkingSetSize) / (1 << 20);
}

double PeakResidentMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20);
}

}  // namespace bench
