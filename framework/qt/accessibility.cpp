#include "framework/qt/accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QGroupBox>
#include <QRadioButton>
#include <algorithm>

#include "framework/qt/qt_text.h"
#include "framework/qt/text_view.h"

namespace framework {
namespace {

// A radio button. The dialogs keep radio groups by their own rules, not by
// Qt's auto-exclusivity, and Qt's own interface then calls it a check box.
class RadioButtonAccessible : public QAccessibleWidget {
public:
    explicit RadioButtonAccessible(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->isChecked();
        return state;
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return QString(Button()->text()).remove(u'&');
        }
        return QAccessibleWidget::text(kind);
    }
    // The group box around the button labels it, as Qt does for a group box
    // that is the button's parent: in a dialog's form it is a sibling.
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override {
        auto found = QAccessibleWidget::relations(match);
        if ((match & QAccessible::Label) == 0 || widget()->parentWidget() == nullptr) {
            return found;
        }
        const QRect area = widget()->geometry();
        const QList<QGroupBox*> boxes =
            widget()->parentWidget()->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly);
        const auto around = std::find_if(boxes.begin(), boxes.end(), [&area](QGroupBox* box) {
            return box->geometry().contains(area);
        });
        if (around != boxes.end()) {
            found.append({QAccessible::queryAccessibleInterface(*around), QAccessible::Label});
        }
        return found;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction(), toggleAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction() || action == toggleAction()) {
            Button()->click();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

// The results view: read-only multi-line text, given as the layout's
// screen-reader text (one line feed per break), so that Orca never reads a
// carriage return. Lines are answered from the view's own index and words
// by the keyboard's rule, so reading a large table line by line stays fast.
class TextViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
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
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
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
    // One run without attributes over the whole text: Orca ends a line where
    // a run ends.
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                             int* endOffset) const override {
        const std::size_t begin = Unit(offset, type).first;
        return begin == 0 ? Empty(startOffset, endOffset)
                          : TextOfUnit(Offset(begin) - 1, type, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                            int* endOffset) const override {
        const std::size_t end = Unit(offset, type).second;
        return end >= View()->text().size() ? Empty(startOffset, endOffset)
                                            : TextOfUnit(Offset(end), type, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                         int* endOffset) const override {
        return TextOfUnit(offset, type, startOffset, endOffset);
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
    static QString Empty(int* startOffset, int* endOffset) {
        *startOffset = *endOffset = -1;
        return {};
    }

    // The unit of `type` that holds `offset`: a character, a word within its
    // line, or the line with its line end (sentences and paragraphs are lines
    // in a table).
    std::pair<std::size_t, std::size_t> Unit(int offset, QAccessible::TextBoundaryType type) const {
        const std::size_t size = View()->text().size();
        const std::size_t at = std::min(Index(offset), size);
        if (type == QAccessible::NoBoundary) {
            return {0, size};
        }
        if (type == QAccessible::CharBoundary) {
            return {at, Model().Layout().StepForward(at)};
        }
        if (type == QAccessible::WordBoundary) {
            return Model().WordAt(at);
        }
        const TextLayout& layout = Model().Layout();
        const std::size_t line = layout.LineOf(at);
        return {layout.LineStart(line), layout.NextLineStart(line)};
    }
    QString TextOfUnit(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                       int* endOffset) const {
        const auto [begin, end] = Unit(offset, type);
        *startOffset = Offset(begin);
        *endOffset = Offset(end);
        return text(*startOffset, *endOffset);
    }
};

// Never shown: screen readers hear it appear and say its name.
class AnnouncementWidget : public QWidget {
public:
    using QWidget::QWidget;
};

QAccessibleInterface* CreateInterface(const QString&, QObject* object) {
    if (auto* announcement = dynamic_cast<AnnouncementWidget*>(object)) {
        return new QAccessibleWidget(announcement, QAccessible::Notification);
    }
    if (auto* view = qobject_cast<TextView*>(object)) {
        return new TextViewAccessible(view);
    }
    if (auto* radio = qobject_cast<QRadioButton*>(object)) {
        return new RadioButtonAccessible(radio);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&CreateInterface);
        return true;
    }();
    static_cast<void>(installed);
}

void Announce(QWidget& window, const QString& text) {
    const QObjectList& children = window.children();
    const auto found = std::find_if(children.begin(), children.end(), [](QObject* child) {
        return dynamic_cast<AnnouncementWidget*>(child) != nullptr;
    });
    auto* announcement =
        found != children.end() ? static_cast<AnnouncementWidget*>(*found) : nullptr;
    if (announcement == nullptr) {
        announcement = new AnnouncementWidget(&window);
        announcement->hide();
    }
    announcement->setAccessibleName(text);
    if (QAccessible::isActive()) {
        QAccessibleEvent shown(announcement, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
}

}  // namespace framework
