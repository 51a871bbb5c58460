#include "framework/qt/text_view.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <array>

#include "framework/qt/clipboard.h"
#include "framework/qt/qt_text.h"
#include "framework/qt/text_announcements.h"

namespace framework {
namespace {

constexpr std::array<std::pair<int, TextKey>, 11> kKeys{{
    {Qt::Key_Left, TextKey::Left},
    {Qt::Key_Right, TextKey::Right},
    {Qt::Key_Up, TextKey::Up},
    {Qt::Key_Down, TextKey::Down},
    {Qt::Key_PageUp, TextKey::PageUp},
    {Qt::Key_PageDown, TextKey::PageDown},
    {Qt::Key_Home, TextKey::Home},
    {Qt::Key_End, TextKey::End},
    {Qt::Key_Insert, TextKey::Insert},
    {Qt::Key_A, TextKey::A},
    {Qt::Key_C, TextKey::C},
}};

ViewPoint PointOf(const QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    return {point.x(), point.y()};
}

}  // namespace

TextView::TextView(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setCursor(Qt::IBeamCursor);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // Each byte of the code page maps to one character.
    for (std::size_t byte = 0; byte < characters_.size(); ++byte) {
        characters_[byte] = QChar(text::Windows1252ToUnicode(static_cast<unsigned char>(byte)));
    }
    model_.AddListener(*this);
    measureFont();
}

TextView::~TextView() {
    model_.RemoveListener(*this);
}

void TextView::setText(platform::SharedText text) {
    if (model_.Shows(BytesOf(text))) {
        return;  // the dialog writes its results back unchanged
    }
    AnnounceTextRemoval(*this, model_);  // while the old text is still there
    text_ = std::move(text);
    model_.SetText(BytesOf(text_));
}

const std::string& TextView::text() const {
    return BytesOf(text_);
}

// --- What the model says

void TextView::TextViewChanged(const TextViewChanges& changes) {
    if (changes.text || changes.scroll || changes.appearance) {
        updateScrollBars();
    }
    if (changes.caret || changes.text) {
        restartCaretBlink();
    }
    if (changes.selection && !model_.Dragging()) {
        publishSelection();
    }
    AnnounceChanges(*this, model_, changes);
    viewport()->update();
}

void TextView::updateScrollBars() {
    updatingScrollBars_ = true;  // setting a bar's value comes back as scrollContentsBy
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0,
                       static_cast<int>(std::min<std::size_t>(model_.LastFirstLine(), INT32_MAX)));
    vertical->setPageStep(static_cast<int>(model_.VisibleLineCount()));
    vertical->setSingleStep(1);
    vertical->setValue(static_cast<int>(model_.FirstVisibleLine()));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, model_.LastScrollX());
    horizontal->setPageStep(std::max(1, viewport()->width()));
    horizontal->setSingleStep(model_.HorizontalStep());
    horizontal->setValue(model_.ScrollX());
    updatingScrollBars_ = false;
}

void TextView::scrollContentsBy(int, int) {
    if (!updatingScrollBars_) {
        model_.ScrollTo(static_cast<std::size_t>(verticalScrollBar()->value()),
                        horizontalScrollBar()->value());
    }
}

void TextView::publishSelection() {
    if (model_.HasSelection()) {
        const auto [first, last] = model_.Selection();
        OfferPrimarySelection(text_, first, last);
    }
}

void TextView::copy() const {
    if (model_.HasSelection()) {
        const auto [first, last] = model_.Selection();
        CopySelection(text_, first, last);
    }
}

// --- Metrics

void TextView::measureFont() {
    QFont unkerned = font();
    unkerned.setKerning(false);
    if (unkerned != font()) {
        setFont(unkerned);  // comes back here through changeEvent
        return;
    }
    const QFontMetrics metrics(font());
    TextLayout::Advances advances{};
    for (std::size_t byte = 0x20; byte < advances.size(); ++byte) {
        advances[byte] = metrics.horizontalAdvance(characters_[byte]);
    }
    model_.SetMetrics(advances, model_.Layout().TabStop(), metrics.height());
}

void TextView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        measureFont();
    }
    QAbstractScrollArea::changeEvent(event);
}

void TextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    model_.SetViewSize(viewport()->width(), viewport()->height());
}

// --- Painting

// The frame, and over it while focused a line in the highlight colour, as
// the style marks a focused line edit.
bool TextView::event(QEvent* event) {
    const bool handled = QAbstractScrollArea::event(event);
    if (event->type() == QEvent::Paint && hasFocus() && frameShape() != QFrame::NoFrame) {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Active, QPalette::Highlight));
        painter.drawRect(frameRect().adjusted(0, 0, -1, -1));
    }
    return handled;
}

