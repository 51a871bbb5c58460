// The read-only multi-line edit: shows a large Windows-1252 text fast, keeps
// the bytes as given, and behaves like the platform's read-only edit in a
// dialog: select with mouse and keyboard, copy, select all, no typing; Tab,
// Enter and Escape are left to the dialog.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "framework/cstring.h"
#include "framework/text_layout.h"

namespace framework {

class TextView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TextView(QWidget* parent = nullptr);

    // Takes the text by sharing its buffer; the same buffer again costs nothing.
    void setText(const CString& text);
    void setText(std::string text) { setText(CString(std::move(text))); }
    const std::string& text() const { return text_.Bytes(); }
    const CString& sharedText() const { return text_; }

    // Distance between tab stops in pixels.
    void setTabStopWidth(int pixels);

    void selectAll();
    void copy() const;
    bool hasSelection() const { return anchor_ != cursor_; }
    std::size_t selectionAnchor() const { return anchor_; }
    std::size_t cursorPosition() const { return cursor_; }
    // Selects from `anchor` to `cursor` (equal: none) and shows the cursor.
    void setSelection(std::size_t anchor, std::size_t cursor);
    // The line that holds `offset`: where it starts, where its text ends, and
    // where the next line starts (the text's end for the last line).
    struct LineSpan {
        std::size_t begin;
        std::size_t textEnd;
        std::size_t next;
    };
    LineSpan lineAround(std::size_t offset) const;
    // Where the character at `offset` is drawn, in viewport coordinates.
    QRect characterRect(std::size_t offset) const;
    std::size_t offsetAtViewportPoint(QPoint point) const { return offsetAt(point); }
    std::string selectedText() const;
    std::size_t lineCount() const { return layout_.LineCount(); }
    std::size_t firstVisibleLine() const;
    int contentWidth() const { return layout_.Widest() + 2 * kMargin; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    struct PaintPass;
    void paintSelection(PaintPass& pass, std::size_t line, int top) const;
    void paintLineText(PaintPass& pass, std::size_t line, int top) const;
    void paintRun(PaintPass& pass, std::size_t runStart, std::size_t runEnd, int x, int top) const;
    std::size_t wordStartBefore(std::size_t offset) const;
    std::size_t wordStartAfter(std::size_t offset) const;
    void moveSideways(bool forwards, bool byWord, bool extend);
    void publishSelection();
    void moveToLine(long long target, bool extend);

    std::size_t offsetAt(QPoint viewportPoint) const;
    int lineHeight() const;
    int visibleLineCount() const;
    void measureFont();
    void updateScrollBars();
    void moveCursor(std::size_t offset, bool keepAnchor);
    void ensureCursorVisible();
    void restartCaretBlink();

    static constexpr int kMargin = 2;

    CString text_;
    TextLayout layout_;  // views text_'s bytes
    std::array<QChar, 256> characters_{};
    std::size_t anchor_ = 0;
    std::size_t cursor_ = 0;
    int preferredX_ = -1;
    bool selectingWithMouse_ = false;
    bool caretShown_ = false;
    QBasicTimer caretTimer_;
    QBasicTimer autoScrollTimer_;
    QPoint lastMousePosition_;
};

}  // namespace framework
