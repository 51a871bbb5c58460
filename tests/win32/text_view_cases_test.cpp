// The Win32 results view under the shared cases, with real messages: keys
// with the thread's key state, mouse messages, focus moves and the view's own
// auto-scroll timer.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "dialog_driver.h"
#include "framework/win32/message_parameters.h"
#include "framework/win32/text_view.h"
#include "framework/win32/wide_text.h"
#include "tests/support/text_view_cases.h"

namespace {

using text_view_cases::Case;

LPARAM At(framework::ViewPoint point) {
    return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

class Win32Target : public text_view_cases::Target {
public:
    Win32Target() {
        framework::win32::RegisterTextView();
        window_ = CreateWindowExW(0, L"STATIC", L"Ergebnisse", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                  0, 500, 400, nullptr, nullptr, nullptr, nullptr);
        other_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 5, 100, 24,
                                 window_, nullptr, nullptr, nullptr);
        view_ = CreateWindowExW(0, L"WertomatTextView", L"",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL |
                                    ES_MULTILINE | ES_AUTOHSCROLL | ES_READONLY,
                                10, 40, 360, 220, window_, nullptr, nullptr, nullptr);
        SendMessageW(view_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     FALSE);
    }
    ~Win32Target() override { DestroyWindow(window_); }
    Win32Target(const Win32Target&) = delete;
    Win32Target& operator=(const Win32Target&) = delete;

    void Show(const std::string& text) override {
        SendMessageW(view_, WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(framework::win32::ToWide(text).c_str()));
        SetForegroundWindow(window_);
        SetFocus(view_);
        Pump();
    }
    HWND View() const { return view_; }
    const framework::TextViewModel& Model() const override {
        return framework::win32::TextView::Of(view_)->Model();
    }
    std::pair<int, int> PagePixels() const override {
        RECT client{};
        GetClientRect(view_, &client);
        HDC device = GetDC(view_);
        const HGDIOBJ previous = SelectObject(
            device, framework::win32::PointerFrom<HGDIOBJ>(SendMessageW(view_, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        GetTextMetricsW(device, &metrics);
        SelectObject(device, previous);
        ReleaseDC(view_, device);
        return {client.bottom, static_cast<int>(metrics.tmHeight)};
    }
    void Press(text_view_cases::Keystroke keystroke) override {
        static constexpr WPARAM kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_NEXT,
                                           VK_HOME, VK_END,   'A',   VK_PRIOR};
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = keystroke.shift ? 0x80 : 0;
        keys[VK_CONTROL] = keystroke.control ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageW(view_, WM_KEYDOWN, kKeys[static_cast<std::size_t>(keystroke.key)], 1);
        keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }
    void MouseDown(framework::ViewPoint point, bool shift) override {
        SendMessageW(view_, WM_LBUTTONDOWN, MK_LBUTTON | (shift ? MK_SHIFT : 0), At(point));
    }
    void MouseMove(framework::ViewPoint point) override {
        // The pointer goes there too, in case the platform reports where it is.
        POINT screen{point.x, point.y};
        ClientToScreen(view_, &screen);
        SetCursorPos(screen.x, screen.y);
        SendMessageW(view_, WM_MOUSEMOVE, MK_LBUTTON, At(point));
    }
    void MouseUp(framework::ViewPoint point) override {
        SendMessageW(view_, WM_LBUTTONUP, 0, At(point));
    }
    void MouseDoubleClick(framework::ViewPoint point) override {
        MouseDown(point, false);
        MouseUp(point);
        SendMessageW(view_, WM_LBUTTONDBLCLK, MK_LBUTTON, At(point));
        MouseUp(point);
    }
    void MoveFocus(bool in) override {
        SetFocus(in ? view_ : other_);
        Pump();
    }
    void WaitUntil(const std::function<bool()>& done) override {
        const ULONGLONG limit = GetTickCount64() + 20'000;
        while (!done() && GetTickCount64() < limit) {
            Pump();
            Sleep(5);
        }
    }

private:
    static void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    HWND window_;
    HWND other_;
    HWND view_;
};

class Win32TextViewCases : public testing::TestWithParam<Case> {};

TEST_P(Win32TextViewCases, BehavesAsThePlatformsEdit) {
    Win32Target target;
    text_view_cases::Check(GetParam(), target);
}

INSTANTIATE_TEST_SUITE_P(Win32, Win32TextViewCases, testing::ValuesIn(text_view_cases::AllCases()),
                         text_view_cases::CaseName);

// The edit's messages, which screen readers and programs use, answered as
// the platform's own read-only edit answers them for the same table: each row
// selects with EM_SETSEL, sends `before` (a scroll) if any, then the query;
// the answers compared are the result, the buffer it filled and, after
// WM_COPY, the clipboard's text.
struct EditQuery {
    const char* name;  // cppcheck-suppress unusedStructMember ; the test's name, read by QueryName
    UINT message;
    WPARAM wParam;
    std::pair<LPARAM, LPARAM> selection;  // set first, by EM_SETSEL
    std::pair<UINT, WPARAM> before{0, 0};
    std::size_t bufferCharacters = 0;  // a buffer of this size as lParam
};
constexpr EditQuery kEditQueries[] = {
    {"LineCount", EM_GETLINECOUNT, 0, {0, 0}},
    {"FirstLineStart", EM_LINEINDEX, 0, {0, 0}},
    {"SecondLineStart", EM_LINEINDEX, 1, {0, 0}},
    {"LastLineStart", EM_LINEINDEX, 22, {0, 0}},
    {"NoSuchLine", EM_LINEINDEX, 23, {0, 0}},
    {"CaretLineStart", EM_LINEINDEX, static_cast<WPARAM>(-1), {30, 30}},
    {"FirstLineLength", EM_LINELENGTH, 0, {0, 0}},
    {"LengthAtALineBreak", EM_LINELENGTH, 4, {0, 0}},
    {"RowLength", EM_LINELENGTH, 40, {0, 0}},
    {"UnselectedOnTheSelectionsLines", EM_LINELENGTH, static_cast<WPARAM>(-1), {30, 60}},
    {"LineOfTheFirstCharacter", EM_LINEFROMCHAR, 0, {0, 0}},
    {"LineOfALineBreak", EM_LINEFROMCHAR, 4, {0, 0}},
    {"LineOfARowsCharacter", EM_LINEFROMCHAR, 40, {0, 0}},
    {"LineOfTheSelection", EM_LINEFROMCHAR, static_cast<WPARAM>(-1), {30, 60}},
    {"FirstVisibleLine", EM_GETFIRSTVISIBLELINE, 0, {0, 0}},
    {"SelectionAsSet", EM_GETSEL, 0, {30, 60}},
    {"SelectionSetBackwards", EM_GETSEL, 0, {60, 30}},
    {"SelectionToMinusOneIsToTheEnd", EM_GETSEL, 0, {5, -1}},
    {"SelectionFromMinusOneSelectsNothing", EM_GETSEL, 0, {-1, 10}},
    {"TextLength", WM_GETTEXTLENGTH, 0, {0, 0}},
    {"TextIntoAShortBuffer", WM_GETTEXT, 10, {0, 0}, {0, 0}, 10},
    {"TextIntoABufferOfOne", WM_GETTEXT, 1, {0, 0}, {0, 0}, 1},
    {"LineDownScrollsALine", EM_GETFIRSTVISIBLELINE, 0, {0, 0}, {WM_VSCROLL, SB_LINEDOWN}},
    {"ThumbPositionScrollsThere",
     EM_GETFIRSTVISIBLELINE,
     0,
     {0, 0},
     {WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 7)}},
    {"BottomScrollsToTheEnd", EM_GETFIRSTVISIBLELINE, 0, {0, 0}, {WM_VSCROLL, SB_BOTTOM}},
    {"WheelScrollsBySystemLines",
     EM_GETFIRSTVISIBLELINE,
     0,
     {0, 0},
     {WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA))}},
    {"CopyTakesTheSelection", WM_COPY, 0, {30, 60}},
};

