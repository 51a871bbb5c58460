// The results field on Qt: turns Qt's events into calls on TextViewModel,
// which holds the behaviour, and paints what the model says. It keeps the
// shared bytes the model shows.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <array>
#include <string>
#include <utility>

#include "framework/platform.h"
#include "framework/results_view/text_view_model.h"

namespace framework {

class TextView : public QAbstractScrollArea, private TextViewListener {
    Q_OBJECT

public:
    explicit TextView(QWidget* parent = nullptr);
    ~TextView() override;

    // Takes the text by sharing its buffer; the same buffer again costs nothing.
    void setText(platform::SharedText text);
    const std::string& text() const;
    const platform::SharedText& sharedText() const { return text_; }
    const TextViewModel& model() const { return model_; }
    // What others may change: the selection (screen readers, the dialog
    // selecting the results it focuses) and the form's ES_NOHIDESEL.
    void select(std::size_t anchor, std::size_t caret, bool scroll) {
        model_.Select(anchor, caret, scroll);
    }
    void selectAll() { model_.SelectAll(); }
    void setHideSelection(bool hide) { model_.SetHideSelection(hide); }

    void setTabStopWidth(int pixels) { model_.SetTabStop(pixels); }
    void copy() const;

protected:
    bool event(QEvent* event) override;
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
    void TextViewChanged(const TextViewChanges& changes) override;
    void measureFont();
    void updateScrollBars();
    void publishSelection();
    void restartCaretBlink();
    void followDrag();

    platform::SharedText text_;
    TextViewModel model_;  // shows text_'s bytes
    std::array<QChar, 256> characters_{};
    bool caretShown_ = false;
    bool updatingScrollBars_ = false;
    QBasicTimer caretTimer_;
    QBasicTimer autoScrollTimer_;
};

}  // namespace framework
