// The About box: what it shows and every way it closes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "framework/qt/dialog_window.h"
#include "tests/support/gui_test.h"
#include "ui/wertomatdlg.h"

namespace {

using testing_support::WhenModalAppears;

INT_PTR OpenAndClose(CAboutDlg& dialog, std::function<void(QWidget*)> close) {
    WhenModalAppears(std::move(close));
    return dialog.DoModal();
}

TEST(AboutBox, ShowsIconNameAndRightsNotice) {
    CAboutDlg dialog;
    OpenAndClose(dialog, [&](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), "Info über Wertomat");
        EXPECT_EQ(window->minimumSize(), window->maximumSize());  // a fixed modal frame
        QStringList texts;
        bool hasIcon = false;
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) {
                hasIcon = true;
                EXPECT_EQ(label->pixmap().size(), QSize(32, 32));
            } else {
                texts << label->text();
            }
        }
        EXPECT_TRUE(hasIcon);
        EXPECT_TRUE(texts.contains("Wertomat, Version 1.0"));
        EXPECT_EQ(texts.size(), 2);
        EXPECT_EQ(QApplication::focusWidget(), dialog.Window()->Control(IDOK));
        window->close();
    });
}

TEST(AboutBox, ClosesByOkEnterEscapeAndTheCloseBox) {
    struct Way {
        const char* name;
        std::function<void(CAboutDlg&, QWidget*)> close;
        INT_PTR result;
    };
    const Way ways[] = {
        {"OK",
         [](CAboutDlg& d, QWidget*) {
             QTest::mouseClick(d.Window()->Control(IDOK), Qt::LeftButton);
         },
         IDOK},
        {"Enter", [](CAboutDlg&, QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }, IDOK},
        {"Escape", [](CAboutDlg&, QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, IDCANCEL},
        {"close box", [](CAboutDlg&, QWidget* w) { w->close(); }, IDCANCEL},
    };
    for (const Way& way : ways) {
        CAboutDlg dialog;
        EXPECT_EQ(OpenAndClose(dialog, [&](QWidget* window) { way.close(dialog, window); }),
                  way.result)
            << way.name;
        EXPECT_EQ(dialog.Window(), nullptr) << "destroyed after " << way.name;
    }
}

TEST(AboutBox, EveryOpeningIsAFreshBox) {
    CAboutDlg dialog;
    QString firstTitle;
    OpenAndClose(dialog, [&](QWidget* window) {
        firstTitle = window->windowTitle();
        window->setWindowTitle(QStringLiteral("changed in the first opening"));
        window->findChildren<QLabel*>().back()->clear();
        window->close();
    });
    OpenAndClose(dialog, [&](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), firstTitle);
        EXPECT_FALSE(window->findChildren<QLabel*>().back()->text().isEmpty());
        window->close();
    });
}

}  // namespace
