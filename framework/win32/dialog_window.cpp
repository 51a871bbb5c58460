// Dialogs on Win32: made from the program's linked templates and run by the
// platform's own dialog manager, whose procedure hands the routed messages to
// the dialog object.
#include "framework/win32/window_objects.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/dialog_manager/dialog_sizing.h"
#include "framework/win32/message_parameters.h"
#include "framework/win32/text_view.h"

namespace framework {

// A dialog with a sizing frame: its controls' places at the form's size and
// how they follow the frame, the form's client size and the smallest window.
struct FrameFollowing {
    std::vector<HWND> controls;
    std::vector<ControlBox> boxes;
    std::vector<Following> following;
    SIZE formClient{};
    POINT smallest{};
};

namespace {

// Whether `control` is of the window class `name` (case as the platform
// compares class names: not at all).
bool IsOfClass(HWND control, const wchar_t* name) {
    wchar_t className[32] = {};
    GetClassNameW(control, className, static_cast<int>(std::size(className)));
    return lstrcmpiW(className, name) == 0;
}

bool IsEdit(HWND control) {
    return IsOfClass(control, L"Edit");
}

bool IsResultsField(HWND control) {
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    return IsEdit(control) && (style & ES_MULTILINE) != 0 && (style & ES_READONLY) != 0;
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
            CreateWindowExW(extendedStyle, win32::kTextViewClass, L"", style, place.left, place.top,
                            place.right - place.left, place.bottom - place.top, dialog,
                            win32::PointerFrom<HMENU>(id), GetModuleHandleW(nullptr), nullptr);
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
        if (IsEdit(child)) {
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

// The work area of the monitor that shows most of the window.
RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor.rcWork;
}

// Over the owner's window, or in the middle of the work area without one.
void CenterOverOwner(HWND dialog) {
    RECT area{};
    if (HWND owner = GetWindow(dialog, GW_OWNER); owner != nullptr && !IsIconic(owner)) {
        GetWindowRect(owner, &area);
    } else {
        area = WorkAreaOf(dialog);
    }
    RECT own{};
    GetWindowRect(dialog, &own);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    SetWindowPos(dialog, nullptr, std::max(area.left, (area.left + area.right - width) / 2),
                 std::max(area.top, (area.top + area.bottom - height) / 2), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool GrowsWithTheFrame(HWND control) {
    const bool edit = IsEdit(control) || IsOfClass(control, win32::kTextViewClass);
    return edit && (GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE) != 0;
}

// Where the controls stand at the form's size, and the smallest window: the
// form's, or the work area where that is smaller.
FrameFollowing FrameOf(HWND dialog) {
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
    const RECT work = WorkAreaOf(dialog);
    record.smallest = {std::min(window.right - window.left, work.right - work.left),
                       std::min(window.bottom - window.top, work.bottom - work.top)};
    return record;
}

// A dialog larger than the work area is fitted into it.
void FitIntoWorkArea(HWND dialog, POINT smallest) {
    RECT window{};
    GetWindowRect(dialog, &window);
    if (smallest.x < window.right - window.left || smallest.y < window.bottom - window.top) {
        const RECT work = WorkAreaOf(dialog);
        SetWindowPos(dialog, nullptr, work.left, work.top, smallest.x, smallest.y,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void PlaceControls(HWND dialog, const FrameFollowing& record, int clientWidth, int clientHeight) {
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

}  // namespace

std::intptr_t DialogWindow::Run(CDialog& dialog, int templateId, HWND parent) {
    win32::RegisterTextView();
    platform::DialogWindowPointer pending;
    pending.reset(new DialogWindow(dialog, pending));
    // Once the window exists the dialog owns it and may destroy it during the
    // run, which then ends with -1. Nothing here touches either after.
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent,
                           &Procedure, reinterpret_cast<LPARAM>(pending.get()));
}

DialogWindow::DialogWindow(CDialog& owner, platform::DialogWindowPointer& pending)
    : owner_(owner), pending_(&pending) {}

DialogWindow::~DialogWindow() {
    if (window_ != nullptr) {
        // Destroyed during its run: no further message reaches this, and the
        // dialog manager destroys the window itself once the run has ended.
        SetWindowLongPtrW(window_, DWLP_USER, 0);
        ::EndDialog(window_, -1);
    }
}

BOOL DialogWindow::Initialize(HWND window) {
    window_ = window;
    const std::weak_ptr<const bool> alive = alive_;
    AttachDialogWindow(owner_, std::move(*pending_));  // the dialog owns this from now on
    pending_ = nullptr;
    const bool focusFirst = InitializeDialog(owner_);
    return !alive.expired() && focusFirst ? TRUE : FALSE;
}

// May run while the dialog destroys this window: touches no member after
// handing the message on.
std::intptr_t DialogWindow::Message(UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog& owner = owner_;
    switch (message) {
        case WM_ICONERASEBKGND: {
            // The platform's device becomes a paint context for the handlers.
            PaintContext context(window_, win32::PointerFrom<HDC>(wParam));
            return DialogMessage(owner, message, reinterpret_cast<WPARAM>(&context), lParam);
        }
        case WM_QUERYDRAGICON: {
            const auto* icon =
                win32::PointerFrom<const IconData*>(DialogMessage(owner, message, wParam, lParam));
            return reinterpret_cast<std::intptr_t>(icon != nullptr ? icon->large : nullptr);
        }
        default:
            return DialogMessage(owner, message, wParam, lParam);
    }
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* window = win32::PointerFrom<DialogWindow*>(lParam);
        ReplaceResultsFields(dialog);
        LiftTextLimits(dialog);
        if ((GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME) != 0) {
            window->frame_ = std::make_unique<FrameFollowing>(FrameOf(dialog));
            FitIntoWorkArea(dialog, window->frame_->smallest);
        }
        RECT before{};
        GetWindowRect(dialog, &before);
        const BOOL focusFirst = window->Initialize(dialog);
        RECT after{};
        if (GetWindowRect(dialog, &after) && EqualRect(&before, &after)) {
            CenterOverOwner(dialog);  // unless the dialog placed itself
        }
        return focusFirst;
    }
    auto* window = win32::PointerFrom<DialogWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (window == nullptr) {
        return FALSE;
    }
    switch (message) {
        case WM_NCDESTROY:
            SetWindowLongPtrW(dialog, DWLP_USER, 0);
            window->window_ = nullptr;  // no message follows
            return FALSE;
        case WM_GETMINMAXINFO:
            if (window->frame_ != nullptr) {
                win32::PointerFrom<MINMAXINFO*>(lParam)->ptMinTrackSize = window->frame_->smallest;
            }
            return FALSE;
        case WM_SIZE:
            if (window->frame_ != nullptr && wParam != SIZE_MINIMIZED) {
                PlaceControls(dialog, *window->frame_, LOWORD(lParam), HIWORD(lParam));
            }
            return FALSE;
        case WM_QUERYDRAGICON:
            return window->Message(message, wParam, lParam);  // the icon itself is the answer
        default:
            break;
    }
    if (!IsRoutedMessage(message)) {
        return FALSE;
    }
    // The handlers may end or destroy the dialog: nothing of `window` after this.
    const std::intptr_t result = window->Message(message, wParam, lParam);
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

namespace platform {

void DialogWindowDeleter::operator()(DialogWindow* window) const {
    delete window;
}

std::intptr_t RunModalDialog(CDialog& dialog, int templateId, const DialogTemplate&,
                             DialogWindow* parent) {
    return DialogWindow::Run(dialog, templateId, parent != nullptr ? parent->Window() : nullptr);
}

// Not const: ending the run ends the window.
// cppcheck-suppress constParameter
void EndModal(DialogWindow& window, int result) {
    if (window.Window() != nullptr) {
        ::EndDialog(window.Window(), result);
    }
}

}  // namespace platform
}  // namespace framework
