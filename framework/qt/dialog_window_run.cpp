// The modal run: focus on opening, the loop, and every way it ends.
#include "framework/qt/dialog_window.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPointer>
#include <algorithm>

#include "framework/qt/text_view.h"

namespace framework {

void DialogWindow::FocusFirstTabStop() {
    const auto first = std::find_if(controls_.begin(), controls_.end(), [](const ControlEntry& e) {
        return (e.widget->focusPolicy() & Qt::TabFocus) != 0 && e.widget->isEnabled() &&
               !e.widget->isHidden();
    });
    if (first == controls_.end()) {
        return;
    }
    first->widget->setFocus(Qt::TabFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(first->widget)) {
        line->selectAll();  // as the dialog manager does for an edit it focuses
    }
}

// The default push button's command, or IDOK when the form has none.
int DialogWindow::RunModal() {
    if (ended_) {
        return result_;
    }
    // Handlers may destroy the window while the loop runs: the loop and the
    // result live here, and afterwards the window is touched only if it lives.
    const QPointer<DialogWindow> alive(this);
    int result = -1;
    QEventLoop loop;
    modalLoop_ = &loop;
    modalResult_ = &result;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    if (alive != nullptr && !ended_) {
        loop.exec(QEventLoop::DialogExec);
    }
    if (alive != nullptr) {
        modalLoop_ = nullptr;
        modalResult_ = nullptr;
    }
    return result;
}

// Qt's own ways of ending a dialog become its commands, so that they pass
// through the message map like every other ending.
void DialogWindow::accept() {
    SendCommand(IDOK);
}

void DialogWindow::reject() {
    SendCommand(IDCANCEL);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The close box is a system command; the dialog ends only if that says so.
    event->ignore();
    if (!ended_) {
        Message(WM_SYSCOMMAND, SC_CLOSE);
    }
}

// --- The seam's functions on the run

namespace platform {

void FocusControl(DialogWindow& window, int id) {
    QWidget* widget = window.Control(id);
    if (widget == nullptr) {
        return;
    }
    window.activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->selectAll();
    } else if (auto* view = qobject_cast<TextView*>(widget)) {
        view->selectAll();
    }
}

void EndModal(DialogWindow& window, int result) {
    window.result_ = result;
    window.ended_ = true;
    window.hide();
    if (window.modalResult_ != nullptr) {
        *window.modalResult_ = result;
    }
    if (window.modalLoop_ != nullptr) {
        window.modalLoop_->exit(0);
    }
}

}  // namespace platform
}  // namespace framework
