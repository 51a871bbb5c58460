// Keys and menus as the platform's dialog manager has them: Alt, the
// context-menu keys and the system menu.
#include "framework/qt/dialog_window.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <string_view>
#include <vector>

#include "framework/dialog_manager/dialog_navigation.h"
#include "framework/qt/accessibility.h"
#include "framework/qt/qt_text.h"
#include "text/words.h"

namespace framework {
namespace {

// How long after the system menu opens its first entry is highlighted.
constexpr int kHighlightDelayMilliseconds = 200;

}  // namespace

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    if (tracking_ != Tracking::None) {
        TrackKey(*event);
        return;
    }
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // A focused push button takes Enter itself; elsewhere it is the default command.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            SendCommand(dialog_manager::DefaultCommand(form_.controls));
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
        if (tracking_ != Tracking::None) {
            TrackKey(*key);
            return true;
        }
        if (UseMnemonic(*key) || MoveByTab(watched, *key) || MoveInRadioGroup(watched, *key) ||
            MoveByWords(watched, *key) || OpenContextMenuByKey(watched, *key)) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Tab and Shift+Tab go where the dialog manager says, from the controls'
// states now: the checked button of a radio group, never a hidden or
// disabled control. A field reached so has its text selected.
bool DialogWindow::MoveByTab(QObject* watched, const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if ((key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab) ||
        (modifiers & ~Qt::ShiftModifier) != Qt::NoModifier) {
        return false;
    }
    const auto current =
        std::find_if(controls_.begin(), controls_.end(),
                     [watched](const ControlEntry& e) { return e.widget == watched; });
    if (current == controls_.end()) {
        return false;
    }
    std::vector<dialog_manager::ControlState> states;
    for (const ControlEntry& entry : controls_) {
        const auto* radio = qobject_cast<QRadioButton*>(entry.widget);
        states.push_back({entry.widget->isVisibleTo(this), entry.widget->isEnabled(),
                          radio != nullptr && radio->isChecked()});
    }
    const bool backwards = key.key() == Qt::Key_Backtab || (modifiers & Qt::ShiftModifier) != 0;
    const std::size_t next = dialog_manager::NextTabStop(
        form_.controls, states, static_cast<std::size_t>(current - controls_.begin()), backwards);
    controls_[next].widget->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(controls_[next].widget)) {
        line->selectAll();
    }
    return true;
}

// Alt with a letter goes where the dialog manager says: the control whose
// caption marks the letter, or the field after a label that marks it (the
// field's text selected, as the platform does). Buttons keep Qt's own
// shortcut, which clicks them. A letter nothing marks only beeps: never typed
// into a field, never given to Qt's menus.
bool DialogWindow::UseMnemonic(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if ((modifiers & Qt::AltModifier) == 0 || (modifiers & Qt::ControlModifier) != 0 ||
        key.text().isEmpty() || !key.text().front().isPrint() || key.key() == Qt::Key_Space) {
        return false;
    }
    const std::optional<std::string> letter = ToWindows1252(key.text().left(1));
    const std::optional<std::size_t> target =
        letter.has_value() ? dialog_manager::MnemonicTarget(form_.controls, letter->front())
                           : std::nullopt;
    if (!target.has_value()) {
        QApplication::beep();
        return true;
    }
    QWidget* control = controls_[*target].widget;
    if (qobject_cast<QAbstractButton*>(control) != nullptr) {
        return false;
    }
    control->setFocus(Qt::ShortcutFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->selectAll();
    }
    return true;
}

