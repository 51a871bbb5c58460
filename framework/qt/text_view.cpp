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
#include <thread>

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
    indexLines();
    anchor_ = cursor_ = 0;
    preferredX_ = -1;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

// Where lines start and how wide the widest is. A large text is indexed in
// two halves at once, split at a line start.
void TextView::indexLines() {
    const char* const bytes = text().data();
    const std::size_t size = std::min<std::size_t>(text().size(), UINT32_MAX);
    constexpr std::size_t kWorthASecondThread = 1 << 20;
    const char* middle =
        size >= kWorthASecondThread
            ? static_cast<const char*>(std::memchr(bytes + size / 2, '\n', size - size / 2))
            : nullptr;
    if (middle == nullptr) {
        lineStarts_.assign(1, 0);
        contentWidth_ = indexRange(0, size, lineStarts_) + 2 * kMargin;
        return;
    }
    const auto split = static_cast<std::size_t>(middle - bytes) + 1;
    std::vector<std::uint32_t> secondStarts;
    int secondWidest = 0;
    std::thread second([&] { secondWidest = indexRange(split, size, secondStarts); });
    lineStarts_.assign(1, 0);
    const int firstWidest = indexRange(0, split, lineStarts_);
    second.join();
    // The first half ends with a line feed: its last entry is `split` already.
    lineStarts_.insert(lineStarts_.end(), secondStarts.begin(), secondStarts.end());
    contentWidth_ = std::max(firstWidest, secondWidest) + 2 * kMargin;
}

// Indexes the lines of [begin, end), which starts a line: appends the start
// of every line after the first to `starts`, returns the widest line's width.
// One tight pass: control characters have no width, so only the line feed
// and the tab need more than a table look-up.
int TextView::indexRange(std::size_t begin, std::size_t end,
                         std::vector<std::uint32_t>& starts) const {
    const auto* const bytes = reinterpret_cast<const unsigned char*>(text().data());
    starts.reserve(starts.size() + (end - begin) / 16);
    int widest = 0;
    int x = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const unsigned char byte = bytes[i];
        if (byte >= 0x20) {
            x += advances_[byte];
        } else if (byte == '\n') {
            widest = std::max(widest, x);
            x = 0;
            starts.push_back(static_cast<std::uint32_t>(i + 1));
        } else if (byte == '\t') {
            x += tabStopWidth_ - x % tabStopWidth_;
        }
    }
    return std::max(widest, x);
}

void TextView::setTabStopWidth(int pixels) {
    tabStopWidth_ = std::max(1, pixels);
    indexLines();
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
    const std::size_t line = lineOf(std::min(offset, text().size()));
    const std::size_t next = line + 1 < lineStarts_.size() ? lineStarts_[line + 1] : text().size();
    return {lineStarts_[line], lineEnd(line), next};
}

QRect TextView::characterRect(std::size_t offset) const {
    offset = std::min(offset, text().size());
    const std::size_t line = lineOf(offset);
    const int x = kMargin - horizontalScrollBar()->value() + xOf(line, offset);
    const int y = (static_cast<int>(line) - static_cast<int>(firstVisibleLine())) * lineHeight();
    const int width = offset < lineEnd(line)
                          ? advanceOf(static_cast<unsigned char>(text()[offset]), xOf(line, offset))
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

std::size_t TextView::lineOf(std::size_t offset) const {
    const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    return static_cast<std::size_t>(after - lineStarts_.begin()) - 1;
}

std::size_t TextView::lineEnd(std::size_t line) const {
    if (line + 1 >= lineStarts_.size()) {
        return text().size();
    }
    std::size_t end = lineStarts_[line + 1] - 1;  // the line feed
    if (end > lineStarts_[line] && text()[end - 1] == '\r') {
        --end;
    }
    return end;
}

int TextView::advanceOf(unsigned char byte, int x) const {
    if (byte == '\t') {
        return tabStopWidth_ - x % tabStopWidth_;
    }
    return advances_[byte];
}

int TextView::xOf(std::size_t line, std::size_t offset) const {
    int x = 0;
    for (std::size_t i = lineStarts_[line]; i < offset; ++i) {
        x += advanceOf(static_cast<unsigned char>(text()[i]), x);
    }
    return x;
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
        std::clamp<long long>(wanted, 0, static_cast<long long>(lineStarts_.size()) - 1));
    const int targetX = point.x() + horizontalScrollBar()->value() - kMargin;
    int x = 0;
    const std::size_t end = lineEnd(line);
    for (std::size_t i = lineStarts_[line]; i < end; ++i) {
        const int advance = advanceOf(static_cast<unsigned char>(text()[i]), x);
        if (targetX < x + advance / 2) {
            return i;
        }
        x += advance;
    }
    return end;
}

