// Linked into a copy of the program for the start-up tests and benchmark: once
// the main dialog is shown it reports what start-up set and ends the dialog
// the way WERTOMAT_PROBE_CLOSE says (cancel, escape, closebox, enter).
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/wertomat.h"

namespace {

void CloseTheWayAsked(QWidget* dialog) {
    const char* way = std::getenv("WERTOMAT_PROBE_CLOSE");
    const std::string how = way != nullptr ? way : "cancel";
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
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == "Abbrechen") {
            button->click();
        }
    }
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
