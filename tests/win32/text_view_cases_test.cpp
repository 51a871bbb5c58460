// The Win32 results view under the shared cases, with real messages: keys
// with the thread's key state, mouse messages, focus moves and the view's own
// auto-scroll timer.
#include <windows.h>

#include <memory>
#include <string>

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
    const framework::TextViewModel& Model() const override {
        return framework::win32::TextView::Of(view_)->Model();
    }
    void Press(text_view_cases::Keystroke keystroke) override {
        static constexpr WPARAM kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP,  VK_DOWN,
                                           VK_NEXT, VK_HOME,  VK_END, 'A'};
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

}  // namespace
