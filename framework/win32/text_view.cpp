#include "framework/win32/text_view.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "framework/win32/wide_text.h"

namespace framework::win32 {
namespace {

constexpr wchar_t kClassName[] = L"WertomatTextView";
constexpr int kMargin = 2;
constexpr UINT kCopyCommand = 1;
constexpr UINT kSelectAllCommand = 2;

bool IsResultsField(HWND control) {
    wchar_t className[16] = {};
    GetClassNameW(control, className, static_cast<int>(std::size(className)));
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    return lstrcmpiW(className, L"Edit") == 0 && (style & ES_MULTILINE) != 0 &&
           (style & ES_READONLY) != 0;
}

bool KeyIsDown(int key) {
    return GetKeyState(key) < 0;
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
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass);
    }();
    static_cast<void>(registered);
}

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
        const auto style = static_cast<DWORD>(GetWindowLongW(field, GWL_STYLE)) & 0xFFFF0000U;
        const auto extendedStyle = static_cast<DWORD>(GetWindowLongW(field, GWL_EXSTYLE));
        HWND view = CreateWindowExW(
            extendedStyle, kClassName, L"", style, place.left, place.top, place.right - place.left,
            place.bottom - place.top, dialog,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID(field))),  // NOLINT
            GetModuleHandleW(nullptr), nullptr);
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

TextView* TextView::Of(HWND window) {
    if (window == nullptr ||
        GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Procedure)) {
        return nullptr;
    }
    return reinterpret_cast<TextView*>(  // NOLINT(performance-no-int-to-ptr)
        GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK TextView::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // Owned by the window: deleted at WM_NCDESTROY.
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TextView(window)));
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
    return view->Handle(message, wParam, lParam);
}

// --- The text and its lines

void TextView::SetText(const SharedText& text) {
    if (text == text_ && text != nullptr) {
        return;  // already shown: the dialog writes its results back unchanged
    }
    text_ = text;
    layout_.SetText(Bytes());
    anchor_ = caret_ = 0;
    topLine_ = 0;
    scrollX_ = 0;
    Relaid();
}

std::wstring TextView::LineText(std::size_t line) const {
    const std::size_t begin = layout_.LineStart(line);
    return ToWide(Bytes().substr(begin, layout_.LineEnd(line) - begin));
}

