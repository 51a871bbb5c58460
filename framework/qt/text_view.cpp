#include "framework/qt/text_view.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cctype>
#include <cstring>

#include "framework/qt/qt_text.h"

namespace framework {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

TextView::TextView(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Window);  // read-only: the dialog's colour
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // Each byte of the code page maps to one character.
    for (std::size_t byte = 0; byte < characters_.size(); ++byte) {
        characters_[byte] = QChar(wertomat::Windows1252ToUnicode(static_cast<unsigned char>(byte)));
    }
    measureFont();
}

void TextView::setText(const CString& text) {
    if (text.SharesBufferWith(text_) && !text.IsEmpty()) {
        return;  // already shown
    }
    text_ = text;
    layout_.SetText(text_.Bytes());
    anchor_ = cursor_ = 0;
    preferredX_ = -1;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

void TextView::setTabStopWidth(int pixels) {
    layout_.SetMetrics(layout_.ByteAdvances(), pixels);
    updateScrollBars();
    viewport()->update();
}

void TextView::selectAll() {
    anchor_ = 0;
    cursor_ = text().size();
    viewport()->update();
    publishSelection();
}

namespace {

// What is selected, offered as the X11 primary selection; its text is made
// only when somebody pastes it, so selecting a large table costs nothing.
class SelectionData : public QMimeData {
public:
    SelectionData(CString text, std::size_t first, std::size_t last)
        : text_(std::move(text)), first_(first), last_(last) {}

    QStringList formats() const override { return {QStringLiteral("text/plain")}; }
    bool hasFormat(const QString& mimeType) const override {
        return mimeType == QStringLiteral("text/plain");
    }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override {
        if (!hasFormat(mimeType)) {
            return {};
        }
        return FromWindows1252(std::string_view(text_).substr(first_, last_ - first_));
    }

private:
    CString text_;  // shares the view's buffer
    std::size_t first_;
    std::size_t last_;
};

}  // namespace

void TextView::publishSelection() {
    QClipboard* clipboard = QApplication::clipboard();
    if (!hasSelection() || !clipboard->supportsSelection()) {
        return;
    }
    const auto [first, last] = std::minmax(anchor_, cursor_);
    clipboard->setMimeData(new SelectionData(text_, first, last), QClipboard::Selection);
}

void TextView::setSelection(std::size_t anchor, std::size_t cursor) {
    anchor_ = std::min(anchor, text().size());
    moveCursor(cursor, true);
    publishSelection();
}

TextView::LineSpan TextView::lineAround(std::size_t offset) const {
    const std::size_t line = layout_.LineOf(std::min(offset, text().size()));
    return {layout_.LineStart(line), layout_.LineEnd(line), layout_.NextLineStart(line)};
}

QRect TextView::characterRect(std::size_t offset) const {
    offset = std::min(offset, text().size());
    const std::size_t line = layout_.LineOf(offset);
    const int x = kMargin - horizontalScrollBar()->value() + layout_.XOf(line, offset);
    const int y = (static_cast<int>(line) - static_cast<int>(firstVisibleLine())) * lineHeight();
    const int width =
        offset < layout_.LineEnd(line)
            ? layout_.Advance(static_cast<unsigned char>(text()[offset]), layout_.XOf(line, offset))
            : 1;
    return {x, y, std::max(1, width), lineHeight()};
}

std::string TextView::selectedText() const {
    const auto [first, last] = std::minmax(anchor_, cursor_);
    return text().substr(first, last - first);
}

void TextView::copy() const {
    if (hasSelection()) {
        QApplication::clipboard()->setText(FromWindows1252(selectedText()));
    }
}

std::size_t TextView::firstVisibleLine() const {
    return static_cast<std::size_t>(verticalScrollBar()->value());
}

int TextView::lineHeight() const {
    return std::max(1, fontMetrics().height());
}

int TextView::visibleLineCount() const {
    return std::max(1, (viewport()->height() - kMargin) / lineHeight());
}

std::size_t TextView::offsetAt(QPoint point) const {
    const int row = point.y() < 0 ? -1 : point.y() / lineHeight();
    const auto wanted = static_cast<long long>(firstVisibleLine()) + row;
    const std::size_t line = static_cast<std::size_t>(
        std::clamp<long long>(wanted, 0, static_cast<long long>(layout_.LineCount()) - 1));
    return layout_.OffsetAtX(line, point.x() + horizontalScrollBar()->value() - kMargin);
}

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
    layout_.SetMetrics(advances, layout_.TabStop());
    updateScrollBars();
    viewport()->update();
}