class Win32EditMessages : public testing::TestWithParam<EditQuery> {};

TEST_P(Win32EditMessages, AnswerAsThePlatformsEdit) {
    const EditQuery& query = GetParam();
    const std::wstring table = framework::win32::ToWide(text_view_cases::TableText({0, 0.1, 2}));
    const auto answer = [&](const wchar_t* className) {
        HWND field = CreateWindowExW(
            0, className, L"",
            WS_POPUP | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL, 0, 0,
            300, 200, nullptr, nullptr, nullptr, nullptr);
        SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(table.c_str()));
        SendMessageW(field, EM_SETSEL, static_cast<WPARAM>(query.selection.first),
                     query.selection.second);
        if (query.before.first != 0) {
            SendMessageW(field, query.before.first, query.before.second, 0);
        }
        std::wstring buffer(query.bufferCharacters, L'#');
        const LRESULT result = SendMessageW(field, query.message, query.wParam,
                                            reinterpret_cast<LPARAM>(buffer.data()));
        DestroyWindow(field);
        std::wstring reply = std::to_wstring(result) + L"|" + buffer;
        if (query.message == WM_COPY) {
            const std::u16string copied = driver::ClipboardText();
            reply.append(L"|").append(copied.begin(), copied.end());
        }
        return reply;
    };
    framework::win32::RegisterTextView();
    EXPECT_EQ(answer(framework::win32::kTextViewClass), answer(L"EDIT"));
}

