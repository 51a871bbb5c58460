#include "framework/wnd.h"

#include "framework/platform.h"

// --- CMenu

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, std::string_view text) {
    items_.push_back({flags, id, std::string(text)});
    if (window_ != nullptr) {
        framework::platform::SystemMenuAppended(*window_, items_.back());
    }
    return TRUE;
}

// --- CDC, CPaintDC

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
    if (icon == nullptr || context_ == nullptr) {
        return FALSE;
    }
    return framework::platform::DrawIcon(*context_, x, y, icon) ? TRUE : FALSE;
}

CPaintDC::CPaintDC(CWnd* window)
    : paint_(framework::platform::BeginPaint(window != nullptr ? window->Window() : nullptr)) {
    SetContext(paint_.get());
}

CPaintDC::~CPaintDC() = default;

// --- CWnd

constinit const framework::MessageMap CWnd::messageMap{&CCmdTarget::messageMap, {}};

CWnd::CWnd() = default;

CWnd::~CWnd() {
    DestroyWindow();
}

// When the toolkit deletes the window on its own (WM_NCDESTROY).
void CWnd::ForgetWindow() {
    static_cast<void>(window_.release());
    systemMenu_.reset();
}

void CWnd::AttachWindow(framework::platform::DialogWindowPointer window) {
    window_ = std::move(window);
    ResetSystemMenu();
    if (window_ != nullptr && bigIcon_ != nullptr) {
        framework::platform::SetWindowIcon(*window_, bigIcon_);
    }
}

BOOL CWnd::DestroyWindow() {
    if (window_ == nullptr) {
        return FALSE;
    }
    window_.reset();
    systemMenu_.reset();
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (DispatchToMessageMap(message, wParam, lParam, result)) {
        return result;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                SendMessage(WM_CLOSE, 0, 0);
            } else if (window_ != nullptr) {
                framework::platform::SystemCommand(*window_, wParam, lParam);
            }
            return 0;
        case WM_CLOSE:
            // A dialog turns closing into its cancel command.
            SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return 0;
        case WM_PAINT:
            if (window_ != nullptr) {
                framework::platform::PaintDefault(*window_);
            }
            return 0;
        case WM_ICONERASEBKGND: {
            // The paint context travels in the message's first parameter.
            auto* context = reinterpret_cast<HDC>(wParam);  // NOLINT(performance-no-int-to-ptr)
            return context != nullptr && framework::platform::EraseIconBackground(*context) ? 1 : 0;
        }
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(bigIcon_);
        case WM_NCDESTROY:  // the toolkit deleted the window: it is not ours to delete
            ForgetWindow();
            return 0;
        default:
            return 0;
    }
}

void CWnd::OnSysCommand(UINT nID, LPARAM lParam) {
    DefWindowProc(WM_SYSCOMMAND, nID, lParam);
}
void CWnd::OnPaint() {
    DefWindowProc(WM_PAINT, 0, 0);
}
void CWnd::OnClose() {
    DefWindowProc(WM_CLOSE, 0, 0);
}

void CWnd::ResetSystemMenu() {
    systemMenu_.reset();
    if (window_ == nullptr) {
        return;
    }
    if (auto items = framework::platform::DefaultSystemMenu(*window_)) {
        systemMenu_ = std::make_unique<CMenu>(std::move(*items), window_.get());
    }
}

CMenu* CWnd::GetSystemMenu(BOOL revert) {
    if (revert) {
        ResetSystemMenu();
        return nullptr;
    }
    return systemMenu_.get();
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    HICON& slot = bigIcon ? bigIcon_ : smallIcon_;
    const HICON previous = slot;
    slot = icon;
    if (window_ != nullptr && icon != nullptr) {
        framework::platform::SetWindowIcon(*window_, icon);  // one icon holds every size
    }
    return previous;
}

BOOL CWnd::IsIconic() const {
    return window_ != nullptr && framework::platform::IsMinimized(*window_);
}

void CWnd::Announce(const CString& text) {
    if (window_ != nullptr) {
        framework::platform::Announce(*window_, text.Bytes());
    }
}

void CWnd::GetClientRect(LPRECT rect) const {
    if (rect == nullptr) {
        return;
    }
    *rect = RECT{};
    if (window_ != nullptr) {
        std::tie(rect->right, rect->bottom) = framework::platform::ClientSize(*window_);
    }
}

int GetSystemMetrics(int index) {
    return framework::platform::SystemMetric(index);
}