void TextView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        measureFont();
    }
    QAbstractScrollArea::changeEvent(event);
}

void TextView::updateScrollBars() {
    const int pageLines = visibleLineCount();
    const int lines = static_cast<int>(std::min<std::size_t>(layout_.LineCount(), INT32_MAX));
    verticalScrollBar()->setRange(0, std::max(0, lines - pageLines));
    verticalScrollBar()->setPageStep(pageLines);
    verticalScrollBar()->setSingleStep(1);
    const int viewWidth = viewport()->width();
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth() - viewWidth));
    horizontalScrollBar()->setPageStep(std::max(1, viewWidth));
    horizontalScrollBar()->setSingleStep(std::max(1, layout_.ByteAdvances()['0']));
}

void TextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TextView::scrollContentsBy(int, int) {
    viewport()->update();
}

// What every line of one paint event shares.
struct TextView::PaintPass {
    QPainter& painter;
    const QPalette& colours;
    int height;
    int ascent;
    int left;
    std::size_t selectionFirst;
    std::size_t selectionLast;
    bool focused;
    QString segment;  // reused for every run of text

    QColor Colour(QPalette::ColorRole role) const {
        return colours.color(focused ? QPalette::Active : QPalette::Inactive, role);
    }
};

void TextView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    PaintPass pass{painter,
                   palette(),
                   lineHeight(),
                   fontMetrics().ascent(),
                   kMargin - horizontalScrollBar()->value(),
                   std::min(anchor_, cursor_),
                   std::max(anchor_, cursor_),
                   hasFocus(),
                   {}};
    const std::size_t first = firstVisibleLine();
    const std::size_t last =
        std::min(layout_.LineCount(), first + static_cast<std::size_t>(visibleLineCount()) + 2);
    for (std::size_t line = first; line < last; ++line) {
        const int top = static_cast<int>(line - first) * pass.height;
        paintSelection(pass, line, top);
        paintLineText(pass, line, top);
    }
    if (pass.focused && caretShown_) {
        const std::size_t line = layout_.LineOf(cursor_);
        if (line >= first && line < last) {
            const int top = static_cast<int>(line - first) * pass.height;
            painter.fillRect(pass.left + layout_.XOf(line, cursor_), top, 1, pass.height,
                             pass.colours.color(QPalette::Text));
        }
    }
}

// The selection behind the text; a selected line end shows as a little space.
void TextView::paintSelection(PaintPass& pass, std::size_t line, int top) const {
    const std::size_t begin = layout_.LineStart(line);
    const std::size_t end = layout_.LineEnd(line);
    if (pass.selectionFirst >= pass.selectionLast || pass.selectionFirst > end ||
        pass.selectionLast <= begin) {
        return;
    }
    const int x1 = layout_.XOf(line, std::max(pass.selectionFirst, begin));
    int x2 = layout_.XOf(line, std::min(pass.selectionLast, end));
    if (pass.selectionLast > end && line + 1 < layout_.LineCount()) {
        x2 += layout_.ByteAdvances()[' '];
    }
    pass.painter.fillRect(pass.left + x1, top, x2 - x1, pass.height,
                          pass.Colour(QPalette::Highlight));
}

// The text of one line, one run between tabs at a time.
void TextView::paintLineText(PaintPass& pass, std::size_t line, int top) const {
    const std::size_t end = layout_.LineEnd(line);
    int x = 0;
    std::size_t runStart = layout_.LineStart(line);
    int runX = 0;
    for (std::size_t i = runStart; i < end; ++i) {
        const auto byte = static_cast<unsigned char>(text()[i]);
        if (byte != '\t') {
            x += layout_.ByteAdvances()[byte];
            continue;
        }
        paintRun(pass, runStart, i, runX, top);
        x += layout_.Advance(byte, x);
        runStart = i + 1;
        runX = x;
    }
    paintRun(pass, runStart, end, runX, top);
}