std::string QueryName(const testing::TestParamInfo<EditQuery>& param) {
    return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(Win32, Win32EditMessages, testing::ValuesIn(kEditQueries), QueryName);

TEST(Win32LineMessages, GetLineCopiesALineWithoutItsBreak) {
    Win32Target target;
    target.Show(text_view_cases::TableText({0, 0.1, 2}));
    HWND view = target.View();
    std::array<wchar_t, 64> buffer{};
    const auto line = [&](WPARAM index, WORD capacity) {
        buffer.fill(L'#');
        buffer[0] = static_cast<wchar_t>(capacity);
        const auto length =
            SendMessageW(view, EM_GETLINE, index, reinterpret_cast<LPARAM>(buffer.data()));
        return std::wstring(buffer.data(), static_cast<std::size_t>(length));
    };
    EXPECT_EQ(line(1, 64), L"    0.0000\t   -5.0000");
    EXPECT_EQ(line(1, 4), L"    ");  // the capacity bounds the copy
    EXPECT_EQ(line(23, 64), L"");    // no such line
    // Where a character is drawn and which character is there, both ways.
    const LRESULT place = SendMessageW(view, EM_POSFROMCHAR, 9, 0);
    const LRESULT found =
        SendMessageW(view, EM_CHARFROMPOS, 0, MAKELPARAM(LOWORD(place) + 1, HIWORD(place) + 2));
    EXPECT_EQ(LOWORD(found), 9);
    EXPECT_EQ(HIWORD(found), 1);
}

// Wine's own fonts are in the test prefixes: the caption buttons are
// Marlett's glyphs; without it they show as the letters "0 1 r".
TEST(Win32Fonts, TheCaptionButtonsHaveTheirFont) {
    const auto faceFor = [](const wchar_t* requested) {
        HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH, requested);
        HDC device = GetDC(nullptr);
        HGDIOBJ previous = SelectObject(device, font);
        std::array<wchar_t, LF_FACESIZE> face{};
        GetTextFaceW(device, static_cast<int>(face.size()), face.data());
        SelectObject(device, previous);
        ReleaseDC(nullptr, device);
        DeleteObject(font);
        return std::wstring(face.data());
    };
    EXPECT_EQ(faceFor(L"Marlett"), L"Marlett");
}

}  // namespace
