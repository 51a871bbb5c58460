// The results field on Win32: a read-only text view of our own, since the
// platform's edit control takes minutes to show a million rows. It keeps the
// text's bytes as given, indexes the lines once and paints only those in view.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

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
    struct Line {
        std::size_t begin;
        std::size_t end;  // before the line break
    };

    std::string_view Bytes() const { return text_ != nullptr ? *text_ : std::string_view(); }
    std::size_t LineCount() const { return lineStarts_.size(); }
    Line LineAt(std::size_t line) const;
    std::size_t LineOf(std::size_t position) const;
    std::wstring LineText(const Line& line) const;
    int TextWidth(HDC device, const std::wstring& text, std::size_t length) const;

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void SetFont(HFONT font);
    void Paint();
    void PaintLine(HDC device, std::size_t line, int y, std::size_t selectionBegin,
                   std::size_t selectionEnd);
    std::optional<std::size_t> CaretAfterKey(WPARAM key, bool control) const;
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
    std::size_t Step(std::size_t position, int lines, int characters) const;
    void ScrollToLine(std::ptrdiff_t line);
    void ScrollToPixel(int x);
    void EnsureCaretVisible();
    void UpdateScrollBars();
    void UpdateCaret();
    int VerticalScrollPosition(WPARAM request) const;

    HWND window_;
    HFONT font_ = nullptr;
    SharedText text_;
    std::vector<std::uint32_t> lineStarts_{0};
    std::size_t longestLine_ = 0;  // the line with the most bytes
    int lineHeight_ = 16;
    int tabWidth_ = 48;
    int longestLineWidth_ = 0;
    std::size_t topLine_ = 0;
    int scrollX_ = 0;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    int wheelRemainder_ = 0;
    bool updatingScrollBars_ = false;
};

}  // namespace framework::win32
