// Keys and menus as the platform's dialog manager has them: Alt, the
// context-menu keys and the system menu.
#include "framework/qt/dialog_window.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

#include "framework/qt/qt_text.h"
#include "framework/wnd.h"

namespace framework {

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // A focused push button takes Enter itself; elsewhere it is the default command.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            SendCommand(DefaultCommandId());
        }
        return;
    }
    if (plain && event->key() == Qt::Key_Escape) {
        SendCommand(IDCANCEL);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (SwallowUnmatchedAlt(*key) || MoveInRadioGroup(watched, *key) ||
            OpenContextMenuByKey(watched, *key)) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Alt with a letter that is no mnemonic of the form: the dialog takes it, as
// the platform's dialog manager does, so that it is not typed into a field.
bool DialogWindow::SwallowUnmatchedAlt(const QKeyEvent& key) const {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if ((modifiers & Qt::AltModifier) == 0 || (modifiers & Qt::ControlModifier) != 0 ||
        key.text().isEmpty() || !key.text().front().isPrint() || key.key() == Qt::Key_Space) {
        return false;
    }
    if (HasMnemonic(key.text().front())) {
        return false;
    }
    QApplication::beep();
    return true;
}

// The Menu key and Shift+F10 open the focused control's context menu; a
// control without one passes it on to the dialog, which shows its system menu.
bool DialogWindow::OpenContextMenuByKey(QObject* watched, const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const bool menuKey = key.key() == Qt::Key_Menu && modifiers == Qt::NoModifier;
    const bool shiftF10 = key.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!(menuKey || shiftF10) || widget == nullptr) {
        return false;
    }
    const QPoint centre = widget->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, centre, widget->mapToGlobal(centre));
    QApplication::sendEvent(widget, &request);
    return true;
}

void DialogWindow::paintEvent(QPaintEvent* event) {
    activePaintEvent_ = event;
    owner_.SendMessage(WM_PAINT, 0, 0);
    activePaintEvent_ = nullptr;
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    // Controls with a context menu of their own (the edit fields, the results)
    // take the event; from anywhere else it comes here and opens the system
    // menu, by mouse or by the Menu key and Shift+F10.
    if (!HasStyle(form_.style, WS_SYSMENU)) {
        event->ignore();
        return;
    }
    ShowSystemMenu(event->globalPos(), event->reason() == QContextMenuEvent::Keyboard);
}

void DialogWindow::ShowSystemMenu(QPoint globalPosition, bool fromKeyboard) {
    CMenu* systemMenu = owner_.GetSystemMenu(FALSE);
    if (systemMenu == nullptr) {
        return;
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("systemMenu"));
    for (const CMenu::Item& item : systemMenu->Items()) {
        // Moving and sizing follow the mouse (the window system's own drag):
        // from the keyboard they could not be carried out, so they are left out.
        const bool byMouseOnly = (item.id & 0xFFF0) == SC_MOVE || (item.id & 0xFFF0) == SC_SIZE;
        if ((item.flags & MF_SEPARATOR) != 0) {
            if (!menu.actions().isEmpty()) {
                menu.addSeparator();  // none first: the highlight goes to an entry
            }
        } else if (!(fromKeyboard && byMouseOnly)) {
            QAction* action = menu.addAction(FromWindows1252(item.text));
            action->setData(QVariant::fromValue<qulonglong>(item.id));
        }
    }
    if (fromKeyboard && !menu.actions().isEmpty()) {
        // Once the menu shows, so that the highlight is a focus that screen readers hear.
        QMetaObject::invokeMethod(
            &menu, [&menu] { menu.setActiveAction(menu.actions().front()); }, Qt::QueuedConnection);
    }
    QAction* chosen = menu.exec(globalPosition);
    if (chosen != nullptr) {
        owner_.SendMessage(WM_SYSCOMMAND, static_cast<WPARAM>(chosen->data().toULongLong()), 0);
    }
}

}  // namespace framework
