#include "framework/results_view/text_view_model.h"

#include <algorithm>
#include <cassert>

#include "text/words.h"

namespace framework {

void TextViewModel::AddListener(TextViewListener& listener) {
    listeners_.push_back(&listener);
}

void TextViewModel::RemoveListener(TextViewListener& listener) {
    std::erase(listeners_, &listener);
}

// Tells the listeners what differs from `before`, besides what `changes` says.
void TextViewModel::Publish(const State& before, TextViewChanges changes) {
    // What every change leaves: caret and anchor within the text and never
    // inside a line break, a first line that exists, a scroll within reach.
    [[maybe_unused]] const auto onCharacter = [this](std::size_t offset) {
        return offset <= Text().size() && (offset == 0 || offset == Text().size() ||
                                           Text()[offset - 1] != '\r' || Text()[offset] != '\n');
    };
    assert(onCharacter(anchor_) && onCharacter(caret_));
    assert(firstLine_ <= LastFirstLine());
    assert(scrollX_ >= 0 && scrollX_ <= std::max(0, LastScrollX()));
    using Range = std::pair<std::size_t, std::size_t>;
    const auto range = [](std::size_t anchor, std::size_t caret) {
        return anchor == caret ? Range{} : Range{std::min(anchor, caret), std::max(anchor, caret)};
    };
    changes.caret |= before.caret != caret_;
    changes.selection |= range(before.anchor, before.caret) != range(anchor_, caret_);
    changes.scroll |= before.firstLine != firstLine_ || before.scrollX != scrollX_;
    if (!changes.Any()) {
        return;
    }
    const std::vector<TextViewListener*> listeners = listeners_;  // one may leave while told
    for (TextViewListener* listener : listeners) {
        listener->TextViewChanged(changes);
    }
}

// --- Text, metrics, view

bool TextViewModel::Shows(std::string_view text) const {
    return !text.empty() && text.data() == Text().data() && text.size() == Text().size();
}

void TextViewModel::SetText(std::string_view text) {
    if (Shows(text)) {
        return;  // the dialog writes its results back unchanged
    }
    const State before = Now();
    layout_.SetText(text);
    anchor_ = caret_ = 0;
    preferredX_ = -1;
    firstLine_ = 0;
    scrollX_ = 0;
    dragging_ = false;
    Publish(before, {.text = true});
}

void TextViewModel::SetMetrics(const TextLayout::Advances& advances, int tabStop, int lineHeight) {
    const State before = Now();
    layout_.SetMetrics(advances, tabStop);
    lineHeight_ = std::max(1, lineHeight);
    preferredX_ = -1;
    ClampScroll();
    Publish(before, {.appearance = true});
}

void TextViewModel::SetTabStop(int tabStop) {
    SetMetrics(layout_.ByteAdvances(), tabStop, lineHeight_);
}

void TextViewModel::SetViewSize(int width, int height) {
    const State before = Now();
    viewWidth_ = std::max(1, width);
    viewHeight_ = std::max(1, height);
    ClampScroll();
    Publish(before, {.appearance = true});
}

void TextViewModel::SetHideSelection(bool hide) {
    if (hide == hideSelection_) {
        return;
    }
    hideSelection_ = hide;
    Publish(Now(), {.appearance = true});
}

void TextViewModel::SetFocused(bool focused) {
    if (focused == focused_) {
        return;
    }
    focused_ = focused;
    dragging_ = dragging_ && focused;
    Publish(Now(), {.appearance = true});
}

// --- Caret and selection

std::pair<std::size_t, std::size_t> TextViewModel::Selection() const {
    return {std::min(anchor_, caret_), std::max(anchor_, caret_)};
}

std::string_view TextViewModel::SelectedText() const {
    const auto [first, last] = Selection();
    return Text().substr(first, last - first);
}

void TextViewModel::Select(std::size_t anchor, std::size_t caret, bool scroll) {
    const State before = Now();
    anchor_ = std::min(anchor, Text().size());
    caret_ = std::min(caret, Text().size());
    preferredX_ = -1;
    if (scroll) {
        KeepCaretInView();
    }
    Publish(before);
}

void TextViewModel::SelectAll() {
    Select(0, Text().size(), false);
}

void TextViewModel::MoveCaret(std::size_t caret, bool extend) {
    caret_ = std::min(caret, Text().size());
    if (!extend) {
        anchor_ = caret_;
    }
    preferredX_ = -1;
    KeepCaretInView();
}

// Up and down keep the column the vertical moves started in.
void TextViewModel::MoveByLines(std::ptrdiff_t lines, bool extend) {
    const std::size_t line = layout_.LineOf(caret_);
    if (preferredX_ < 0) {
        preferredX_ = layout_.XOf(line, caret_);
    }
    const int column = preferredX_;
    const auto last = static_cast<std::ptrdiff_t>(layout_.LineCount()) - 1;
    const auto target = static_cast<std::size_t>(
        std::clamp<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(line) + lines, 0, last));
    MoveCaret(layout_.OffsetAtX(target, column), extend);
    preferredX_ = column;
}