void TextView::SetFont(HFONT font) {
    font_ = font;
    HDC device = GetDC(window_);
    HGDIOBJ previous = SelectObject(device, font_ != nullptr ? font_ : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(device, &metrics);
    lineHeight_ = std::max(1, static_cast<int>(metrics.tmHeight));
    // Tab stops every 32 dialog units, as in the platform's edit control.
    RECT tab{0, 0, 32, 0};
    const auto tabStop = static_cast<int>(
        MapDialogRect(GetParent(window_), &tab) ? tab.right : 8 * metrics.tmAveCharWidth);
    TextLayout::Advances advances{};
    for (std::size_t byte = 0x20; byte < advances.size(); ++byte) {
        const auto character =
            static_cast<UINT>(wertomat::Windows1252ToUnicode(static_cast<unsigned char>(byte)));
        INT width = 0;
        GetCharWidth32W(device, character, character, &width);
        advances[byte] = width;
    }
    SelectObject(device, previous);
    ReleaseDC(window_, device);
    layout_.SetMetrics(advances, tabStop);
    Relaid();
}

// After a new text or font: the bars, the caret and the picture follow.
void TextView::Relaid() {
    UpdateScrollBars();
    UpdateCaret();
    InvalidateRect(window_, nullptr, TRUE);
}

// --- Painting

void TextView::Paint() {
    PAINTSTRUCT paint{};
    HDC device = BeginPaint(window_, &paint);
    HGDIOBJ previousFont =
        SelectObject(device, font_ != nullptr ? font_ : GetStockObject(SYSTEM_FONT));
    // A read-only field asks its dialog for its colours, as the platform's edit does.
    auto* brush = reinterpret_cast<HBRUSH>(  // NOLINT(performance-no-int-to-ptr)
        SendMessageW(GetParent(window_), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(device),
                     reinterpret_cast<LPARAM>(window_)));
    if (brush == nullptr) {
        brush = GetSysColorBrush(COLOR_3DFACE);
        SetTextColor(device, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(device, GetSysColor(COLOR_3DFACE));
    }
    FillRect(device, &paint.rcPaint, brush);
    const std::size_t selectionBegin = std::min(anchor_, caret_);
    const std::size_t selectionEnd = std::max(anchor_, caret_);
    const std::size_t firstLine =
        topLine_ + static_cast<std::size_t>(
                       std::max(0, static_cast<int>(paint.rcPaint.top) - kMargin) / lineHeight_);
    for (std::size_t line = firstLine; line < layout_.LineCount(); ++line) {
        const int y = kMargin + static_cast<int>(line - topLine_) * lineHeight_;
        if (y >= paint.rcPaint.bottom) {
            break;
        }
        PaintLine(device, line, y, selectionBegin, selectionEnd);
    }
    SelectObject(device, previousFont);
    EndPaint(window_, &paint);
}

void TextView::PaintLine(HDC device, std::size_t line, int y, std::size_t selectionBegin,
                         std::size_t selectionEnd) {
    const std::wstring text = LineText(line);
    const int x = kMargin - scrollX_;
    const int tabStop = layout_.TabStop();
    SetBkMode(device, TRANSPARENT);
    TabbedTextOutW(device, x, y, text.c_str(), static_cast<int>(text.size()), 1, &tabStop, x);
    const std::size_t begin = layout_.LineStart(line);
    const std::size_t end = layout_.LineEnd(line);
    const std::size_t from = std::clamp(selectionBegin, begin, end);
    const std::size_t to = std::clamp(selectionEnd, begin, end);
    const bool breakSelected = selectionBegin <= end && selectionEnd > end;
    if (from == to && !breakSelected) {
        return;
    }
    RECT selected{x + layout_.XOf(line, from), y, x + layout_.XOf(line, to), y + lineHeight_};
    if (breakSelected) {
        selected.right += layout_.ByteAdvances()[' '];  // the line break, as a little space
    }
    FillRect(device, &selected, GetSysColorBrush(COLOR_HIGHLIGHT));
    const int saved = SaveDC(device);
    IntersectClipRect(device, selected.left, selected.top, selected.right, selected.bottom);
    SetTextColor(device, GetSysColor(COLOR_HIGHLIGHTTEXT));
    TabbedTextOutW(device, x, y, text.c_str(), static_cast<int>(text.size()), 1, &tabStop, x);
    RestoreDC(device, saved);
}

// --- Scrolling

int TextView::VisibleLines() const {
    RECT client{};
    GetClientRect(window_, &client);
    return std::max(1, static_cast<int>(client.bottom - client.top - kMargin) / lineHeight_);
}

void TextView::UpdateScrollBars() {
    if (updatingScrollBars_) {
        return;  // a bar that appears or goes resizes the view and brings us back here
    }
    updatingScrollBars_ = true;
    RECT client{};
    GetClientRect(window_, &client);
    SCROLLINFO vertical{sizeof(SCROLLINFO),
                        SIF_ALL | SIF_DISABLENOSCROLL,
                        0,
                        static_cast<int>(layout_.LineCount()) - 1,
                        static_cast<UINT>(VisibleLines()),
                        static_cast<int>(topLine_),
                        0};
    SetScrollInfo(window_, SB_VERT, &vertical, TRUE);
    SCROLLINFO horizontal{sizeof(SCROLLINFO),
                          SIF_ALL | SIF_DISABLENOSCROLL,
                          0,
                          layout_.Widest() + 2 * kMargin,
                          static_cast<UINT>(client.right),
                          scrollX_,
                          0};
    SetScrollInfo(window_, SB_HORZ, &horizontal, TRUE);
    updatingScrollBars_ = false;
}

void TextView::ScrollToLine(std::ptrdiff_t line) {
    const auto last = static_cast<std::ptrdiff_t>(layout_.LineCount()) - VisibleLines();
    const auto top = static_cast<std::size_t>(
        std::clamp<std::ptrdiff_t>(line, 0, std::max<std::ptrdiff_t>(0, last)));
    if (top != topLine_) {
        topLine_ = top;
        Relaid();
    }
}

void TextView::ScrollToPixel(int x) {
    RECT client{};
    GetClientRect(window_, &client);
    const int last =
        std::max(0, layout_.Widest() + 2 * kMargin - static_cast<int>(client.right) + 1);
    const int left = std::clamp(x, 0, last);
    if (left != scrollX_) {
        scrollX_ = left;
        Relaid();
    }
}

int TextView::VerticalScrollPosition(WPARAM request) const {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(window_, SB_VERT, &info);
    const auto top = static_cast<int>(topLine_);
    switch (LOWORD(request)) {
        case SB_LINEUP:
            return top - 1;
        case SB_LINEDOWN:
            return top + 1;
        case SB_PAGEUP:
            return top - VisibleLines();
        case SB_PAGEDOWN:
            return top + VisibleLines();
        case SB_TOP:
            return 0;
        case SB_BOTTOM:
            return static_cast<int>(layout_.LineCount());
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            return info.nTrackPos;  // 32 bits, unlike the message's
        default:
            return top;
    }
}

void TextView::EnsureCaretVisible() {
    const std::size_t line = layout_.LineOf(caret_);
    if (line < topLine_) {
        ScrollToLine(static_cast<std::ptrdiff_t>(line));
    } else if (line >= topLine_ + static_cast<std::size_t>(VisibleLines())) {
        ScrollToLine(static_cast<std::ptrdiff_t>(line) - VisibleLines() + 1);
    }
}

void TextView::UpdateCaret() {
    if (GetFocus() != window_) {
        return;
    }
    const std::size_t line = layout_.LineOf(caret_);
    const int x = kMargin - scrollX_ + layout_.XOf(line, caret_);
    const auto row = static_cast<std::ptrdiff_t>(line) - static_cast<std::ptrdiff_t>(topLine_);
    SetCaretPos(
        x, kMargin + static_cast<int>(std::clamp<std::ptrdiff_t>(row, -2, 10000)) * lineHeight_);
}

// --- Selection

void TextView::SetSelection(std::size_t anchor, std::size_t caret, bool scroll) {
    const std::size_t size = Bytes().size();
    anchor_ = std::min(anchor, size);
    caret_ = std::min(caret, size);
    if (scroll) {
        EnsureCaretVisible();
    }
    UpdateCaret();
    InvalidateRect(window_, nullptr, TRUE);
}

// The caret `lines` lines up or down, as near as may be to where it is across.
std::size_t TextView::CaretMovedByLines(std::ptrdiff_t lines) const {
    const std::size_t line = layout_.LineOf(caret_);
    const auto last = static_cast<std::ptrdiff_t>(layout_.LineCount()) - 1;
    const auto target = static_cast<std::size_t>(
        std::clamp<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(line) + lines, 0, last));
    return layout_.OffsetAtX(target, layout_.XOf(line, caret_));
}

std::size_t TextView::PositionAt(int x, int y) const {
    const auto row =
        static_cast<std::ptrdiff_t>(topLine_) + (y - kMargin) / lineHeight_ - (y < kMargin ? 1 : 0);
    const auto line = static_cast<std::size_t>(
        std::clamp<std::ptrdiff_t>(row, 0, static_cast<std::ptrdiff_t>(layout_.LineCount()) - 1));
    return layout_.OffsetAtX(line, x - kMargin + scrollX_);
}

std::optional<std::size_t> TextView::CaretAfterKey(WPARAM key, bool control) const {
    switch (key) {
        case VK_LEFT:
            return layout_.StepBack(caret_);
        case VK_RIGHT:
            return layout_.StepForward(caret_);
        case VK_UP:
            return CaretMovedByLines(-1);
        case VK_DOWN:
            return CaretMovedByLines(1);
        case VK_PRIOR:
            return CaretMovedByLines(-VisibleLines());
        case VK_NEXT:
            return CaretMovedByLines(VisibleLines());
        case VK_HOME:
            return control ? 0 : layout_.LineStart(layout_.LineOf(caret_));
        case VK_END:
            return control ? Bytes().size() : layout_.LineEnd(layout_.LineOf(caret_));
        default:
            return std::nullopt;
    }
}

void TextView::KeyDown(WPARAM key) {
    const bool control = KeyIsDown(VK_CONTROL);
    if (control && key == 'A') {
        SetSelection(0, Bytes().size(), false);  // the view stays where it is
    } else if (control && (key == 'C' || key == VK_INSERT)) {
        Copy();
    } else if (const std::optional<std::size_t> caret = CaretAfterKey(key, control)) {
        SetSelection(KeyIsDown(VK_SHIFT) ? anchor_ : *caret, *caret);
    }
}

void TextView::MouseDown(LPARAM point, bool extend) {
    SetFocus(window_);
    SetCapture(window_);
    const std::size_t position = PositionAt(GET_X_LPARAM(point), GET_Y_LPARAM(point));
    SetSelection(extend ? anchor_ : position, position);
}

void TextView::MouseMove(LPARAM point) {
    if (GetCapture() == window_) {
        const std::size_t position = PositionAt(GET_X_LPARAM(point), GET_Y_LPARAM(point));
        if (position != caret_) {
            SetSelection(anchor_, position);
        }
    }
}

void TextView::SelectWordAt(LPARAM point) {
    const std::size_t position = PositionAt(GET_X_LPARAM(point), GET_Y_LPARAM(point));
    const std::size_t line = layout_.LineOf(position);
    const std::size_t lineBegin = layout_.LineStart(line);
    const std::size_t lineEnd = layout_.LineEnd(line);
    const std::string_view bytes = Bytes();
    const auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t begin = position;
    std::size_t end = position;
    while (begin > lineBegin && !isSpace(bytes[begin - 1])) {
        --begin;
    }
    while (end < lineEnd && !isSpace(bytes[end])) {
        ++end;
    }
    SetSelection(begin, end);
}

void TextView::ShowContextMenu(LPARAM point) {
    POINT at{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    if (point == -1) {  // from the keyboard: at the caret
        GetCaretPos(&at);
        ClientToScreen(window_, &at);
    }
    HMENU menu = CreatePopupMenu();
    const UINT copyState = anchor_ == caret_ ? MF_GRAYED : MF_ENABLED;
    AppendMenuW(menu, MF_STRING | copyState, kCopyCommand, ToWide("&Kopieren\tStrg+C").c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kSelectAllCommand, ToWide("&Alles markieren\tStrg+A").c_str());
    const auto chosen = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window_, nullptr));
    DestroyMenu(menu);
    if (chosen == kCopyCommand) {
        Copy();
    } else if (chosen == kSelectAllCommand) {
        SetSelection(0, Bytes().size(), false);
    }
}