// Text on the base colour, as the platform's text fields paint, read-only or not.
void TextView::paintEvent(QPaintEvent*) {
    // Draws what the model says with a painter on the viewport.
    struct Face {
        const TextView& view;
        QPainter painter;
        QPalette::ColorGroup group;
        int ascent;
        QString segment;

        void Text(std::size_t line, int top) {
            for (const TextViewModel::Run& run : view.model_.RunsOf(line)) {
                segment.resize(static_cast<qsizetype>(run.end - run.begin));
                for (std::size_t i = run.begin; i < run.end; ++i) {
                    segment[static_cast<qsizetype>(i - run.begin)] =
                        view.characters_[static_cast<unsigned char>(view.text()[i])];
                }
                painter.drawText(run.x, top + ascent, segment);
            }
        }
        void Band(int left, int top, int right, int bottom) {
            const QRect band(left, top, right - left, bottom - top);
            painter.fillRect(band, view.palette().color(group, QPalette::Highlight));
            painter.save();
            painter.setClipRect(band);
            painter.setPen(view.palette().color(group, QPalette::HighlightedText));
        }
        void BandEnd() { painter.restore(); }
    };
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const QColor plainText = palette().color(group, QPalette::Text);
    Face face{*this, QPainter(viewport()), group, fontMetrics().ascent(), {}};
    face.painter.setPen(plainText);
    model_.Paint(face);
    if (hasFocus() && caretShown_) {
        const ViewPoint caret = model_.PointOf(model_.Caret());
        face.painter.fillRect(caret.x, caret.y, 1, model_.LineHeight(), plainText);
    }
}

void TextView::restartCaretBlink() {
    caretShown_ = true;
    const int interval = QApplication::cursorFlashTime() / 2;
    if (hasFocus() && interval > 0) {
        caretTimer_.start(interval, this);
    }
}

// --- Keyboard and mouse

void TextView::keyPressEvent(QKeyEvent* event) {
    const KeyModifiers modifiers{(event->modifiers() & Qt::ShiftModifier) != 0,
                                 (event->modifiers() & Qt::ControlModifier) != 0};
    switch (model_.PressKey(KeyIn(kKeys, event->key()), modifiers)) {
        case KeyResult::Copy:
            copy();
            return;
        case KeyResult::Handled:
            return;
        case KeyResult::Ignored:
            if (!event->text().isEmpty() && event->text().front().isPrint()) {
                QApplication::beep();  // read-only: typing is refused
            } else {
                event->ignore();  // Tab, Enter and Escape: the dialog's
            }
            return;
    }
}

void TextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    model_.Press(PointOf(event), (event->modifiers() & Qt::ShiftModifier) != 0);
}

void TextView::mouseMoveEvent(QMouseEvent* event) {
    model_.DragTo(PointOf(event));
    followDrag();
}

void TextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && model_.Dragging()) {
        model_.Release();
        autoScrollTimer_.stop();
        publishSelection();
    }
}

void TextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        model_.DoubleClick(PointOf(event));
    }
}

// Auto-scroll runs while a drag is held outside the view.
void TextView::followDrag() {
    if (!model_.NeedsAutoScroll()) {
        autoScrollTimer_.stop();
    } else if (!autoScrollTimer_.isActive()) {
        autoScrollTimer_.start(kAutoScrollMilliseconds, this);
    }
}

void TextView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    for (const ContextMenuEntry& entry : model_.ContextMenu()) {
        if (entry.separatorBefore) {
            menu.addSeparator();
        }
        QAction* action = menu.addAction(FromWindows1252(entry.text));
        action->setEnabled(entry.enabled);
        action->setData(static_cast<int>(entry.command));
    }
    const QAction* chosen = menu.exec(event->globalPos());
    if (chosen != nullptr &&
        model_.Execute(static_cast<TextViewCommand>(chosen->data().toInt())) == KeyResult::Copy) {
        copy();
    }
}

// Reached by Tab, the view keeps its caret and selection, as text fields on
// Linux do (Windows' dialog manager selects all instead, and its view leaves
// that to it); a screen reader then reads the current line, not the table.
void TextView::focusInEvent(QFocusEvent* event) {
    model_.SetFocused(true);
    restartCaretBlink();
    update();  // the focus frame
    QAbstractScrollArea::focusInEvent(event);
}

void TextView::focusOutEvent(QFocusEvent* event) {
    caretTimer_.stop();
    autoScrollTimer_.stop();
    caretShown_ = false;
    model_.SetFocused(false);
    update();
    QAbstractScrollArea::focusOutEvent(event);
}

void TextView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == caretTimer_.timerId()) {
        caretShown_ = !caretShown_;
        viewport()->update();
    } else if (event->timerId() == autoScrollTimer_.timerId()) {
        model_.AutoScroll();
        followDrag();
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

}  // namespace framework