std::pair<std::size_t, std::size_t> TextViewModel::WordAt(std::size_t offset) const {
    return text::WordAround(Text(), offset);
}

KeyResult TextViewModel::PressKey(TextKey key, KeyModifiers modifiers) {
    if (modifiers.control && key == TextKey::A) {
        SelectAll();
        return KeyResult::Handled;
    }
    if (modifiers.control && (key == TextKey::C || key == TextKey::Insert)) {
        return KeyResult::Copy;
    }
    const State before = Now();
    const bool extend = modifiers.shift;
    const std::size_t line = layout_.LineOf(caret_);
    const std::size_t page = VisibleLineCount();
    switch (key) {
        case TextKey::Left:
            MoveCaret(modifiers.control ? text::PreviousWordStart(Text(), caret_)
                                        : layout_.StepBack(caret_),
                      extend);
            break;
        case TextKey::Right:
            MoveCaret(modifiers.control ? text::NextWordStart(Text(), caret_)
                                        : layout_.StepForward(caret_),
                      extend);
            break;
        case TextKey::Up:
        case TextKey::Down:
            MoveByLines(key == TextKey::Up ? -1 : 1, extend);
            break;
        case TextKey::PageUp:  // the view moves by a page, and the caret with it
            firstLine_ -= std::min(firstLine_, page);
            MoveByLines(-static_cast<std::ptrdiff_t>(page), extend);
            break;
        case TextKey::PageDown:
            firstLine_ = std::min(LastFirstLine(), firstLine_ + page);
            MoveByLines(static_cast<std::ptrdiff_t>(page), extend);
            break;
        case TextKey::Home:
            MoveCaret(modifiers.control ? 0 : layout_.LineStart(line), extend);
            break;
        case TextKey::End:
            MoveCaret(modifiers.control ? Text().size() : layout_.LineEnd(line), extend);
            break;
        default:
            return KeyResult::Ignored;
    }
    Publish(before);
    return KeyResult::Handled;
}

std::vector<ContextMenuEntry> TextViewModel::ContextMenu() const {
    const bool allSelected = Selection() == std::pair<std::size_t, std::size_t>{0, Text().size()};
    return {
        {TextViewCommand::Copy, "&Kopieren\tStrg+C", HasSelection(), false},
        {TextViewCommand::SelectAll, "&Alles markieren\tStrg+A", !Text().empty() && !allSelected,
         true},
    };
}

KeyResult TextViewModel::Execute(TextViewCommand command) {
    if (command == TextViewCommand::Copy) {
        return KeyResult::Copy;
    }
    SelectAll();
    return KeyResult::Handled;
}

// --- Mouse

void TextViewModel::Press(ViewPoint point, bool extend) {
    const State before = Now();
    dragging_ = true;
    dragPoint_ = point;
    MoveCaret(OffsetAt(point), extend);
    Publish(before);
}