// A run without tabs, split where the selection starts or ends so that each
// piece has its colour.
void TextView::paintRun(PaintPass& pass, std::size_t runStart, std::size_t runEnd, int x,
                        int top) const {
    if (runEnd <= runStart) {
        return;
    }
    pass.segment.resize(static_cast<qsizetype>(runEnd - runStart));
    for (std::size_t i = runStart; i < runEnd; ++i) {
        pass.segment[static_cast<qsizetype>(i - runStart)] =
            characters_[static_cast<unsigned char>(text()[i])];
    }
    std::size_t piece = runStart;
    while (piece < runEnd) {
        const bool selected = piece >= pass.selectionFirst && piece < pass.selectionLast;
        const std::size_t pieceEnd = std::min(
            runEnd, selected ? pass.selectionLast
                             : (pass.selectionFirst > piece ? pass.selectionFirst : runEnd));
        pass.painter.setPen(pass.Colour(selected ? QPalette::HighlightedText : QPalette::Text));
        pass.painter.drawText(pass.left + x, top + pass.ascent,
                              pass.segment.mid(static_cast<qsizetype>(piece - runStart),
                                               static_cast<qsizetype>(pieceEnd - piece)));
        for (std::size_t i = piece; i < pieceEnd; ++i) {
            x += layout_.ByteAdvances()[static_cast<unsigned char>(text()[i])];
        }
        piece = pieceEnd;
    }
}

void TextView::moveCursor(std::size_t offset, bool keepAnchor) {
    cursor_ = std::min(offset, text().size());
    if (!keepAnchor) {
        anchor_ = cursor_;
    }
    ensureCursorVisible();
    restartCaretBlink();
    viewport()->update();
}

void TextView::ensureCursorVisible() {
    const std::size_t line = layout_.LineOf(cursor_);
    const auto first = firstVisibleLine();
    const auto page = static_cast<std::size_t>(visibleLineCount());
    if (line < first) {
        verticalScrollBar()->setValue(static_cast<int>(line));
    } else if (line >= first + page) {
        verticalScrollBar()->setValue(static_cast<int>(line - page + 1));
    }
    const int x = layout_.XOf(line, cursor_) + kMargin;
    const int scroll = horizontalScrollBar()->value();
    if (x < scroll + kMargin) {
        horizontalScrollBar()->setValue(x - kMargin);
    } else if (x > scroll + viewport()->width() - kMargin) {
        horizontalScrollBar()->setValue(x - viewport()->width() + kMargin);
    }
}

std::size_t TextView::wordStartBefore(std::size_t offset) const {
    while (offset > 0 && std::isspace(static_cast<unsigned char>(text()[offset - 1]))) {
        --offset;
    }
    while (offset > 0 && !std::isspace(static_cast<unsigned char>(text()[offset - 1]))) {
        --offset;
    }
    return offset;
}

std::size_t TextView::wordStartAfter(std::size_t offset) const {
    while (offset < text().size() && !std::isspace(static_cast<unsigned char>(text()[offset]))) {
        ++offset;
    }
    while (offset < text().size() && std::isspace(static_cast<unsigned char>(text()[offset]))) {
        ++offset;
    }
    return offset;
}

// One character or word to the left or right; line ends count as one step.
void TextView::moveSideways(bool forwards, bool byWord, bool extend) {
    if (byWord) {
        moveCursor(forwards ? wordStartAfter(cursor_) : wordStartBefore(cursor_), extend);
        return;
    }
    const std::size_t offset = forwards ? layout_.StepForward(cursor_) : layout_.StepBack(cursor_);
    if (offset != cursor_) {
        moveCursor(offset, extend);
    }
}

// To line `target` (clamped), keeping the column the vertical moves started in.
void TextView::moveToLine(long long target, bool extend) {
    const auto line = static_cast<std::size_t>(
        std::clamp<long long>(target, 0, static_cast<long long>(layout_.LineCount()) - 1));
    if (preferredX_ < 0) {
        preferredX_ = layout_.XOf(layout_.LineOf(cursor_), cursor_);
    }
    const int keepX = preferredX_;
    const std::size_t offset = layout_.OffsetAtX(line, keepX);
    moveCursor(offset, extend);
    preferredX_ = keepX;
    if (extend) {
        publishSelection();
    }
}