void TextView::measureFont() {
    QFont unkerned = font();
    unkerned.setKerning(false);
    if (unkerned != font()) {
        setFont(unkerned);  // comes back here through changeEvent
        return;
    }
    const QFontMetrics metrics(font());
    for (std::size_t byte = 0; byte < 256; ++byte) {
        advances_[byte] = byte < 0x20 ? 0 : metrics.horizontalAdvance(characters_[byte]);
    }
    indexLines();
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
    const int lines = static_cast<int>(std::min<std::size_t>(lineStarts_.size(), INT32_MAX));
    verticalScrollBar()->setRange(0, std::max(0, lines - pageLines));
    verticalScrollBar()->setPageStep(pageLines);
    verticalScrollBar()->setSingleStep(1);
    const int viewWidth = viewport()->width();
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth_ - viewWidth));
    horizontalScrollBar()->setPageStep(std::max(1, viewWidth));
    horizontalScrollBar()->setSingleStep(std::max(1, advances_['0']));
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
        std::min(lineStarts_.size(), first + static_cast<std::size_t>(visibleLineCount()) + 2);
    for (std::size_t line = first; line < last; ++line) {
        const int top = static_cast<int>(line - first) * pass.height;
        paintSelection(pass, line, top);
        paintLineText(pass, line, top);
    }
    if (pass.focused && caretShown_) {
        const std::size_t line = lineOf(cursor_);
        if (line >= first && line < last) {
            const int top = static_cast<int>(line - first) * pass.height;
            painter.fillRect(pass.left + xOf(line, cursor_), top, 1, pass.height,
                             pass.colours.color(QPalette::Text));
        }
    }
}

// The selection behind the text; a selected line end shows as a little space.
void TextView::paintSelection(PaintPass& pass, std::size_t line, int top) const {
    const std::size_t begin = lineStarts_[line];
    const std::size_t end = lineEnd(line);
    if (pass.selectionFirst >= pass.selectionLast || pass.selectionFirst > end ||
        pass.selectionLast <= begin) {
        return;
    }
    const int x1 = xOf(line, std::max(pass.selectionFirst, begin));
    int x2 = xOf(line, std::min(pass.selectionLast, end));
    if (pass.selectionLast > end && line + 1 < lineStarts_.size()) {
        x2 += advances_[' '];
    }
    pass.painter.fillRect(pass.left + x1, top, x2 - x1, pass.height,
                          pass.Colour(QPalette::Highlight));
}

// The text of one line, one run between tabs at a time.
void TextView::paintLineText(PaintPass& pass, std::size_t line, int top) const {
    const std::size_t end = lineEnd(line);
    int x = 0;
    std::size_t runStart = lineStarts_[line];
    int runX = 0;
    for (std::size_t i = runStart; i < end; ++i) {
        const auto byte = static_cast<unsigned char>(text()[i]);
        if (byte != '\t') {
            x += advances_[byte];
            continue;
        }
        paintRun(pass, runStart, i, runX, top);
        x += advanceOf(byte, x);
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
            x += advances_[static_cast<unsigned char>(text()[i])];
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
    const std::size_t line = lineOf(cursor_);
    const auto first = firstVisibleLine();
    const auto page = static_cast<std::size_t>(visibleLineCount());
    if (line < first) {
        verticalScrollBar()->setValue(static_cast<int>(line));
    } else if (line >= first + page) {
        verticalScrollBar()->setValue(static_cast<int>(line - page + 1));
    }
    const int x = xOf(line, cursor_) + kMargin;
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
    const std::size_t line = lineOf(cursor_);
    if (byWord) {
        moveCursor(forwards ? wordStartAfter(cursor_) : wordStartBefore(cursor_), extend);
    } else if (!forwards && cursor_ > lineStarts_[line]) {
        moveCursor(cursor_ - 1, extend);
    } else if (!forwards && line > 0) {
        moveCursor(lineEnd(line - 1), extend);
    } else if (forwards && cursor_ < lineEnd(line)) {
        moveCursor(cursor_ + 1, extend);
    } else if (forwards && line + 1 < lineStarts_.size()) {
        moveCursor(lineStarts_[line + 1], extend);
    }
}

// To line `target` (clamped), keeping the column the vertical moves started in.
void TextView::moveToLine(long long target, bool extend) {
    const auto line = static_cast<std::size_t>(
        std::clamp<long long>(target, 0, static_cast<long long>(lineStarts_.size()) - 1));
    if (preferredX_ < 0) {
        preferredX_ = xOf(lineOf(cursor_), cursor_);
    }
    const int keepX = preferredX_;
    int x = 0;
    std::size_t offset = lineStarts_[line];
    const std::size_t end = lineEnd(line);
    while (offset < end) {
        const int advance = advanceOf(static_cast<unsigned char>(text()[offset]), x);
        if (keepX < x + advance / 2) {
            break;
        }
        x += advance;
        ++offset;
    }
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
    const auto line = static_cast<long long>(lineOf(cursor_));
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
            moveCursor(byWord ? 0 : lineStarts_[static_cast<std::size_t>(line)], extend);
            break;
        case Qt::Key_End:
            moveCursor(byWord ? text().size() : lineEnd(static_cast<std::size_t>(line)), extend);
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
    const std::size_t line = lineOf(offset);
    std::size_t first = offset;
    std::size_t last = offset;
    const std::size_t begin = lineStarts_[line];
    const std::size_t end = lineEnd(line);
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
