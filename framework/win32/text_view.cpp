#include "framework/win32/text_view.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "framework/win32/message_parameters.h"
#include "framework/win32/text_view_accessible.h"
#include "framework/win32/wide_text.h"

namespace framework::win32 {
namespace {

constexpr UINT_PTR kAutoScrollTimer = 1;

constexpr std::array<std::pair<WPARAM, TextKey>, 11> kKeys{{
    {VK_LEFT, TextKey::Left},
    {VK_RIGHT, TextKey::Right},
    {VK_UP, TextKey::Up},
    {VK_DOWN, TextKey::Down},
    {VK_PRIOR, TextKey::PageUp},
    {VK_NEXT, TextKey::PageDown},
    {VK_HOME, TextKey::Home},
    {VK_END, TextKey::End},
    {VK_INSERT, TextKey::Insert},
    {'A', TextKey::A},
    {'C', TextKey::C},
}};

ViewPoint PointOf(LPARAM point) {
    return {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
}

}  // namespace

void RegisterTextView() {
    static const ATOM registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &TextView::Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32513));  // IDC_IBEAM
        windowClass.lpszClassName = kTextViewClass;
        return RegisterClassExW(&windowClass);
    }();
    static_cast<void>(registered);
}

TextView::TextView(HWND window, DWORD style) : window_(window) {
    model_.SetHideSelection((style & ES_NOHIDESEL) == 0);
    model_.AddListener(*this);
}

TextView::~TextView() {
    model_.RemoveListener(*this);
}

TextView* TextView::Of(HWND window) {
    if (window == nullptr ||
        GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Procedure)) {
        return nullptr;
    }
    return PointerFrom<TextView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK TextView::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // Owned by the window: deleted at WM_NCDESTROY.
        const auto* creation = PointerFrom<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(new TextView(window, static_cast<DWORD>(creation->style))));
    }
    TextView* view = Of(window);
    if (view == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete view;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return view->HandleMessage(message, wParam, lParam);
}

void TextView::SetText(const SharedText& text) {
    text_ = text;
    model_.SetText(Bytes());  // the same buffer again: nothing to do
}

void TextView::TextViewChanged(const TextViewChanges& changes) {
    if (changes.text || changes.scroll || changes.appearance) {
        UpdateScrollBars();
    }
    if (GetFocus() == window_) {
        const ViewPoint caret = model_.PointOf(model_.Caret());
        SetCaretPos(caret.x, std::clamp(caret.y, -model_.LineHeight(), 0x7FFF));
    }
    AnnounceChanges(window_, changes);
    InvalidateRect(window_, nullptr, TRUE);
}

