// The Win32 backend, the platform's side: dialogs from the program's linked
// templates, run by the platform's own dialog manager.
#include <windows.h>
// after <windows.h>, which it needs
#include <commctrl.h>

#include <algorithm>
#include <map>

#include "framework/dialog_sizing.h"
#include "framework/win32/native.h"
#include "framework/win32/text_view.h"
#include "framework/win32/wide_text.h"

namespace framework::win32 {
namespace {

HWND AsWindow(Handle handle) {
    return static_cast<HWND>(handle);
}

DialogEvents* EventsOf(HWND dialog) {
    return PointerFrom<DialogEvents*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

bool IsResultsField(HWND control) {
    wchar_t className[16] = {};
    GetClassNameW(control, className, static_cast<int>(std::size(className)));
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    return lstrcmpiW(className, L"Edit") == 0 && (style & ES_MULTILINE) != 0 &&
           (style & ES_READONLY) != 0;
}

// Puts a text view in the place of each read-only multi-line edit of the
// dialog: same identifier, position, size, styles, font and tab order.
void ReplaceResultsFields(HWND dialog) {
    std::vector<HWND> fields;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsResultsField(child)) {
            fields.push_back(child);
        }
    }
    for (HWND field : fields) {
        RECT place{};
        GetWindowRect(field, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        // The edit's own styles too: ES_NOHIDESEL decides whether the selection hides.
        const auto style = static_cast<DWORD>(GetWindowLongW(field, GWL_STYLE));
        const auto extendedStyle = static_cast<DWORD>(GetWindowLongW(field, GWL_EXSTYLE));
        const auto id = static_cast<INT_PTR>(GetDlgCtrlID(field));
        HWND view =
            CreateWindowExW(extendedStyle, kTextViewClass, L"", style, place.left, place.top,
                            place.right - place.left, place.bottom - place.top, dialog,
                            PointerFrom<HMENU>(id), GetModuleHandleW(nullptr), nullptr);
        if (view == nullptr) {
            continue;  // the platform's edit control stays
        }
        // Right after the field in the z-order, which is the tab order.
        SetWindowPos(view, field, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageW(view, WM_SETFONT, static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0)),
                     FALSE);
        ::DestroyWindow(field);
    }
}

// The platform's edit keeps about 32,000 characters and cuts a longer paste,
// which would then be read as another number; the whole text is read instead.
void LiftTextLimits(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, static_cast<int>(std::size(className)));
        if (lstrcmpiW(className, L"Edit") == 0) {
            SendMessageW(child, EM_SETLIMITTEXT, 0, 0);  // 0: as much as the platform allows
        }
    }
}

bool IsRoutedMessage(UINT message) {
    switch (message) {
        case WM_COMMAND:
        case WM_SYSCOMMAND:
        case WM_PAINT:
        case WM_ICONERASEBKGND:
            return true;
        default:
            return false;
    }
}

