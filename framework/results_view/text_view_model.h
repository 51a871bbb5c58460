// The results field's behaviour, without a toolkit: caret and anchor, every
// move of the platform's read-only multi-line edit, the hit test, the word
// rule, what is scrolled into view, auto-scroll while a drag is outside, and
// what is drawn where. The views of both platforms turn their events into
// calls on it and paint what it says; they and the accessibility layers hear
// of every change through TextViewListener.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/results_view/text_layout.h"

namespace framework {

// What one call changed.
struct TextViewChanges {
    bool text = false;        // a new text: caret, selection and scrolling start over
    bool caret = false;       // the caret's offset
    bool selection = false;   // the selected range
    bool scroll = false;      // the first visible line or the horizontal scroll
    bool appearance = false;  // metrics, size or focus: only the picture

    bool Any() const { return text || caret || selection || scroll || appearance; }
};

class TextViewListener {
public:
    virtual void TextViewChanged(const TextViewChanges& changes) = 0;

protected:
    ~TextViewListener() = default;
};

// The keys the view acts on; the views translate their platform's keys.
enum class TextKey { Left, Right, Up, Down, PageUp, PageDown, Home, End, Insert, A, C, Other };
// A view's table from its platform's key codes to the keys the model knows:
// the key for `code`, Other when the table has none.
template <typename Code, std::size_t Size>
constexpr TextKey KeyIn(const std::array<std::pair<Code, TextKey>, Size>& table, Code code) {
    const auto known = std::find_if(table.begin(), table.end(),
                                    [code](const auto& entry) { return entry.first == code; });
    return known != table.end() ? known->second : TextKey::Other;
}
// How often a view calls AutoScroll() while NeedsAutoScroll() holds.
inline constexpr int kAutoScrollMilliseconds = 20;
struct KeyModifiers {
    bool shift = false;
    bool control = false;
};
// What became of a key or a menu command.
enum class KeyResult {
    Ignored,  // the dialog's: Tab, Enter, Escape, typing
    Handled,
    Copy,  // the view puts SelectedText() on the clipboard
};

enum class TextViewCommand { Copy, SelectAll };
struct ContextMenuEntry {
    TextViewCommand command;
    std::string_view text;  // Windows-1252, with the mnemonic's & and the key after a tab
    bool enabled;
    bool separatorBefore;
};

struct ViewPoint {
    int x = 0;
    int y = 0;
};

class TextViewModel {
public:
    static constexpr int kMargin = 2;  // pixels left and right of the text

    void AddListener(TextViewListener& listener);
    void RemoveListener(TextViewListener& listener);

    // --- Text, metrics, view
    // The text is kept as a view: its owner keeps the bytes alive and
    // unchanged until the next SetText. The buffer already shown costs nothing.
    void SetText(std::string_view text);
    bool Shows(std::string_view text) const;
    std::string_view Text() const { return layout_.Text(); }
    const TextLayout& Layout() const { return layout_; }
    void SetMetrics(const TextLayout::Advances& advances, int tabStop, int lineHeight);
    void SetTabStop(int tabStop);
    void SetViewSize(int width, int height);
    // Without focus the selection is not drawn, unless the form asks otherwise.
    void SetHideSelection(bool hide);
    void SetFocused(bool focused);

    // --- Caret and selection
    std::size_t Caret() const { return caret_; }
    std::size_t Anchor() const { return anchor_; }
    bool HasSelection() const { return anchor_ != caret_; }
    std::pair<std::size_t, std::size_t> Selection() const;  // first, last
    std::string_view SelectedText() const;
    // Both are clamped to the text; `scroll` brings the caret into view.
    void Select(std::size_t anchor, std::size_t caret, bool scroll);
    void SelectAll();  // the view stays where it is
    KeyResult PressKey(TextKey key, KeyModifiers modifiers);
    // The word a screen reader reads at `offset`: from the stop of a word move
    // left to the stop of a word move right (text::WordAround).
    std::pair<std::size_t, std::size_t> WordAt(std::size_t offset) const;
    std::vector<ContextMenuEntry> ContextMenu() const;
    KeyResult Execute(TextViewCommand command);  // a context menu entry chosen

