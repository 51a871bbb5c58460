#include "framework/wnd.h"

#include <QApplication>
#include <QPaintEvent>
#include <QWindow>

#include "framework/qt/dialog_window.h"
#include "framework/qt/icon_data.h"
#include "framework/qt/paint_context.h"

namespace framework {

PaintContext::PaintContext(QWidget* widget, bool painting) : widget_(widget) {
    if (painting && widget != nullptr) {
        painter_.emplace(widget);
    }
}

QIcon IconData::ToIcon() const {
    QIcon icon;
    for (const QImage& image : images) {
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QImage IconData::ImageOfSize(int pixels) const {
    // The exact size if there is one, else the smallest larger one. Among equal
    // sizes the last wins: icons list their images with the most colours last.
    const QImage* best = nullptr;
    for (const QImage& image : images) {
        if (best == nullptr) {
            best = &image;
            continue;
        }
        const bool fits = image.width() >= pixels;
        const bool bestFits = best->width() >= pixels;
        if ((fits && !bestFits) || (fits && image.width() <= best->width()) ||
            (!fits && !bestFits && image.width() >= best->width())) {
            best = &image;
        }
    }
    if (best == nullptr) {
        return {};
    }
    return best->width() == pixels
               ? *best
               : best->scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace framework

// --- CMenu

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, std::string_view text) {
    items_.push_back({flags, id, std::string(text)});
    return TRUE;
}

// --- CDC, CPaintDC

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
    if (icon == nullptr || context_ == nullptr || !context_->IsActive()) {
        return FALSE;
    }
    const QImage image = icon->ImageOfSize(GetSystemMetrics(SM_CXICON));
    context_->Painter()->drawImage(x, y, image);
    return TRUE;
}

CPaintDC::CPaintDC(CWnd* window)
    : paint_(std::make_unique<framework::PaintContext>(
          window != nullptr ? window->Widget() : nullptr,
          window != nullptr && window->Window() != nullptr &&
              window->Window()->ActivePaintEvent() != nullptr)) {
    SetContext(paint_.get());
}

CPaintDC::~CPaintDC() = default;

// --- CWnd

constinit const framework::MessageMap CWnd::messageMap{&CCmdTarget::messageMap, {}};

CWnd::CWnd() = default;

CWnd::~CWnd() {
    DestroyWindow();
}

framework::DialogWindow* CWnd::Window() const {
    return window_.get();
}
QWidget* CWnd::Widget() const {
    return window_.get();
}

// Also called when Qt deletes the window with its parent.
void CWnd::ForgetWindow() {
    static_cast<void>(window_.release());
}

void CWnd::AttachWindow(std::unique_ptr<framework::DialogWindow> window) {
    window_ = std::move(window);
    ResetSystemMenu();
    if (window_ != nullptr && bigIcon_ != nullptr) {
        window_->setWindowIcon(bigIcon_->ToIcon());
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

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_SYSCOMMAND: {
            if (window_ == nullptr) {
                return 0;
            }
            QWindow* handle = window_->windowHandle();
            switch (static_cast<UINT>(wParam) & 0xFFF0) {
                case SC_CLOSE:
                    SendMessage(WM_CLOSE, 0, 0);
                    break;
                case SC_MOVE:
                    if (handle != nullptr) {
                        handle->startSystemMove();
                    }
                    break;
                case SC_SIZE:
                    if (handle != nullptr) {
                        handle->startSystemResize(Qt::BottomEdge | Qt::RightEdge);
                    }
                    break;
                case SC_MINIMIZE:
                    window_->showMinimized();
                    break;
                case SC_MAXIMIZE:
                    window_->showMaximized();
                    break;
                case SC_RESTORE:
                    window_->showNormal();
                    break;
                default:
                    break;
            }
            return 0;
        }
        case WM_CLOSE:
            // A dialog turns closing into its cancel command.
            SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return 0;
        case WM_PAINT:
            if (window_ != nullptr && window_->ActivePaintEvent() != nullptr) {
                window_->PaintBackground(window_->ActivePaintEvent());
            }
            return 0;
        case WM_ICONERASEBKGND: {
            // The paint context travels in the message's first parameter.
            auto* context = reinterpret_cast<HDC>(wParam);  // NOLINT(performance-no-int-to-ptr)
            if (context != nullptr && context->IsActive() && context->Widget() != nullptr) {
                context->Painter()->fillRect(context->Widget()->rect(),
                                             context->Widget()->palette().window());
                return 1;
            }
            return 0;
        }
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(bigIcon_);
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
    if (window_ == nullptr || (window_->Form().style & WS_SYSMENU) == 0) {
        return;
    }
    systemMenu_ = std::make_unique<CMenu>();
    systemMenu_->AppendMenu(MF_STRING, SC_MOVE, "&Verschieben");
    if ((window_->Form().style & WS_THICKFRAME) != 0) {
        systemMenu_->AppendMenu(MF_STRING, SC_SIZE,
                                "&Gr\xF6\xDF"
                                "e \xE4ndern");
    }
    systemMenu_->AppendMenu(MF_SEPARATOR);
    systemMenu_->AppendMenu(MF_STRING, SC_CLOSE,
                            "&Schlie\xDF"
                            "en\tAlt+F4");
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
        window_->setWindowIcon(icon->ToIcon());  // one icon holds every size
    }
    return previous;
}

BOOL CWnd::IsIconic() const {
    return window_ != nullptr && window_->isMinimized();
}

void CWnd::GetClientRect(LPRECT rect) const {
    if (rect == nullptr) {
        return;
    }
    *rect = RECT{};
    if (window_ != nullptr) {
        rect->right = window_->width();
        rect->bottom = window_->height();
    }
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXICON:
        case SM_CYICON:
            return 32;
        default:
            return 0;
    }
}