void TextView::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Copy ||
        (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ControlModifier)) {
        copy();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        selectAll();
        return;
    }
    const bool extend = (event->modifiers() & Qt::ShiftModifier) != 0;
    const bool byWord = (event->modifiers() & Qt::ControlModifier) != 0;
    const auto line = static_cast<long long>(layout_.LineOf(cursor_));
    const auto page = static_cast<long long>(visibleLineCount());
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
            moveSideways(event->key() == Qt::Key_Right, byWord, extend);
            break;
        case Qt::Key_Up:
            moveToLine(line - 1, extend);
            return;
        case Qt::Key_Down:
            moveToLine(line + 1, extend);
            return;
        case Qt::Key_PageUp:
            moveToLine(line - page, extend);
            return;
        case Qt::Key_PageDown:
            moveToLine(line + page, extend);
            return;
        case Qt::Key_Home:
            moveCursor(byWord ? 0 : layout_.LineStart(static_cast<std::size_t>(line)), extend);
            break;
        case Qt::Key_End:
            moveCursor(byWord ? text().size() : layout_.LineEnd(static_cast<std::size_t>(line)),
                       extend);
            break;
        default:
            if (!event->text().isEmpty() && event->text().front().isPrint()) {
                QApplication::beep();  // read-only: typing is refused
            } else {
                event->ignore();  // Enter and Escape: the dialog's OK and cancel commands
            }
            return;
    }
    preferredX_ = -1;
    if (extend) {
        publishSelection();
    }
}

void TextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    preferredX_ = -1;
    selectingWithMouse_ = true;
    lastMousePosition_ = event->position().toPoint();
    moveCursor(offsetAt(lastMousePosition_), (event->modifiers() & Qt::ShiftModifier) != 0);
}

void TextView::mouseMoveEvent(QMouseEvent* event) {
    if (!selectingWithMouse_) {
        return;
    }
    lastMousePosition_ = event->position().toPoint();
    if (viewport()->rect().contains(lastMousePosition_)) {
        autoScrollTimer_.stop();
    } else if (!autoScrollTimer_.isActive()) {
        autoScrollTimer_.start(50, this);
    }
    moveCursor(offsetAt(lastMousePosition_), true);
}

void TextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        selectingWithMouse_ = false;
        autoScrollTimer_.stop();
        publishSelection();
    }
}

void TextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const std::size_t offset = offsetAt(event->position().toPoint());
    const std::size_t line = layout_.LineOf(offset);
    std::size_t first = offset;
    std::size_t last = offset;
    const std::size_t begin = layout_.LineStart(line);
    const std::size_t end = layout_.LineEnd(line);
    while (first > begin && !IsBlank(text()[first - 1])) {
        --first;
    }
    while (last < end && !IsBlank(text()[last])) {
        ++last;
    }
    anchor_ = first;
    moveCursor(last, true);
    publishSelection();
}

void TextView::contextMenuEvent(QContextMenuEvent* event) {
    // The platform's edit menu, in the translation the text fields use.
    auto translated = [](const char* source) {
        return QCoreApplication::translate("QLineEdit", source);
    };
    QMenu menu(this);
    menu.addAction(translated("&Undo"))->setEnabled(false);
    menu.addSeparator();
    menu.addAction(translated("Cu&t"))->setEnabled(false);
    QAction* copyAction = menu.addAction(translated("&Copy"));
    copyAction->setEnabled(hasSelection());
    menu.addAction(translated("&Paste"))->setEnabled(false);
    menu.addAction(translated("Delete"))->setEnabled(false);
    menu.addSeparator();
    QAction* selectAllAction = menu.addAction(translated("Select All"));
    selectAllAction->setEnabled(!text().empty());
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == copyAction) {
        copy();
    } else if (chosen == selectAllAction) {
        selectAll();
    }
}

void TextView::focusInEvent(QFocusEvent* event) {
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
        selectAll();  // as the dialog manager does for edits reached by Tab
    }
    restartCaretBlink();
    QAbstractScrollArea::focusInEvent(event);
}

void TextView::focusOutEvent(QFocusEvent* event) {
    caretTimer_.stop();
    caretShown_ = false;
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void TextView::restartCaretBlink() {
    caretShown_ = true;
    const int interval = QApplication::cursorFlashTime() / 2;
    if (hasFocus() && interval > 0) {
        caretTimer_.start(interval, this);
    }
}

void TextView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == caretTimer_.timerId()) {
        caretShown_ = !caretShown_;
        viewport()->update();
    } else if (event->timerId() == autoScrollTimer_.timerId()) {
        const QRect area = viewport()->rect();
        if (lastMousePosition_.y() < area.top()) {
            verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        } else if (lastMousePosition_.y() > area.bottom()) {
            verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        }
        moveCursor(offsetAt(lastMousePosition_), true);
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

}  // namespace framework
