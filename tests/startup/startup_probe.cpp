// Linked into a copy of the program for the start-up tests and benchmark: once
// the main dialog is shown it reports what start-up set and ends the dialog
// the way WERTOMAT_PROBE_CLOSE says (cancel, escape, closebox, enter), or after
// a session: compute, try to maximise and minimise as a title bar would, open
// the About box, and cancel.
#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/wertomat.h"
#include "framework/qt/dialog_window.h"
#include "framework/qt/text_view.h"
#include "resources/resource.h"

namespace {

void Wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void ClickCancel(QWidget* dialog) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == "Abbrechen") {
            button->click();
        }
    }
}

// Asks the window for a state as its title bar's button would, and reports
// what the compositor and the dialog made of it.
void TryState(QWidget* dialog, Qt::WindowState state, const char* name) {
    const QSize before = dialog->size();
    dialog->windowHandle()->setWindowStates(state);
    Wait(500);
    std::printf("%s: %s, %s\n", name,
                dialog->windowHandle()->windowStates() == Qt::WindowNoState ? "normal" : "changed",
                dialog->size() == before ? "same size" : "resized");
}

void RunSession(QWidget* dialog) {
    auto* window = static_cast<framework::DialogWindow*>(dialog);
    qobject_cast<QLineEdit*>(window->Control(IDC_XA))->setText("0");
    qobject_cast<QLineEdit*>(window->Control(IDC_XSW))->setText("1");
    qobject_cast<QLineEdit*>(window->Control(IDC_XE))->setText("2");
    qobject_cast<QPushButton*>(window->Control(IDC_COMPUTE))->click();
    const auto* results = static_cast<framework::TextView*>(window->Control(IDC_RESULTS));
    std::string table(results->model().Text());
    while (!table.empty() && (table.back() == '\n' || table.back() == '\r')) {
        table.pop_back();
    }
    std::printf("last row %s\n", table.substr(table.find_last_of('\n') + 1).c_str());

    TryState(dialog, Qt::WindowMaximized, "maximised");
    TryState(dialog, Qt::WindowMinimized, "minimised");

    QTimer::singleShot(300, [dialog] {
        QWidget* box = QApplication::activeModalWidget();
        if (box != nullptr && box != dialog) {
            std::printf("about box %s\n", box->windowTitle().toUtf8().constData());
            box->findChild<QPushButton*>()->click();
        }
    });
    theApp.m_pMainWnd->SendMessage(WM_SYSCOMMAND, ID_SYSMENU_ABOUT, 0);
    std::fflush(stdout);
    ClickCancel(dialog);
}

void CloseTheWayAsked(QWidget* dialog) {
    const char* way = std::getenv("WERTOMAT_PROBE_CLOSE");
    const std::string how = way != nullptr ? way : "cancel";
    if (how == "session") {
        RunSession(dialog);
        return;
    }
    if (how == "closebox") {
        dialog->close();
        return;
    }
    if (how == "escape" || how == "enter") {
        QKeyEvent press(QEvent::KeyPress, how == "escape" ? Qt::Key_Escape : Qt::Key_Return,
                        Qt::NoModifier);
        QApplication::sendEvent(dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog,
                                &press);
        return;
    }
    ClickCancel(dialog);
}

void WatchForTheDialog() {
    QTimer::singleShot(2, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || !dialog->isVisible()) {
            WatchForTheDialog();
            return;
        }
        std::printf("shown %s\n", dialog->windowTitle().toUtf8().constData());
        std::printf("registry %s\n", theApp.RegistryKey().c_str());
        std::printf("restart %u\n", static_cast<unsigned>(theApp.m_dwRestartManagerSupportFlags));
        std::printf("main window %s\n", theApp.m_pMainWnd != nullptr ? "set" : "null");
        std::fflush(stdout);
        CloseTheWayAsked(dialog);
    });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(WatchForTheDialog)