void TextView::SetFont(HFONT font) {
    font_ = font;
    HDC device = GetDC(window_);
    HGDIOBJ previous = SelectObject(device, font_ != nullptr ? font_ : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(device, &metrics);
    // Tab stops every 32 dialog units, as in the platform's edit control.
    RECT tab{0, 0, 32, 0};
    const auto tabStop = static_cast<int>(
        MapDialogRect(GetParent(window_), &tab) ? tab.right : 8 * metrics.tmAveCharWidth);
    TextLayout::Advances advances{};
    for (std::size_t byte = 0x20; byte < advances.size(); ++byte) {
        const auto character =
            static_cast<UINT>(text::Windows1252ToUnicode(static_cast<unsigned char>(byte)));
        INT width = 0;
        GetCharWidth32W(device, character, character, &width);
        advances[byte] = width;
    }
    SelectObject(device, previous);
    ReleaseDC(window_, device);
    model_.SetMetrics(advances, tabStop, static_cast<int>(metrics.tmHeight));
}

void TextView::Paint() {
    PAINTSTRUCT paint{};
    HDC device = BeginPaint(window_, &paint);
    HGDIOBJ previousFont =
        SelectObject(device, font_ != nullptr ? font_ : GetStockObject(SYSTEM_FONT));
    // A read-only field asks its dialog for its colours, as the platform's edit does.
    auto* brush = PointerFrom<HBRUSH>(SendMessageW(GetParent(window_), WM_CTLCOLORSTATIC,
                                                   reinterpret_cast<WPARAM>(device),
                                                   reinterpret_cast<LPARAM>(window_)));
    if (brush == nullptr) {
        brush = GetSysColorBrush(COLOR_3DFACE);
        SetTextColor(device, GetSysColor(COLOR_WINDOWTEXT));
    }
    FillRect(device, &paint.rcPaint, brush);
    SetBkMode(device, TRANSPARENT);
    // Draws what the model says on the device: one call a line, each
    // character at the layout's place, a tab as a wide space.
    struct Face {
        const TextView& view;
        HDC device;
        std::vector<INT> advances;
        int saved = 0;

        void Text(std::size_t line, int top) {
            const TextLayout& layout = view.model_.Layout();
            const std::size_t begin = layout.LineStart(line);
            std::wstring text = ToWide(view.Bytes().substr(begin, layout.LineEnd(line) - begin));
            std::replace(text.begin(), text.end(), L'\t', L' ');
            layout.LineAdvances(line, advances);
            ExtTextOutW(device, view.model_.PointOf(begin).x, top, 0, nullptr, text.c_str(),
                        static_cast<UINT>(text.size()), advances.data());
        }
        void Band(int left, int top, int right, int bottom) {
            const RECT band{left, top, right, bottom};
            FillRect(device, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
            saved = SaveDC(device);
            IntersectClipRect(device, left, top, right, bottom);
            SetTextColor(device, GetSysColor(COLOR_HIGHLIGHTTEXT));
        }
        void BandEnd() const { RestoreDC(device, saved); }
    };
    Face face{*this, device, {}};
    model_.Paint(face);
    SelectObject(device, previousFont);
    EndPaint(window_, &paint);
}

void TextView::UpdateScrollBars() {
    RECT client{};
    GetClientRect(window_, &client);
    SCROLLINFO vertical{sizeof(SCROLLINFO),
                        SIF_ALL | SIF_DISABLENOSCROLL,
                        0,
                        static_cast<int>(model_.Layout().LineCount()) - 1,
                        static_cast<UINT>(model_.VisibleLineCount()),
                        static_cast<int>(model_.FirstVisibleLine()),
                        0};
    SetScrollInfo(window_, SB_VERT, &vertical, TRUE);
    SCROLLINFO horizontal{sizeof(SCROLLINFO),
                          SIF_ALL | SIF_DISABLENOSCROLL,
                          0,
                          model_.ContentWidth(),
                          static_cast<UINT>(client.right),
                          model_.ScrollX(),
                          0};
    SetScrollInfo(window_, SB_HORZ, &horizontal, TRUE);
}

// A scroll bar's request: lines are lines vertically and digits across.
void TextView::Scroll(int bar, WPARAM request) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(window_, bar, &info);
    const int step = bar == SB_VERT ? 1 : model_.HorizontalStep();
    const auto page = static_cast<int>(info.nPage);
    // The message carries 16 bits of the thumb's position: while the user
    // drags, the scroll bar's own 32-bit position, of which they are the
    // low half; a program that sends a position gets that one.
    const int position = static_cast<int>(HIWORD(request));
    const int thumb = position == (info.nTrackPos & 0xFFFF) ? info.nTrackPos : position;
    // SB_LINEUP to SB_BOTTOM.
    const std::array<int, 8> targets{
        info.nPos - step, info.nPos + step, info.nPos - page, info.nPos + page, thumb, thumb, 0,
        info.nMax};
    if (LOWORD(request) >= targets.size()) {
        return;
    }
    const int target = std::max(0, targets[LOWORD(request)]);
    if (bar == SB_VERT) {
        model_.ScrollTo(static_cast<std::size_t>(target), model_.ScrollX());
    } else {
        model_.ScrollTo(model_.FirstVisibleLine(), target);
    }
}

void TextView::KeyDown(WPARAM key) {
    const KeyModifiers modifiers{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0};
    if (model_.PressKey(KeyIn(kKeys, key), modifiers) == KeyResult::Copy) {
        Copy();
    }
}

// Auto-scroll runs while a drag is held outside the view.
void TextView::FollowDrag() {
    if (model_.NeedsAutoScroll()) {
        SetTimer(window_, kAutoScrollTimer, kAutoScrollMilliseconds, nullptr);
    } else {
        KillTimer(window_, kAutoScrollTimer);
    }
}

void TextView::ShowContextMenu(LPARAM point) {
    POINT at{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    if (point == -1) {  // from the keyboard: at the caret
        GetCaretPos(&at);
        ClientToScreen(window_, &at);
    }
    const std::vector<ContextMenuEntry> entries = model_.ContextMenu();
    HMENU menu = CreatePopupMenu();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].separatorBefore) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        }
        const UINT state = entries[i].enabled ? MF_ENABLED : MF_GRAYED;
        AppendMenuW(menu, MF_STRING | state, i + 1, ToWide(entries[i].text).c_str());
    }
    const auto chosen = static_cast<std::size_t>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window_, nullptr));
    DestroyMenu(menu);
    if (chosen != 0 && model_.Execute(entries[chosen - 1].command) == KeyResult::Copy) {
        Copy();
    }
}