// Over the owner's window, or in the middle of the work area without one.
void CenterOverOwner(HWND dialog) {
    RECT area{};
    if (HWND owner = GetWindow(dialog, GW_OWNER); owner != nullptr && !IsIconic(owner)) {
        GetWindowRect(owner, &area);
    } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
        area = monitor.rcWork;
    }
    RECT own{};
    GetWindowRect(dialog, &own);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    SetWindowPos(dialog, nullptr, std::max(area.left, (area.left + area.right - width) / 2),
                 std::max(area.top, (area.top + area.bottom - height) / 2), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A dialog with a sizing frame: its controls' places at the form's size and
// how they follow the frame, the form's client size and the smallest window.
struct FrameFollowing {
    std::vector<HWND> controls;
    std::vector<ControlBox> boxes;
    std::vector<Following> following;
    SIZE formClient{};
    POINT smallest{};
};
std::map<HWND, FrameFollowing> framed;

bool GrowsWithTheFrame(HWND control) {
    wchar_t className[32] = {};
    GetClassNameW(control, className, static_cast<int>(std::size(className)));
    const bool edit =
        lstrcmpiW(className, L"Edit") == 0 || lstrcmpiW(className, kTextViewClass) == 0;
    return edit && (GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE) != 0;
}

// Records where the controls stand and fits the dialog into the work area.
void FollowTheFrame(HWND dialog) {
    FrameFollowing record;
    std::vector<bool> growing;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        record.controls.push_back(child);
        record.boxes.push_back(
            {place.left, place.top, place.right - place.left, place.bottom - place.top});
        growing.push_back(GrowsWithTheFrame(child));
    }
    record.following = FollowingOf(record.boxes, growing);
    RECT client{};
    GetClientRect(dialog, &client);
    record.formClient = {client.right, client.bottom};
    RECT window{};
    GetWindowRect(dialog, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    record.smallest = {
        std::min(window.right - window.left, monitor.rcWork.right - monitor.rcWork.left),
        std::min(window.bottom - window.top, monitor.rcWork.bottom - monitor.rcWork.top)};
    framed[dialog] = std::move(record);
    const FrameFollowing& now = framed[dialog];
    if (now.smallest.x < window.right - window.left ||
        now.smallest.y < window.bottom - window.top) {
        SetWindowPos(dialog, nullptr, monitor.rcWork.left, monitor.rcWork.top, now.smallest.x,
                     now.smallest.y, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void PlaceControls(HWND dialog, int clientWidth, int clientHeight) {
    const auto found = framed.find(dialog);
    if (found == framed.end()) {
        return;
    }
    const FrameFollowing& record = found->second;
    const int growX = clientWidth - record.formClient.cx;
    const int growY = clientHeight - record.formClient.cy;
    HDWP moves = BeginDeferWindowPos(static_cast<int>(record.controls.size()));
    for (std::size_t index = 0; index < record.controls.size() && moves != nullptr; ++index) {
        if (record.following[index] == Following::Stays) {
            continue;
        }
        const ControlBox box = Place(record.boxes[index], record.following[index], growX, growY);
        moves = DeferWindowPos(moves, record.controls[index], nullptr, box.x, box.y, box.width,
                               box.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves != nullptr) {
        EndDeferWindowPos(moves);
    }
    InvalidateRect(dialog, nullptr, TRUE);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETMINMAXINFO) {
        if (const auto found = framed.find(dialog); found != framed.end()) {
            PointerFrom<MINMAXINFO*>(lParam)->ptMinTrackSize = found->second.smallest;
        }
        return FALSE;
    }
    if (message == WM_SIZE && wParam != SIZE_MINIMIZED) {
        PlaceControls(dialog, LOWORD(lParam), HIWORD(lParam));
    }
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        ReplaceResultsFields(dialog);
        LiftTextLimits(dialog);
        if ((GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME) != 0) {
            FollowTheFrame(dialog);
        }
        RECT before{};
        GetWindowRect(dialog, &before);
        auto* events = PointerFrom<DialogEvents*>(lParam);
        const bool focusFirst = events->Initialize(dialog);
        RECT after{};
        if (GetWindowRect(dialog, &after) && EqualRect(&before, &after)) {
            CenterOverOwner(dialog);  // unless the dialog placed itself
        }
        return focusFirst ? TRUE : FALSE;
    }
    if (message == WM_NCDESTROY) {
        framed.erase(dialog);
    }
    DialogEvents* events = EventsOf(dialog);
    if (events == nullptr) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        events->Destroyed();
        return FALSE;
    }
    if (message == WM_QUERYDRAGICON) {
        return events->Message(message, wParam, lParam);  // the icon itself is the answer
    }
    if (!IsRoutedMessage(message)) {
        return FALSE;
    }
    // The handlers may end or destroy the dialog: nothing of `events` after this.
    const std::intptr_t result = events->Message(message, wParam, lParam);
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

bool IsRadioButton(HWND control) {
    return (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

// Calls `visit(button, index)` for each radio button of the group that starts
// with control `firstId`, up to the next control that opens a group.
template <typename Visit>
void ForEachRadioButton(HWND dialog, int firstId, Visit visit) {
    HWND first = GetDlgItem(dialog, firstId);
    int index = 0;
    for (HWND control = first; control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        if (control != first && (GetWindowLongW(control, GWL_STYLE) & WS_GROUP) != 0) {
            break;
        }
        if (IsRadioButton(control)) {
            if (!visit(control, index)) {
                return;
            }
            ++index;
        }
    }
}

}  // namespace

// --- Dialogs

std::intptr_t RunDialog(int templateId, Handle parent, DialogEvents& events) {
    RegisterTextView();
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId),
                           AsWindow(parent), &DialogProcedure, reinterpret_cast<LPARAM>(&events));
}

void EndDialog(Handle dialog, int result) {
    ::EndDialog(AsWindow(dialog), result);
}

void DetachEvents(Handle dialog) {
    SetWindowLongPtrW(AsWindow(dialog), DWLP_USER, 0);
}

std::optional<SharedText> ControlText(Handle dialog, int id) {
    HWND control = GetDlgItem(AsWindow(dialog), id);
    if (control == nullptr) {
        return std::nullopt;
    }
    if (const TextView* view = TextView::Of(control)) {
        return view->Text();
    }
    std::wstring wide(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    wide.resize(static_cast<std::size_t>(
        GetWindowTextW(control, wide.data(), static_cast<int>(wide.size()))));
    std::optional<std::string> text = FromWide(wide);
    if (!text) {
        return std::nullopt;
    }
    return std::make_shared<const std::string>(std::move(*text));
}

void SetControlText(Handle dialog, int id, const SharedText& text) {
    HWND control = GetDlgItem(AsWindow(dialog), id);
    if (control == nullptr) {
        return;
    }
    if (TextView* view = TextView::Of(control)) {
        view->SetText(text);
        return;
    }
    SetWindowTextW(control, ToWide(text != nullptr ? *text : std::string()).c_str());
}

int CheckedRadioIndex(Handle dialog, int firstId) {
    int checked = -1;
    ForEachRadioButton(AsWindow(dialog), firstId, [&](HWND button, int index) {
        if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            checked = index;
            return false;
        }
        return true;
    });
    return checked;
}

void CheckRadio(Handle dialog, int firstId, int index) {
    ForEachRadioButton(AsWindow(dialog), firstId, [&](HWND button, int position) {
        SendMessageW(button, BM_SETCHECK, position == index ? BST_CHECKED : BST_UNCHECKED, 0);
        return true;
    });
}

void FocusControl(Handle dialog, int id) {
    if (HWND control = GetDlgItem(AsWindow(dialog), id); control != nullptr) {
        // The dialog manager's own way: focus, and an edit's text selected.
        SendMessageW(AsWindow(dialog), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }
}

bool IsMinimized(Handle window) {
    return IsIconic(AsWindow(window)) != FALSE;
}

std::pair<int, int> ClientSize(Handle window) {
    RECT client{};
    GetClientRect(AsWindow(window), &client);
    return {client.right - client.left, client.bottom - client.top};
}

void SetWindowIcons(Handle window, Handle bigIcon, Handle smallIcon) {
    SendMessageW(AsWindow(window), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageW(AsWindow(window), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

std::optional<std::vector<MenuItem>> RevertSystemMenu(Handle window) {
    GetSystemMenu(AsWindow(window), TRUE);
    HMENU menu = GetSystemMenu(AsWindow(window), FALSE);
    if (menu == nullptr) {
        return std::nullopt;
    }
    std::vector<MenuItem> entries;
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        wchar_t text[256] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = static_cast<UINT>(std::size(text) - 1);
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item)) {
            continue;
        }
        const bool separator = (item.fType & MFT_SEPARATOR) != 0;
        entries.push_back({separator ? UINT{MF_SEPARATOR} : UINT{MF_STRING}, item.wID,
                           separator ? std::string() : FromWide(text).value_or(std::string())});
    }
    return entries;
}

void AppendSystemMenu(Handle window, const MenuItem& item) {
    if (HMENU menu = GetSystemMenu(AsWindow(window), FALSE); menu != nullptr) {
        const std::wstring text = ToWide(item.text);
        AppendMenuW(menu, item.flags, item.id,
                    (item.flags & MF_SEPARATOR) != 0 ? nullptr : text.c_str());
    }
}

void SystemCommand(Handle window, std::uintptr_t command, std::intptr_t position) {
    // The window procedure's default, not the dialog's: that would come back here.
    DefWindowProcW(AsWindow(window), WM_SYSCOMMAND, command, position);
}

// --- Painting

struct Painting {
    HWND window = nullptr;
    PAINTSTRUCT paint{};
    HDC device = nullptr;
};

void PaintingEnd::operator()(Painting* painting) const {
    if (painting->device != nullptr) {
        EndPaint(painting->window, &painting->paint);
    }
    delete painting;
}

std::unique_ptr<Painting, PaintingEnd> BeginPaint(Handle window) {
    std::unique_ptr<Painting, PaintingEnd> painting(new Painting{AsWindow(window), {}, nullptr});
    painting->device = ::BeginPaint(painting->window, &painting->paint);
    return painting;
}

Handle DeviceOf(const Painting& painting) {
    return painting.device;
}

bool DrawIcon(Handle device, int x, int y, Handle icon) {
    return ::DrawIcon(static_cast<HDC>(device), x, y, static_cast<HICON>(icon)) != FALSE;
}

bool EraseIconBackground(Handle window, Handle device) {
    RECT client{};
    GetClientRect(AsWindow(window), &client);
    return FillRect(static_cast<HDC>(device), &client, GetSysColorBrush(COLOR_3DFACE)) != 0;
}

void PaintDefault(Handle window) {
    DefWindowProcW(AsWindow(window), WM_PAINT, 0, 0);
}

// --- Resources, metrics, the message box

std::optional<IconHandles> LoadIconResource(int id) {
    const auto load = [id](int widthMetric, int heightMetric) {
        return LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON,
                          GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                          LR_DEFAULTCOLOR | LR_SHARED);
    };
    IconHandles icons{load(SM_CXICON, SM_CYICON), load(SM_CXSMICON, SM_CYSMICON)};
    if (icons.big == nullptr) {
        return std::nullopt;
    }
    return icons;
}

int SystemMetric(int index) {
    return GetSystemMetrics(index);
}

bool InitCommonControls(std::uint32_t classes) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), classes};
    return InitCommonControlsEx(&controls) != FALSE;
}

void ShowMessageBox(std::string_view caption, std::string_view text) {
    HWND owner = GetActiveWindow();
    MessageBoxW(owner, ToWide(text).c_str(), ToWide(caption).c_str(),
                MB_OK | MB_ICONEXCLAMATION | (owner == nullptr ? MB_TASKMODAL : 0U));
}

}  // namespace framework::win32
