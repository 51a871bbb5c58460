#include "tests/support/gui_test.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <fstream>
#include <memory>

namespace testing_support {
namespace {

constexpr int kPollMilliseconds = 5;
constexpr int kGiveUpMilliseconds = 8000;
constexpr int kActivationMilliseconds = 1000;

void Poll(std::function<QWidget*()> find, std::function<void(QWidget*)> action,
          std::shared_ptr<QElapsedTimer> clock) {
    QTimer::singleShot(kPollMilliseconds, [find, action, clock] {
        QWidget* found = find();
        if (found != nullptr && found->isVisible()) {
            // Act as a user would: on the active window. Offscreen activation is asynchronous.
            if (!found->isActiveWindow() && clock->elapsed() < kActivationMilliseconds) {
                found->activateWindow();
                Poll(find, action, clock);
                return;
            }
            action(found);
            return;
        }
        if (clock->elapsed() > kGiveUpMilliseconds) {
            ADD_FAILURE() << "the expected window did not appear";
            while (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
                modal->hide();
                QApplication::processEvents();
            }
            return;
        }
        Poll(find, action, clock);
    });
}

}  // namespace

void WhenModalAppears(std::function<void(QWidget*)> action, QWidget* current) {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    Poll(
        [current]() -> QWidget* {
            QWidget* modal = QApplication::activeModalWidget();
            return modal != current ? modal : nullptr;
        },
        std::move(action), clock);
}

void WhenPopupAppears(std::function<void(QWidget*)> action) {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    Poll([] { return QApplication::activePopupWidget(); }, std::move(action), clock);
}

void ProcessEvents() {
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
    }
}

MessageBoxContents ReadMessageBox(QWidget* widget) {
    MessageBoxContents contents;
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (box == nullptr) {
        ADD_FAILURE() << "not a message box: " << widget->metaObject()->className();
        return contents;
    }
    contents.text = box->text().toStdString();
    contents.caption = box->windowTitle().toStdString();
    contents.buttonCount = static_cast<int>(box->buttons().size());
    return contents;
}

void AcceptMessageBox(QWidget* widget) {
    if (auto* box = qobject_cast<QMessageBox*>(widget)) {
        box->button(QMessageBox::Ok)->click();
    } else {
        widget->close();
    }
}

long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

}  // namespace testing_support