    // --- Mouse, in view pixels
    void Press(ViewPoint point, bool extend);
    void DragTo(ViewPoint point);
    void Release();
    void DoubleClick(ViewPoint point);
    bool Dragging() const { return dragging_; }
    // While a drag is held outside the view, the view calls AutoScroll on a timer.
    bool NeedsAutoScroll() const;
    void AutoScroll();

    // --- Scrolling
    std::size_t FirstVisibleLine() const { return firstLine_; }
    int ScrollX() const { return scrollX_; }
    std::size_t VisibleLineCount() const;
    std::size_t LastFirstLine() const;  // the first visible line when scrolled to the end
    int LastScrollX() const;
    int ContentWidth() const { return layout_.Widest() + 2 * kMargin; }
    int LineHeight() const { return lineHeight_; }
    int ViewWidth() const { return viewWidth_; }
    int ViewHeight() const { return viewHeight_; }
    int HorizontalStep() const;
    void ScrollTo(std::size_t firstLine, int scrollX);
    void ScrollCaretIntoView();

    // --- Geometry and painting, in view pixels
    ViewPoint PointOf(std::size_t offset) const;  // the caret's top left at `offset`
    std::size_t OffsetAt(ViewPoint point) const;
    std::pair<std::size_t, std::size_t> LinesInView() const;  // [first, last)
    bool SelectionShown() const { return focused_ || !hideSelection_; }
    // Paints the lines in view through `face`, top to bottom: each line's
    // text, then, where the selection shows on it, its band and the text again
    // inside it. A face draws `Text(line, top)` in the current colours;
    // `Band(left, top, right, bottom)` fills the band, clips to it and takes
    // the selection's colours until `BandEnd()`.
    template <typename Face>
    void Paint(Face& face) const {
        const auto [first, last] = LinesInView();
        for (std::size_t line = first; line < last; ++line) {
            const int top = static_cast<int>(line - first) * lineHeight_;
            face.Text(line, top);
            if (const auto [left, right] = SelectionBand(line); left < right) {
                face.Band(left, top, right, top + lineHeight_);
                face.Text(line, top);
                face.BandEnd();
            }
        }
    }
    // The text of one line between its tabs, each run at its x.
    struct Run {
        std::size_t begin;
        std::size_t end;
        int x;
    };
    std::vector<Run> RunsOf(std::size_t line) const;
    // The selection's band on `line`, left and right; a selected line break
    // shows as a space's width. Empty (left == right) when nothing is drawn.
    std::pair<int, int> SelectionBand(std::size_t line) const;

private:
    struct State {
        std::size_t anchor;
        std::size_t caret;
        std::size_t firstLine;
        int scrollX;
    };
    State Now() const { return {anchor_, caret_, firstLine_, scrollX_}; }
    void Publish(const State& before, TextViewChanges changes = {});

    void KeepCaretInView();
    void MoveCaret(std::size_t caret, bool extend);
    void MoveByLines(std::ptrdiff_t lines, bool extend);
    std::size_t LineAtRow(std::ptrdiff_t row) const;
    int ViewX(std::size_t line, std::size_t offset) const;
    void ClampScroll();

    TextLayout layout_;
    std::vector<TextViewListener*> listeners_;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    int preferredX_ = -1;  // the column Up and Down keep, in pixels
    std::size_t firstLine_ = 0;
    int scrollX_ = 0;
    int lineHeight_ = 16;
    int viewWidth_ = 1;
    int viewHeight_ = 1;
    bool hideSelection_ = true;
    bool focused_ = false;
    bool dragging_ = false;
    ViewPoint dragPoint_;
};

}  // namespace framework