void TextView::Copy() {
    if (model_.HasSelection()) {
        const auto [first, last] = model_.Selection();
        clipboard_.Copy(window_, text_, first, last);
    }
}

LRESULT TextView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (clipboard_.Handle(window_, message, wParam)) {
        return 0;
    }
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painting fills the background itself
        case WM_SETFONT:
            SetFont(PointerFrom<HFONT>(wParam));
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_SIZE:
            model_.SetViewSize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_HASSETSEL;
        case WM_SETFOCUS:
            CreateCaret(window_, nullptr, 1, model_.LineHeight());
            model_.SetFocused(true);
            ShowCaret(window_);
            return 0;
        case WM_KILLFOCUS:
            model_.SetFocused(false);
            DestroyCaret();
            return 0;
        case WM_COPY:
            Copy();
            return 0;
        case WM_GETOBJECT:
            return AnswerGetObject(
                window_,
                [](HWND window) -> const TextViewModel* {
                    const TextView* view = Of(window);
                    return view != nullptr ? &view->Model() : nullptr;
                },
                wParam, lParam);
        default:
            return HandleInput(message, wParam, lParam);
    }
}

// Keys, the mouse and the scroll bars.
LRESULT TextView::HandleInput(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
            KeyDown(wParam);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(window_);
            SetCapture(window_);
            model_.Press(PointOf(lParam), (wParam & MK_SHIFT) != 0);
            return 0;
        case WM_LBUTTONDBLCLK:
            model_.DoubleClick(PointOf(lParam));
            return 0;
        case WM_MOUSEMOVE:
            model_.DragTo(PointOf(lParam));
            FollowDrag();
            return 0;
        case WM_TIMER:
            model_.AutoScroll();
            FollowDrag();
            return 0;
        case WM_LBUTTONUP:
            ReleaseCapture();
            [[fallthrough]];
        case WM_CAPTURECHANGED:  // the drag ends, also when another window takes the mouse
            model_.Release();
            FollowDrag();
            return 0;
        case WM_CONTEXTMENU:
            ShowContextMenu(lParam);
            return 0;
        case WM_MOUSEWHEEL:
            Wheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_VSCROLL:
            Scroll(SB_VERT, wParam);
            return 0;
        case WM_HSCROLL:
            Scroll(SB_HORZ, wParam);
            return 0;
        default:
            return HandleEditMessage(message, wParam, lParam);
    }
}

// Whole lines per notch, as the system sets them; what is left of a notch
// (a fine-grained wheel) is kept for the next one.
void TextView::Wheel(int delta) {
    UINT linesPerNotch = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0);
    wheelRemainder_ += delta * static_cast<int>(linesPerNotch);
    const int lines = wheelRemainder_ / WHEEL_DELTA;
    wheelRemainder_ -= lines * WHEEL_DELTA;
    const auto top = static_cast<std::ptrdiff_t>(model_.FirstVisibleLine()) - lines;
    model_.ScrollTo(static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, top)), model_.ScrollX());
}

}  // namespace framework::win32
