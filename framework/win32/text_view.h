// The results field on Win32, a view of our own, since the platform's edit
// control takes minutes to show a million rows: turns the window's messages
// into calls on TextViewModel, which holds the behaviour, paints what it
// says, and answers the edit's messages that the dialog and tests send.
#pragma once

#include <windows.h>

#include <string_view>

#include "framework/results_view/text_view_model.h"
#include "framework/win32/clipboard.h"
#include "framework/win32/wide_text.h"

namespace framework::win32 {

inline constexpr wchar_t kTextViewClass[] = L"WertomatTextView";
// Registers the view's window class; later calls do nothing.
void RegisterTextView();

class TextView final : private TextViewListener {
public:
    explicit TextView(HWND window, DWORD style);
    TextView(const TextView&) = delete;
    TextView& operator=(const TextView&) = delete;
    ~TextView();

    // The view of `window`, or null when it is some other window.
    static TextView* Of(HWND window);
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    const SharedText& Text() const { return text_; }
    void SetText(const SharedText& text);
    const TextViewModel& Model() const { return model_; }

private:
    std::string_view Bytes() const { return text_ != nullptr ? *text_ : std::string_view(); }
    void TextViewChanged(const TextViewChanges& changes) override;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleInput(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleLineMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void SetFont(HFONT font);
    void Paint();
    void KeyDown(WPARAM key);
    void FollowDrag();
    void ShowContextMenu(LPARAM point);
    void Scroll(int bar, WPARAM request);
    void Wheel(int delta);
    void Copy();
    void UpdateScrollBars();

    HWND window_;
    HFONT font_ = nullptr;
    SharedText text_;
    TextViewModel model_;  // shows text_'s bytes
    int wheelRemainder_ = 0;
    ClipboardOffer clipboard_;
};

}  // namespace framework::win32