// The caret follows the mouse one line past the view at most; the rest is
// AutoScroll's, so that the speed does not depend on how often the mouse moves.
void TextViewModel::DragTo(ViewPoint point) {
    if (!dragging_) {
        return;
    }
    const State before = Now();
    dragPoint_ = point;
    const int bottom = static_cast<int>(VisibleLineCount()) * lineHeight_;
    const ViewPoint near{point.x, std::clamp(point.y, -1, bottom)};
    MoveCaret(OffsetAt(near), true);
    Publish(before);
}

void TextViewModel::Release() {
    dragging_ = false;
}

// The word under the point, or the blanks.
void TextViewModel::DoubleClick(ViewPoint point) {
    const State before = Now();
    const std::size_t offset = OffsetAt(point);
    const std::size_t line = layout_.LineOf(offset);
    const std::size_t lineBegin = layout_.LineStart(line);
    const std::size_t lineEnd = layout_.LineEnd(line);
    std::size_t begin = offset;
    std::size_t end = offset;
    if (lineBegin < lineEnd) {
        const std::size_t probe = offset < lineEnd ? offset : offset - 1;
        const bool word = text::IsWordCharacter(Text()[probe]);
        begin = end = probe;
        while (begin > lineBegin && text::IsWordCharacter(Text()[begin - 1]) == word) {
            --begin;
        }
        while (end < lineEnd && text::IsWordCharacter(Text()[end]) == word) {
            ++end;
        }
    }
    anchor_ = begin;
    MoveCaret(end, true);
    Publish(before);
}

bool TextViewModel::NeedsAutoScroll() const {
    return dragging_ && (dragPoint_.y < 0 || dragPoint_.y >= viewHeight_ || dragPoint_.x < 0 ||
                         dragPoint_.x >= viewWidth_);
}

// One timer tick of a drag held outside the view: the farther out, the faster.
void TextViewModel::AutoScroll() {
    if (!NeedsAutoScroll()) {
        return;
    }
    const State before = Now();
    const int bottom = static_cast<int>(VisibleLineCount()) * lineHeight_;
    if (dragPoint_.y < 0) {
        const std::size_t lines = static_cast<std::size_t>(-dragPoint_.y / lineHeight_) + 1;
        firstLine_ -= std::min(firstLine_, lines);
    } else if (dragPoint_.y >= bottom) {
        const std::size_t lines =
            static_cast<std::size_t>((dragPoint_.y - bottom) / lineHeight_) + 1;
        firstLine_ = std::min(LastFirstLine(), firstLine_ + lines);
    }
    if (dragPoint_.x < 0) {
        scrollX_ += dragPoint_.x - HorizontalStep();
    } else if (dragPoint_.x >= viewWidth_) {
        scrollX_ += dragPoint_.x - viewWidth_ + HorizontalStep();
    }
    ClampScroll();
    const ViewPoint inside{std::clamp(dragPoint_.x, 0, viewWidth_ - 1),
                           std::clamp(dragPoint_.y, 0, std::max(0, bottom - 1))};
    MoveCaret(OffsetAt(inside), true);
    Publish(before);
}

// --- Scrolling

std::size_t TextViewModel::VisibleLineCount() const {
    return static_cast<std::size_t>(std::max(1, viewHeight_ / lineHeight_));
}

std::size_t TextViewModel::LastFirstLine() const {
    const std::size_t page = VisibleLineCount();
    return layout_.LineCount() > page ? layout_.LineCount() - page : 0;
}

// One pixel more than the content, for the caret after the widest line.
int TextViewModel::LastScrollX() const {
    return std::max(0, ContentWidth() + 1 - viewWidth_);
}

int TextViewModel::HorizontalStep() const {
    return std::max(1, layout_.ByteAdvances()['0']);
}

void TextViewModel::ClampScroll() {
    firstLine_ = std::min(firstLine_, LastFirstLine());
    scrollX_ = std::clamp(scrollX_, 0, LastScrollX());
}

