// The framework's window-system seam on Win32, the framework's side: it sees
// the framework's types and reaches the platform through native.h only.
#include <map>

#include "framework/dialog.h"
#include "framework/platform.h"
#include "framework/win32/native.h"

namespace framework {

using win32::Handle;

struct IconData {
    win32::IconHandles handles;
};

class PaintContext {
public:
    // A context BeginPaint made for the window.
    PaintContext(Handle window, std::unique_ptr<win32::Painting, win32::PaintingEnd> painting)
        : window_(window), device_(win32::DeviceOf(*painting)), painting_(std::move(painting)) {}
    // A device the platform handed over with a message.
    PaintContext(Handle window, Handle device) : window_(window), device_(device) {}

    Handle Window() const { return window_; }
    Handle Device() const { return device_; }

private:
    Handle window_;
    Handle device_;
    std::unique_ptr<win32::Painting, win32::PaintingEnd> painting_;
};

// A dialog on screen: the platform's dialog manager made it from the linked
// template; this passes its messages to the dialog object's message maps.
class DialogWindow final : public win32::DialogEvents {
public:
    DialogWindow(CDialog& owner, platform::DialogWindowPointer& pending)
        : owner_(owner), pending_(&pending) {}
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // The window during the run; null before and after it.
    Handle Window() const { return window_; }

    bool Initialize(Handle window) override {
        window_ = window;
        const std::weak_ptr<const bool> alive = alive_;
        owner_.AttachWindow(std::move(*pending_));  // the dialog owns its window from now on
        pending_ = nullptr;
        const BOOL focusFirst = owner_.OnInitDialog();
        return !alive.expired() && focusFirst != FALSE;
    }

    // May run while the dialog destroys this window: touches no member after
    // handing the message on.
    std::intptr_t Message(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        CDialog& owner = owner_;
        switch (message) {
            case WM_ICONERASEBKGND: {
                // The platform's device becomes a paint context for the handlers.
                PaintContext context(window_, win32::PointerFrom<win32::Handle>(wParam));
                return owner.SendMessage(message, reinterpret_cast<WPARAM>(&context), lParam);
            }
            case WM_QUERYDRAGICON: {
                const auto* icon =
                    win32::PointerFrom<HICON>(owner.SendMessage(message, wParam, lParam));
                return reinterpret_cast<std::intptr_t>(icon != nullptr ? icon->handles.big
                                                                       : nullptr);
            }
            default:
                return owner.SendMessage(message, wParam, lParam);
        }
    }

