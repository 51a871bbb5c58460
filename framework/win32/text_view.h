// The results field on Win32: a read-only text view of our own, since the
// platform's edit control takes minutes to show a million rows. It keeps the
// text's bytes as given, lays them out once (TextLayout) and paints only the
// lines in view.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "framework/text_layout.h"
#include "framework/win32/native.h"

namespace framework::win32 {

// Registers the view's window class; later calls do nothing.
void RegisterTextView();
// Puts a text view in the place of each read-only multi-line edit of the
// dialog: same identifier, position, size, styles, font and tab order.
void ReplaceResultsFields(HWND dialog);

class TextView {
public:
    explicit TextView(HWND window) : window_(window) {}

    // The view of `window`, or null when it is some other window.
    static TextView* Of(HWND window);
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    const SharedText& Text() const { return text_; }
    void SetText(const SharedText& text);

private:
    std::string_view Bytes() const { return text_ != nullptr ? *text_ : std::string_view(); }
    std::wstring LineText(std::size_t line) const;

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void SetFont(HFONT font);
    void Relaid();
    void Paint();
    void PaintLine(HDC device, std::size_t line, int y, std::size_t selectionBegin,
                   std::size_t selectionEnd);
    std::optional<std::size_t> CaretAfterKey(WPARAM key, bool control) const;
    std::size_t CaretMovedByLines(std::ptrdiff_t lines) const;
    void KeyDown(WPARAM key);
    void MouseDown(LPARAM point, bool extend);
    void MouseMove(LPARAM point);
    void SelectWordAt(LPARAM point);
    void ShowContextMenu(LPARAM point);
    void Copy() const;
    LRESULT GetText(WPARAM capacity, wchar_t* buffer) const;
    void SetSelection(std::size_t anchor, std::size_t caret, bool scroll = true);

    int VisibleLines() const;
    std::size_t PositionAt(int x, int y) const;
    void ScrollToLine(std::ptrdiff_t line);
    void ScrollToPixel(int x);
    void EnsureCaretVisible();
    void UpdateScrollBars();
    void UpdateCaret();
    int VerticalScrollPosition(WPARAM request) const;

    HWND window_;
    HFONT font_ = nullptr;
    SharedText text_;
    TextLayout layout_;  // views text_'s bytes
    int lineHeight_ = 16;
    std::size_t topLine_ = 0;
    int scrollX_ = 0;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    int wheelRemainder_ = 0;
    bool updatingScrollBars_ = false;
};

}  // namespace framework::win32
