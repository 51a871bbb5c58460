#include "framework/qt/text_accessibility.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <algorithm>
#include <string_view>
#include <tuple>
#include <utility>

#include "framework/qt/qt_text.h"
#include "framework/qt/text_view.h"
#include "text/words.h"

namespace framework {
namespace {

// The boundary questions (the text at, before and after an offset), answered
// from one question a text answers itself: the unit of a kind that holds an
// offset, in the screen reader's offsets. Every answer is a few steps from
// the offset, so no question can keep the program waiting.
class TextUnits : public QAccessibleTextInterface {
public:
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                             int* endOffset) const final {
        const int begin = UnitAt(offset, type).first;
        return begin <= 0 ? Empty(startOffset, endOffset)
                          : TextOfUnit(begin - 1, type, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                            int* endOffset) const final {
        const int end = UnitAt(offset, type).second;
        return end >= characterCount() ? Empty(startOffset, endOffset)
                                       : TextOfUnit(end, type, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                         int* endOffset) const final {
        return TextOfUnit(offset, type, startOffset, endOffset);
    }
    void addSelection(int startOffset, int endOffset) final {
        setSelection(0, startOffset, endOffset);
    }
    // One run without attributes over the whole text: Orca ends a line where
    // a run ends.
    QString attributes(int, int* startOffset, int* endOffset) const final {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

protected:
    ~TextUnits() override = default;
    // The unit of `type` that holds `offset` (clamped to the text), [first, second).
    virtual std::pair<int, int> UnitAt(int offset, QAccessible::TextBoundaryType type) const = 0;

private:
    static QString Empty(int* startOffset, int* endOffset) {
        *startOffset = *endOffset = -1;
        return {};
    }
    QString TextOfUnit(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                       int* endOffset) const {
        std::tie(*startOffset, *endOffset) = UnitAt(offset, type);
        return text(*startOffset, *endOffset);
    }
};

// The results view: read-only multi-line text, given as the layout's
// screen-reader text (one line feed per break), so that Orca never reads a
// carriage return. Lines are answered from the view's own index and words
// by the keyboard's rule, so reading a large table line by line stays fast.
class TextViewAccessible : public QAccessibleWidget, public TextUnits {
public:
    explicit TextViewAccessible(TextView* view)
        : QAccessibleWidget(view, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        state.focusable = true;
        return state;
    }

    // --- QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && Model().HasSelection()) {
            const auto [first, last] = Model().Selection();
            *startOffset = Offset(first);
            *endOffset = Offset(last);
        }
    }
    int selectionCount() const override { return Model().HasSelection() ? 1 : 0; }
    void removeSelection(int) override { View()->select(Model().Caret(), Model().Caret(), false); }
    void setSelection(int, int startOffset, int endOffset) override {
        View()->select(Index(startOffset), Index(endOffset), true);
    }
    int cursorPosition() const override { return Offset(Model().Caret()); }
    void setCursorPosition(int position) override {
        View()->select(Index(position), Index(position), true);
    }
    QString text(int startOffset, int endOffset) const override {
        const std::size_t count = Model().Layout().CharacterCount();
        const std::size_t first = std::min(Character(startOffset), count);
        const std::size_t last = std::clamp(Character(endOffset), first, count);
        return FromWindows1252(Model().Layout().CharacterText(first, last));
    }
    QString text(QAccessible::Text kind) const override { return QAccessibleWidget::text(kind); }
    int characterCount() const override {
        return AccessibleOffset(Model().Layout().CharacterCount());
    }
    QRect characterRect(int offset) const override {
        // The character's cell in the view: its advance wide (a line end one pixel).
        const std::size_t at = std::min(Index(offset), Model().Text().size());
        const TextLayout& layout = Model().Layout();
        const std::size_t line = layout.LineOf(at);
        const int width = at < layout.LineEnd(line)
                              ? layout.Advance(static_cast<unsigned char>(Model().Text()[at]),
                                               layout.XOf(line, at))
                              : 1;
        const ViewPoint corner = Model().PointOf(at);
        return {View()->viewport()->mapToGlobal(QPoint(corner.x, corner.y)),
                QSize(std::max(1, width), Model().LineHeight())};
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = View()->viewport()->mapFromGlobal(point);
        return Offset(Model().OffsetAt({local.x(), local.y()}));
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        View()->select(Index(startIndex), Index(endIndex), true);
    }

private:
    TextView* View() const { return static_cast<TextView*>(widget()); }
    const TextViewModel& Model() const { return View()->model(); }
    static std::size_t Character(int offset) {
        return static_cast<std::size_t>(std::max(0, offset));
    }
    // Between the screen reader's characters and the text's bytes.
    int Offset(std::size_t index) const {
        return AccessibleOffset(Model().Layout().CharacterAt(index));
    }
    std::size_t Index(int offset) const {
        return Model().Layout().OffsetOfCharacter(Character(offset));
    }

    // A character, a word as the keyboard moves by them, or the line with its
    // line end (sentences and paragraphs are lines in a table).
    std::pair<int, int> UnitAt(int offset, QAccessible::TextBoundaryType type) const override {
        const std::size_t size = View()->text().size();
        const std::size_t at = std::min(Index(offset), size);
        const TextLayout& layout = Model().Layout();
        std::pair<std::size_t, std::size_t> unit{0, size};
        if (type == QAccessible::CharBoundary) {
            unit = {at, layout.StepForward(at)};
        } else if (type == QAccessible::WordBoundary) {
            unit = Model().WordAt(at);
        } else if (type != QAccessible::NoBoundary) {
            const std::size_t line = layout.LineOf(at);
            unit = {layout.LineStart(line), layout.NextLineStart(line)};
        }
        return {Offset(unit.first), Offset(unit.second)};
    }
};

// An input field. Qt's own interface for a line edit can search for a word
// boundary at the end of the text for ever (Qt 6.4), so the fields answer
// every text question themselves, with the results' word rule, and keep what
// Qt's interface said otherwise: role, state, value, caret and selection.
class LineEditAccessible : public QAccessibleWidget,
                           public TextUnits,
                           public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (type == QAccessible::EditableTextInterface) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = Edit()->isReadOnly();
        state.editable = !Edit()->isReadOnly();
        state.passwordEdit = Edit()->echoMode() != QLineEdit::Normal;
        state.selectableText = true;
        return state;
    }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? Edit()->displayText() : QAccessibleWidget::text(kind);
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind == QAccessible::Value && !Edit()->isReadOnly()) {
            Edit()->setText(text);
        } else {
            QAccessibleWidget::setText(kind, text);
        }
    }

    // --- QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && Edit()->hasSelectedText()) {
            *startOffset = Edit()->selectionStart();
            *endOffset = Edit()->selectionEnd();
        }
    }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void removeSelection(int) override { Edit()->deselect(); }
    void setSelection(int, int startOffset, int endOffset) override {
        const int first = Clamped(startOffset);
        Edit()->setSelection(first, Clamped(endOffset) - first);
    }
    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(Clamped(position)); }
    QString text(int startOffset, int endOffset) const override {
        const int first = Clamped(startOffset);
        return Edit()->displayText().mid(first, std::max(0, Clamped(endOffset) - first));
    }
    int characterCount() const override { return static_cast<int>(Edit()->displayText().size()); }
    // The character's cell: the caret's rectangle moved by the advance of the
    // text between the caret and the character.
    QRect characterRect(int offset) const override {
        const QString shown = Edit()->displayText();
        const int at = Clamped(offset);
        const QFontMetrics metrics = Edit()->fontMetrics();
        const QRect caret = Edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = caret.x() + metrics.horizontalAdvance(shown.left(at)) -
                      metrics.horizontalAdvance(shown.left(Edit()->cursorPosition()));
        const int width = at < shown.size() ? metrics.horizontalAdvance(shown.mid(at, 1)) : 1;
        return {Edit()->mapToGlobal(QPoint(x, caret.y())), QSize(width, caret.height())};
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        Edit()->setCursorPosition(Clamped(endIndex));
        Edit()->setCursorPosition(Clamped(startIndex));
    }

    // --- QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override {
        replaceText(startOffset, endOffset, {});
    }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        if (Edit()->isReadOnly()) {
            return;
        }
        const int first = Clamped(startOffset);
        const int last = std::max(first, Clamped(endOffset));
        Edit()->setText(Edit()->text().replace(first, last - first, text));
        Edit()->setCursorPosition(first + static_cast<int>(text.size()));
    }

private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
    int Clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }

    // A character (a surrogate pair is one), a word as the results' words,
    // or the whole field, which is one line.
    std::pair<int, int> UnitAt(int offset, QAccessible::TextBoundaryType type) const override {
        const QString shown = Edit()->displayText();
        const int at = Clamped(offset);
        if (type == QAccessible::CharBoundary) {
            const bool pair = at + 1 < shown.size() && shown.at(at).isHighSurrogate() &&
                              shown.at(at + 1).isLowSurrogate();
            return {at, std::min(at + (pair ? 2 : 1), characterCount())};
        }
        if (type == QAccessible::WordBoundary) {
            const auto [begin, end] =
                text::WordAround(Utf16Of(shown), static_cast<std::size_t>(at));
            return {static_cast<int>(begin), static_cast<int>(end)};
        }
        return {0, characterCount()};
    }
};

}  // namespace

QAccessibleInterface* CreateTextViewAccessible(TextView* view) {
    return new TextViewAccessible(view);
}

QAccessibleInterface* CreateLineEditAccessible(QLineEdit* edit) {
    return new LineEditAccessible(edit);
}

}  // namespace framework