void TextViewModel::ScrollTo(std::size_t firstLine, int scrollX) {
    const State before = Now();
    firstLine_ = firstLine;
    scrollX_ = scrollX;
    ClampScroll();
    Publish(before);
}

void TextViewModel::ScrollCaretIntoView() {
    const State before = Now();
    KeepCaretInView();
    Publish(before);
}

// Lines by the least that shows the caret's; across by a quarter of the view
// more, as the platform's edit does, so that what follows is in sight too.
void TextViewModel::KeepCaretInView() {
    const std::size_t line = layout_.LineOf(caret_);
    const std::size_t page = VisibleLineCount();
    if (line < firstLine_) {
        firstLine_ = line;
    } else if (line >= firstLine_ + page) {
        firstLine_ = line - page + 1;
    }
    const int x = layout_.XOf(line, caret_);
    const int width = std::max(1, viewWidth_ - 2 * kMargin);
    if (x < scrollX_) {
        scrollX_ = x - width / 4;
    } else if (x >= scrollX_ + width) {
        scrollX_ = x - width + 1 + width / 4;
    }
    ClampScroll();
}

// --- Geometry and painting

int TextViewModel::ViewX(std::size_t line, std::size_t offset) const {
    return kMargin - scrollX_ + layout_.XOf(line, offset);
}

ViewPoint TextViewModel::PointOf(std::size_t offset) const {
    const std::size_t line = layout_.LineOf(std::min(offset, Text().size()));
    const auto row = static_cast<std::ptrdiff_t>(line) - static_cast<std::ptrdiff_t>(firstLine_);
    const auto y = std::clamp<std::ptrdiff_t>(row * lineHeight_, INT32_MIN, INT32_MAX);
    return {ViewX(line, std::min(offset, Text().size())), static_cast<int>(y)};
}

std::size_t TextViewModel::LineAtRow(std::ptrdiff_t row) const {
    const auto last = static_cast<std::ptrdiff_t>(layout_.LineCount()) - 1;
    return static_cast<std::size_t>(
        std::clamp<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(firstLine_) + row, 0, last));
}

std::size_t TextViewModel::OffsetAt(ViewPoint point) const {
    // Rounded down, also above the view.
    const int row = point.y >= 0 ? point.y / lineHeight_ : -1 - (-point.y - 1) / lineHeight_;
    const std::size_t line = LineAtRow(row);
    return layout_.OffsetAtX(line, point.x - kMargin + scrollX_);
}

std::pair<std::size_t, std::size_t> TextViewModel::LinesInView() const {
    return {firstLine_, std::min(layout_.LineCount(), firstLine_ + VisibleLineCount() + 1)};
}

std::vector<TextViewModel::Run> TextViewModel::RunsOf(std::size_t line) const {
    std::vector<Run> runs;
    const std::size_t end = layout_.LineEnd(line);
    std::size_t runBegin = layout_.LineStart(line);
    int runX = 0;
    int x = 0;
    for (std::size_t i = runBegin; i < end; ++i) {
        x += layout_.Advance(static_cast<unsigned char>(Text()[i]), x);
        if (Text()[i] == '\t') {
            if (i > runBegin) {
                runs.push_back({runBegin, i, kMargin - scrollX_ + runX});
            }
            runBegin = i + 1;
            runX = x;
        }
    }
    if (end > runBegin) {
        runs.push_back({runBegin, end, kMargin - scrollX_ + runX});
    }
    return runs;
}

std::pair<int, int> TextViewModel::SelectionBand(std::size_t line) const {
    const auto [first, last] = Selection();
    const std::size_t begin = layout_.LineStart(line);
    const std::size_t end = layout_.LineEnd(line);
    if (!SelectionShown() || first == last || first > end || last <= begin) {
        return {0, 0};
    }
    const int left = ViewX(line, std::max(first, begin));
    int right = ViewX(line, std::min(last, end));
    if (last > end && line + 1 < layout_.LineCount()) {
        right += layout_.ByteAdvances()[' '];
    }
    return {left, right};
}

}  // namespace framework
