// The frame: the states the title bar offers and the controls following its size.
#include "framework/qt/dialog_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace framework {

// The states the form's title bar offers: without a maximise box the form is
// never maximised, without a minimise box never minimised. Only on Wayland
// does Qt draw the title bar itself, with all three buttons whatever the
// window's flags; maximised, the fixed-size form sat in a corner of an empty
// screen, and a compositor without a task bar would lose a minimised dialog
// for good. On X11 most window managers follow the hints; openbox offers
// maximise whatever they say, so a maximise is undone there too, while
// minimising stays, as "show desktop" does it to every window.
Qt::WindowStates DialogWindow::OfferedStates() const {
    Qt::WindowStates offered =
        Qt::WindowActive | Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (wayland && !HasStyle(form_.style, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)) {
        offered &= ~Qt::WindowStates(Qt::WindowMinimized);
    }
    if (!HasStyle(form_.style, WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX)) {
        offered &= ~Qt::WindowStates(Qt::WindowMaximized | Qt::WindowFullScreen);
    }
    return offered;
}

// The frame sizes the dialog from the form's size up, or down to the screen's
// work area where that is smaller; the controls follow the frame.
void DialogWindow::FollowTheFrame(QSize formSize) {
    formSize_ = formSize;
    std::vector<ControlBox> boxes;
    std::vector<bool> growing;
    for (const ControlEntry& entry : controls_) {
        const QRect area = entry.widget->geometry();
        boxes.push_back({area.x(), area.y(), area.width(), area.height()});
        growing.push_back(entry.form->controlClass == ControlClass::Edit &&
                          HasStyle(entry.form->style, ES_MULTILINE));
    }
    following_ = FollowingOf(boxes, growing);
    formBoxes_ = std::move(boxes);
    QSize smallest = formSize;
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
        smallest = smallest.boundedTo(screen->availableSize());
    }
    smallest_ = smallest;
    setMinimumSize(smallest);
    resize(smallest);
}

void DialogWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (following_.empty()) {
        return;
    }
    const int growX = width() - formSize_.width();
    const int growY = height() - formSize_.height();
    for (std::size_t index = 0; index < controls_.size(); ++index) {
        const ControlBox box = Place(formBoxes_[index], following_[index], growX, growY);
        controls_[index].widget->setGeometry(box.x, box.y, box.width, box.height);
    }
}

void DialogWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !following_.empty()) {
        // Minimised, the window takes the size the platform gives an icon.
        setMinimumSize(isMinimized() ? QSize() : smallest_);
    }
    if (event->type() != QEvent::WindowStateChange ||
        (windowState() & ~OfferedStates()) == Qt::WindowNoState) {
        return;
    }
    // Undone once the platform has finished the change, as a title bar
    // without the button would have left it.
    QTimer::singleShot(0, this, [this] {
        if (QWindow* window = windowHandle()) {
            window->setWindowStates(window->windowStates() & OfferedStates());
        }
    });
}

}  // namespace framework
