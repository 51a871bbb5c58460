// The framework's window-system seam on Win32: the controls, the window, its
// painting and the program's resources, straight on the platform's calls.
// Dialogs and their runs are in dialog_window.cpp.
#include "framework/win32/window_objects.h"
// after <windows.h>, which it needs
#include <commctrl.h>

#include <iterator>
#include <map>
#include <string>
#include <utility>

#include "framework/win32/text_view.h"
#include "framework/win32/text_view_accessible.h"
#include "framework/win32/wide_text.h"

namespace framework {
namespace {

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

// The control `id` of the window, null without a window or such a control.
HWND ControlOf(const DialogWindow& window, int id) {
    return window.Window() != nullptr ? GetDlgItem(window.Window(), id) : nullptr;
}

}  // namespace

PaintContext::PaintContext(HWND window) : window_(window) {
    if (window_ != nullptr) {
        device_ = ::BeginPaint(window_, &paint_);
        painting_ = device_ != nullptr;
    }
}

PaintContext::~PaintContext() {
    if (painting_) {
        ::EndPaint(window_, &paint_);
    }
}

namespace platform {

// --- The process

int RunWithToolkit(const char*, int (*body)()) {
    return body();  // the dialog manager needs no start-up
}

int RunMessageLoop() {
    return 0;  // the program's dialogs run their own loops; nothing is left to run
}

// --- Controls

std::optional<SharedText> ControlText(const DialogWindow& window, int id) {
    HWND control = ControlOf(window, id);
    if (control == nullptr) {
        return std::nullopt;
    }
    if (const win32::TextView* view = win32::TextView::Of(control)) {
        return view->Text();
    }
    std::wstring wide(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    wide.resize(static_cast<std::size_t>(
        GetWindowTextW(control, wide.data(), static_cast<int>(wide.size()))));
    std::optional<std::string> text = win32::FromWide(wide);
    if (!text) {
        return std::nullopt;
    }
    return std::make_shared<const std::string>(std::move(*text));
}

void SetControlText(DialogWindow& window, int id, const SharedText& text) {
    HWND control = ControlOf(window, id);
    if (control == nullptr) {
        return;
    }
    if (win32::TextView* view = win32::TextView::Of(control)) {
        view->SetText(text);
        return;
    }
    SetWindowTextW(control, win32::ToWide(text != nullptr ? *text : std::string()).c_str());
}

int CheckedRadioIndex(const DialogWindow& window, int firstId) {
    int checked = -1;
    if (window.Window() != nullptr) {
        ForEachRadioButton(window.Window(), firstId, [&](HWND button, int index) {
            if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                checked = index;
                return false;
            }
            return true;
        });
    }
    return checked;
}

void CheckRadio(DialogWindow& window, int firstId, int index) {
    if (window.Window() != nullptr) {
        ForEachRadioButton(window.Window(), firstId, [&](HWND button, int position) {
            SendMessageW(button, BM_SETCHECK, position == index ? BST_CHECKED : BST_UNCHECKED, 0);
            return true;
        });
    }
}

void FocusControl(DialogWindow& window, int id) {
    if (HWND control = ControlOf(window, id); control != nullptr) {
        // The dialog manager's own way: focus, and an edit's text selected.
        SendMessageW(window.Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }
}

void Announce(DialogWindow& window, std::string_view text) {
    if (window.Window() != nullptr) {
        win32::Announce(window.Window(), text);
    }
}

// --- The window

bool IsMinimized(const DialogWindow& window) {
    return window.Window() != nullptr && IsIconic(window.Window()) != FALSE;
}

std::pair<int, int> ClientSize(const DialogWindow& window) {
    RECT client{};
    if (window.Window() != nullptr) {
        GetClientRect(window.Window(), &client);
    }
    return {client.right - client.left, client.bottom - client.top};
}

void SetWindowIcon(DialogWindow& window, const IconData* icon) {
    if (window.Window() != nullptr && icon != nullptr) {
        SendMessageW(window.Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon->large));
        SendMessageW(window.Window(), WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(icon->little));
    }
}

std::optional<std::vector<MenuItem>> DefaultSystemMenu(DialogWindow& window) {
    if (window.Window() == nullptr) {
        return std::nullopt;
    }
    GetSystemMenu(window.Window(), TRUE);
    HMENU menu = GetSystemMenu(window.Window(), FALSE);
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
        entries.push_back(
            {separator ? UINT{MF_SEPARATOR} : UINT{MF_STRING}, item.wID,
             separator ? std::string() : win32::FromWide(text).value_or(std::string())});
    }
    return entries;
}

void SystemMenuAppended(DialogWindow& window, const MenuItem& item) {
    HMENU menu = window.Window() != nullptr ? GetSystemMenu(window.Window(), FALSE) : nullptr;
    if (menu != nullptr) {
        const std::wstring text = win32::ToWide(item.text);
        AppendMenuW(menu, item.flags, item.id,
                    (item.flags & MF_SEPARATOR) != 0 ? nullptr : text.c_str());
    }
}

void SystemCommand(DialogWindow& window, std::uintptr_t command, std::intptr_t position) {
    if (window.Window() != nullptr) {
        // The window procedure's default, not the dialog's: that would come back here.
        DefWindowProcW(window.Window(), WM_SYSCOMMAND, command, position);
    }
}

// --- Painting

void PaintContextDeleter::operator()(PaintContext* context) const {
    delete context;
}

PaintContextPointer BeginPaint(DialogWindow* window) {
    return PaintContextPointer(new PaintContext(window != nullptr ? window->Window() : nullptr));
}

bool DrawIcon(PaintContext& context, int x, int y, const IconData* icon) {
    return context.Device() != nullptr && icon != nullptr &&
           ::DrawIcon(context.Device(), x, y, icon->large) != FALSE;
}

bool EraseIconBackground(PaintContext& context) {
    if (context.Device() == nullptr) {
        return false;
    }
    RECT client{};
    GetClientRect(context.Window(), &client);
    return FillRect(context.Device(), &client, GetSysColorBrush(COLOR_3DFACE)) != 0;
}

void PaintDefault(DialogWindow& window) {
    if (window.Window() != nullptr) {
        DefWindowProcW(window.Window(), WM_PAINT, 0, 0);
    }
}

// --- Resources, metrics and the message box

bool InitCommonControls(std::uint32_t classes) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), classes};
    return InitCommonControlsEx(&controls) != FALSE;
}

const IconData* LoadIcon(int id) {
    // Loaded once and kept for the life of the process, as the platform's icons are.
    static std::map<int, IconData> loaded;
    if (const auto found = loaded.find(id); found != loaded.end()) {
        return &found->second;
    }
    const auto load = [id](int widthMetric, int heightMetric) {
        return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                             IMAGE_ICON, GetSystemMetrics(widthMetric),
                                             GetSystemMetrics(heightMetric),
                                             LR_DEFAULTCOLOR | LR_SHARED));
    };
    const IconData icon{load(SM_CXICON, SM_CYICON), load(SM_CXSMICON, SM_CYSMICON)};
    if (icon.large == nullptr) {
        return nullptr;
    }
    return &loaded.emplace(id, icon).first->second;
}

int SystemMetric(int index) {
    return GetSystemMetrics(index);
}

void ShowMessageBox(std::string_view caption, std::string_view text) {
    HWND owner = GetActiveWindow();
    MessageBoxW(owner, win32::ToWide(text).c_str(), win32::ToWide(caption).c_str(),
                MB_OK | MB_ICONEXCLAMATION | (owner == nullptr ? MB_TASKMODAL : 0U));
}

}  // namespace platform
}  // namespace framework