    void Destroyed() override { window_ = nullptr; }

private:
    CDialog& owner_;
    platform::DialogWindowPointer* pending_;  // owns this until the window exists
    Handle window_ = nullptr;
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

namespace platform {

// --- The process

int RunWithToolkit(const char*, int (*body)()) {
    return body();  // the dialog manager needs no start-up
}

int RunMessageLoop() {
    return 0;  // the program's dialogs run their own loops; nothing is left to run
}

// --- Dialogs

void DialogWindowDeleter::operator()(DialogWindow* window) const {
    if (Handle handle = window->Window(); handle != nullptr) {
        // Destroyed during its run: the dialog manager destroys the window
        // itself once the run has ended.
        win32::DetachEvents(handle);
        win32::EndDialog(handle, -1);
    }
    delete window;
}

std::intptr_t RunModalDialog(CDialog& dialog, int templateId, const DialogTemplate&,
                             DialogWindow* parent) {
    DialogWindowPointer pending;
    pending.reset(new DialogWindow(dialog, pending));
    // Once the window exists the dialog owns it and may destroy it during the
    // run; the deleter then ends the run with -1. Nothing here touches either after.
    return win32::RunDialog(templateId, parent != nullptr ? parent->Window() : nullptr, *pending);
}

void EndModal(DialogWindow& window, int result) {
    if (window.Window() != nullptr) {
        win32::EndDialog(window.Window(), result);
    }
}

std::optional<CString> ControlText(const DialogWindow& window, int id) {
    if (window.Window() == nullptr) {
        return std::nullopt;
    }
    std::optional<win32::SharedText> text = win32::ControlText(window.Window(), id);
    if (!text) {
        return std::nullopt;
    }
    return CString(std::move(*text));
}

void SetControlText(DialogWindow& window, int id, const CString& text) {
    if (window.Window() != nullptr) {
        win32::SetControlText(window.Window(), id, text.SharedBuffer());
    }
}

int CheckedRadioIndex(const DialogWindow& window, int firstId) {
    return window.Window() != nullptr ? win32::CheckedRadioIndex(window.Window(), firstId) : -1;
}

void CheckRadio(DialogWindow& window, int firstId, int index) {
    if (window.Window() != nullptr) {
        win32::CheckRadio(window.Window(), firstId, index);
    }
}

void FocusControl(DialogWindow& window, int id) {
    if (window.Window() != nullptr) {
        win32::FocusControl(window.Window(), id);
    }
}

void Announce(DialogWindow& window, std::string_view text) {
    if (window.Window() != nullptr) {
        win32::Announce(window.Window(), text);
    }
}

bool IsMinimized(const DialogWindow& window) {
    return window.Window() != nullptr && win32::IsMinimized(window.Window());
}

std::pair<int, int> ClientSize(const DialogWindow& window) {
    return window.Window() != nullptr ? win32::ClientSize(window.Window()) : std::pair{0, 0};
}

void SetWindowIcon(DialogWindow& window, HICON icon) {
    if (window.Window() != nullptr && icon != nullptr) {
        win32::SetWindowIcons(window.Window(), icon->handles.big, icon->handles.small);
    }
}

std::optional<std::vector<MenuItem>> DefaultSystemMenu(DialogWindow& window) {
    if (window.Window() == nullptr) {
        return std::nullopt;
    }
    return win32::RevertSystemMenu(window.Window());
}

void SystemMenuAppended(DialogWindow& window, const MenuItem& item) {
    if (window.Window() != nullptr) {
        win32::AppendSystemMenu(window.Window(), item);
    }
}

void SystemCommand(DialogWindow& window, WPARAM command, LPARAM position) {
    if (window.Window() != nullptr) {
        win32::SystemCommand(window.Window(), command, position);
    }
}

// --- Painting

void PaintContextDeleter::operator()(PaintContext* context) const {
    delete context;
}

PaintContextPointer BeginPaint(DialogWindow* window) {
    if (window == nullptr || window->Window() == nullptr) {
        return PaintContextPointer(new PaintContext(nullptr, Handle{}));
    }
    return PaintContextPointer(
        new PaintContext(window->Window(), win32::BeginPaint(window->Window())));
}

bool DrawIcon(PaintContext& context, int x, int y, HICON icon) {
    return context.Device() != nullptr &&
           win32::DrawIcon(context.Device(), x, y, icon->handles.big);
}

bool EraseIconBackground(PaintContext& context) {
    return context.Device() != nullptr &&
           win32::EraseIconBackground(context.Window(), context.Device());
}

void PaintDefault(DialogWindow& window) {
    if (window.Window() != nullptr) {
        win32::PaintDefault(window.Window());
    }
}

// --- Resources, metrics and the message box

bool InitCommonControls(DWORD classes) {
    return win32::InitCommonControls(classes);
}

HICON LoadIcon(int id) {
    // Loaded once and kept for the life of the process, as the platform's icons are.
    static std::map<int, IconData> loaded;
    if (const auto found = loaded.find(id); found != loaded.end()) {
        return &found->second;
    }
    const std::optional<win32::IconHandles> handles = win32::LoadIconResource(id);
    if (!handles) {
        return nullptr;
    }
    return &loaded.emplace(id, IconData{*handles}).first->second;
}

int SystemMetric(int index) {
    return win32::SystemMetric(index);
}

void ShowMessageBox(std::string_view caption, std::string_view text) {
    win32::ShowMessageBox(caption, text);
}

}  // namespace platform
}  // namespace framework