// Ctrl+Left and Ctrl+Right (with Shift, selecting) in an input field move by
// the words the results and screen readers use: "-10" and "0,5" are one word
// each, as in the platform's edit, where Qt would stop at the sign and the
// comma.
bool DialogWindow::MoveByWords(QObject* watched, const QKeyEvent& key) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const bool left = key.key() == Qt::Key_Left;
    if (edit == nullptr || (!left && key.key() != Qt::Key_Right) ||
        (modifiers & ~Qt::ShiftModifier) != Qt::ControlModifier ||
        edit->echoMode() != QLineEdit::Normal) {
        return false;
    }
    const QString text = edit->text();
    const std::u16string_view characters = Utf16Of(text);
    const auto from = static_cast<std::size_t>(edit->cursorPosition());
    const auto to = static_cast<int>(left ? text::PreviousWordStart(characters, from)
                                          : text::NextWordStart(characters, from));
    if ((modifiers & Qt::ShiftModifier) != 0) {
        left ? edit->cursorBackward(true, edit->cursorPosition() - to)
             : edit->cursorForward(true, to - edit->cursorPosition());
    } else {
        edit->setCursorPosition(to);
    }
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
    Message(WM_PAINT);
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
    if (systemMenu_.empty()) {
        return;
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("systemMenu"));
    // Screen readers announce the menu by its name when it opens.
    menu.setAccessibleName(QStringLiteral("Systemmen\u00FC"));
    for (const MenuItem& item : systemMenu_) {
        if ((item.flags & MF_SEPARATOR) != 0) {
            if (!menu.actions().isEmpty()) {
                menu.addSeparator();  // none first: the highlight goes to an entry
            }
            continue;
        }
        // "&Schließen\tAlt+F4": the entry's text, then its key, which the menu
        // shows in its own column and screen readers read as the entry's shortcut.
        const QString text = FromWindows1252(item.text);
        const qsizetype tab = text.indexOf(u'\t');
        QAction* action = menu.addAction(text.left(tab));
        if (tab >= 0) {
            action->setShortcut(QKeySequence(text.mid(tab + 1), QKeySequence::PortableText));
        }
        action->setData(QVariant::fromValue<qulonglong>(item.id));
    }
    // Once the menu shows, screen readers hear it take the focus and say its
    // name. From the keyboard, the first entry is highlighted a moment later:
    // a screen reader that hears both at once says only the entry.
    QMetaObject::invokeMethod(
        &menu,
        [&menu] {
            QAccessibleEvent opened(&menu, QAccessible::Focus);
            QAccessible::updateAccessibility(&opened);
        },
        Qt::QueuedConnection);
    if (fromKeyboard && !menu.actions().isEmpty()) {
        QTimer::singleShot(kHighlightDelayMilliseconds, &menu, [&menu] {
            if (menu.activeAction() == nullptr) {
                menu.setActiveAction(menu.actions().front());
            }
        });
    }
    // Chosen in the menu or triggered by a screen reader.
    QAction* chosen = nullptr;
    for (QAction* action : menu.actions()) {
        connect(action, &QAction::triggered, &menu, [&chosen, &menu, action] {
            chosen = action;
            menu.close();
        });
    }
    menu.exec(globalPosition);
    if (chosen != nullptr) {
        // As the platform's: the cursor's position for a command chosen by the mouse.
        const QPoint cursor = QCursor::pos();
        const auto position = fromKeyboard
                                  ? LPARAM{0}
                                  : static_cast<LPARAM>(MAKEWPARAM(static_cast<UINT>(cursor.x()),
                                                                   static_cast<UINT>(cursor.y())));
        Message(WM_SYSCOMMAND, static_cast<WPARAM>(chosen->data().toULongLong()), position);
    }
}

void DialogWindow::TrackByKeys(Tracking tracking) {
    // The keys reach the dialog through its controls' filter: no grab that
    // could outlive the tracking.
    tracking_ = tracking;
    trackingStart_ = geometry();
    // A screen reader says which keys do what, as the changed cursor tells
    // those who see it.
    Announce(*this, tracking == Tracking::Move
                        ? QStringLiteral("Verschieben mit den Pfeiltasten, Eingabe beendet, "
                                         "Escape bricht ab")
                        : QStringLiteral("Gr\u00F6\u00DFe \u00E4ndern mit den Pfeiltasten, "
                                         "Eingabe beendet, Escape bricht ab"));
}

void DialogWindow::TrackKey(const QKeyEvent& key) {
    constexpr int kStep = 8;  // pixels an arrow key moves or sizes by
    QPoint step;
    switch (key.key()) {
        case Qt::Key_Left:
            step = {-kStep, 0};
            break;
        case Qt::Key_Right:
            step = {kStep, 0};
            break;
        case Qt::Key_Up:
            step = {0, -kStep};
            break;
        case Qt::Key_Down:
            step = {0, kStep};
            break;
        case Qt::Key_Escape:
            setGeometry(trackingStart_);
            [[fallthrough]];
        case Qt::Key_Return:
        case Qt::Key_Enter:
            tracking_ = Tracking::None;
            return;
        default:
            return;
    }
    if (tracking_ == Tracking::Move) {
        move(pos() + step);
    } else {
        resize(size() + QSize(step.x(), step.y()));
    }
}

}  // namespace framework