// The selection as CF_UNICODETEXT, line breaks kept as CR LF.
void TextView::Copy() const {
    const std::size_t begin = std::min(anchor_, caret_);
    const std::size_t end = std::max(anchor_, caret_);
    if (begin == end) {
        return;
    }
    const std::wstring text = ToWide(Bytes().substr(begin, end - begin));
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (memory == nullptr) {
        return;
    }
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (!OpenClipboard(window_)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);
    }
    CloseClipboard();
}

LRESULT TextView::GetText(WPARAM capacity, wchar_t* buffer) const {
    if (capacity == 0 || buffer == nullptr) {
        return 0;
    }
    const std::string_view bytes = Bytes().substr(0, capacity - 1);
    const std::wstring text = ToWide(bytes);
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = L'\0';
    return static_cast<LRESULT>(text.size());
}

// --- Messages

LRESULT TextView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painting fills the background itself
        case WM_SETFONT:
            SetFont(reinterpret_cast<HFONT>(wParam));
            return 0;  // NOLINT
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_SIZE:
            UpdateScrollBars();
            ScrollToLine(static_cast<std::ptrdiff_t>(topLine_));
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_HASSETSEL;
        case WM_SETFOCUS:
            CreateCaret(window_, nullptr, 1, lineHeight_);
            UpdateCaret();
            ShowCaret(window_);
            return 0;
        case WM_KILLFOCUS:
            DestroyCaret();
            return 0;
        case WM_KEYDOWN:
            KeyDown(wParam);
            return 0;
        case WM_LBUTTONDOWN:
            MouseDown(lParam, (wParam & MK_SHIFT) != 0);
            return 0;
        case WM_LBUTTONDBLCLK:
            SelectWordAt(lParam);
            return 0;
        case WM_MOUSEMOVE:
            MouseMove(lParam);
            return 0;
        case WM_LBUTTONUP:
            ReleaseCapture();
            return 0;
        case WM_CONTEXTMENU:
            ShowContextMenu(lParam);
            return 0;
        case WM_MOUSEWHEEL: {
            UINT linesPerNotch = 3;
            SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0);
            wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wParam) * static_cast<int>(linesPerNotch);
            const int lines = wheelRemainder_ / WHEEL_DELTA;
            wheelRemainder_ -= lines * WHEEL_DELTA;
            ScrollToLine(static_cast<std::ptrdiff_t>(topLine_) - lines);
            return 0;
        }
        case WM_VSCROLL:
            ScrollToLine(VerticalScrollPosition(wParam));
            return 0;
        case WM_HSCROLL: {
            SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
            GetScrollInfo(window_, SB_HORZ, &info);
            const int step = std::max(1, layout_.ByteAdvances()['0']);
            const int page = static_cast<int>(info.nPage);
            const int positions[] = {scrollX_ - step,
                                     scrollX_ + step,
                                     scrollX_ - page,
                                     scrollX_ + page,
                                     info.nTrackPos,
                                     info.nTrackPos,
                                     0,
                                     layout_.Widest()};
            ScrollToPixel(LOWORD(wParam) <= SB_BOTTOM ? positions[LOWORD(wParam)] : scrollX_);
            return 0;
        }
        case WM_COPY:
            Copy();
            return 0;
        case EM_GETSEL: {
            const auto begin = static_cast<DWORD>(std::min(anchor_, caret_));
            const auto end = static_cast<DWORD>(std::max(anchor_, caret_));
            if (wParam != 0) {
                *reinterpret_cast<DWORD*>(wParam) = begin;
            }  // NOLINT
            if (lParam != 0) {
                *reinterpret_cast<DWORD*>(lParam) = end;
            }  // NOLINT
            return MAKELRESULT(std::min<DWORD>(begin, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
        }
        case EM_SETSEL: {
            const std::size_t size = Bytes().size();
            const auto at = [size](WPARAM value) {
                const auto signedValue = static_cast<std::intptr_t>(value);
                return signedValue < 0 ? size : static_cast<std::size_t>(signedValue);
            };
            if (static_cast<std::intptr_t>(wParam) < 0) {
                SetSelection(caret_, caret_, false);  // -1: no selection
            } else {
                // As an edit: no scrolling, so that tabbing in (which selects
                // everything) leaves the view where it is.
                SetSelection(at(wParam), at(static_cast<WPARAM>(lParam)), false);
            }
            return 0;
        }
        case EM_SCROLLCARET:
            EnsureCaretVisible();
            return 0;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(Bytes().size());
        case WM_GETTEXT:
            return GetText(wParam, reinterpret_cast<wchar_t*>(lParam));  // NOLINT
        case WM_SETTEXT: {
            const auto* wide = reinterpret_cast<const wchar_t*>(lParam);  // NOLINT
            std::optional<std::string> text = FromWide(wide != nullptr ? wide : L"");
            if (!text) {
                return FALSE;
            }
            SetText(text->empty() ? nullptr
                                  : std::make_shared<const std::string>(std::move(*text)));
            return TRUE;
        }
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace framework::win32
