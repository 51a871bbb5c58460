// What users and attackers found: pasted text that is not what it shows,
// long pastes, Alt+letter, the system menu from anywhere, and what a screen
// reader sees.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/tabulation.h"
#include "framework/qt/dialog_window.h"
#include "framework/qt/text_view.h"
#include "tests/support/gui_test.h"
#include "text/number_text.h"
#include "text/text_encoding.h"
#include "ui/wertomatdlg.h"

namespace {

using testing_support::WhenModalAppears;
using testing_support::WhenPopupAppears;

// Runs `steps` inside the main dialog's modal run, then closes it.
void WithMainDialog(const std::function<void(framework::DialogWindow&)>& steps) {
    CWertomatDlg dialog;
    WhenModalAppears([&](QWidget*) {
        steps(*dialog.Window());
        if (dialog.Window() != nullptr) {
            dialog.EndDialog(IDCANCEL);
        }
    });
    dialog.DoModal();
}

QLineEdit* Edit(framework::DialogWindow& window, int id) {
    return qobject_cast<QLineEdit*>(window.Control(id));
}

// Clicks "Berechnen"; returns the text of the message box that follows, if any.
std::string Compute(framework::DialogWindow& window) {
    std::string shown;
    WhenModalAppears(
        [&](QWidget* box) {
            shown = testing_support::ReadMessageBox(box).text;
            testing_support::AcceptMessageBox(box);
        },
        &window);
    QTest::mouseClick(window.Control(IDC_COMPUTE), Qt::LeftButton);
    testing_support::ProcessEvents();
    return shown;
}

TEST(Paste, InvisibleCharactersMakeTheFieldNotANumber) {
    for (const char16_t* pasted : {u"2\u202E51", u"1\u3164000", u"5\u200B", u"1\uFE0F0"}) {
        WithMainDialog([&](framework::DialogWindow& window) {
            const QString text = QString::fromUtf16(pasted);
            Edit(window, IDC_XSW)->setText(text);
            EXPECT_EQ(Compute(window), "Bitte eine Zahl eingeben");
            EXPECT_EQ(Edit(window, IDC_XSW)->text(), text) << "kept as pasted";
            EXPECT_EQ(QApplication::focusWidget(), Edit(window, IDC_XSW));
        });
    }
}

TEST(Paste, LongNumbersAreTakenWhole) {
    WithMainDialog([&](framework::DialogWindow& window) {
        const QString longZero = QStringLiteral("0.") + QString(32770, u'0') + QStringLiteral("1");
        QApplication::clipboard()->setText(longZero);
        QLineEdit* start = Edit(window, IDC_XA);
        start->setFocus();
        start->selectAll();
        QTest::keyClick(start, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(start->text(), longZero);
        Edit(window, IDC_XE)->setText(QStringLiteral("1e32771"));
        // Xa comes first: 1e-32771, out of range near zero, and said so.
        EXPECT_EQ(Compute(window), text::Windows1252ToUtf8(text::kNumberTooSmallMessage));
    });
}

TEST(Keyboard, AltLetterIsSwallowedNotTyped) {
    WithMainDialog([&](framework::DialogWindow& window) {
        QLineEdit* start = Edit(window, IDC_XA);
        start->setFocus();
        start->setText(QStringLiteral("1"));
        start->end(false);
        QTest::keyClick(start, Qt::Key_B, Qt::AltModifier);
        EXPECT_EQ(start->text(), "1");
    });
}

TEST(SystemMenu, OpensFromLabelsGroupBoxAndButtonsByMouseAndKeyboard) {
    WithMainDialog([&](framework::DialogWindow& window) {
        int opened = 0;
        std::vector<bool> firstHighlighted;  // from the keyboard, as the platform's menus
        auto expectMenu = [&](QWidget* target, bool byKeyboard) {
            WhenPopupAppears([&](QWidget* menu) {
                ++opened;
                EXPECT_EQ(menu->objectName(), "systemMenu");
                const auto* entries = qobject_cast<QMenu*>(menu);
                // The highlight comes a moment after the menu, and only from the keyboard.
                static_cast<void>(
                    QTest::qWaitFor([entries] { return entries->activeAction() != nullptr; },
                                    byKeyboard ? 2000 : 400));
                firstHighlighted.push_back(entries != nullptr &&
                                           entries->activeAction() != nullptr &&
                                           entries->activeAction() == entries->actions().front());
                // As the platform's system menu: moving first, keys in their own column.
                QStringList texts;
                for (const QAction* action : entries->actions()) {
                    texts << action->text() + u'|' + action->shortcut().toString();
                }
                EXPECT_EQ(texts.join(u','),
                          QString::fromUtf8("&Verschieben|,&Größe ändern|,|,&Schließen|Alt+F4,|,"
                                            "&Info über Wertomat...|"));
                menu->close();
            });
            if (byKeyboard) {
                target->setFocus();
                QTest::keyClick(target, Qt::Key_F10, Qt::ShiftModifier);
            } else {
                QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2),
                                        target->mapToGlobal(QPoint(2, 2)));
                QApplication::sendEvent(target, &click);
            }
            testing_support::ProcessEvents();
        };
        expectMenu(window.findChildren<QLabel*>().front(), false);  // "Xa"
        expectMenu(window.Control(IDC_FUNCTION_1), false);
        expectMenu(window.Control(IDC_COMPUTE), true);
        expectMenu(window.Control(IDC_FUNCTION_0), true);
        EXPECT_EQ(opened, 4);
        EXPECT_EQ(firstHighlighted, (std::vector<bool>{false, false, true, true}));
    });
}

TEST(Accessibility, FieldsAreNamedRadiosAreRadiosAndTheTableCanBeRead) {
    WithMainDialog([&](framework::DialogWindow& window) {
        const std::pair<int, const char*> named[] = {
            {IDC_XA, "Xa"}, {IDC_XSW, "Xsw"}, {IDC_XE, "Xe"}, {IDC_RESULTS, "Ergebnisse"}};
        for (const auto& [id, name] : named) {
            QAccessibleInterface* field = QAccessible::queryAccessibleInterface(window.Control(id));
            ASSERT_NE(field, nullptr);
            EXPECT_EQ(field->text(QAccessible::Name), name);
        }
        for (const int id : {IDC_FUNCTION_0, IDC_FUNCTION_1, IDC_FUNCTION_2}) {
            EXPECT_EQ(QAccessible::queryAccessibleInterface(window.Control(id))->role(),
                      QAccessible::RadioButton);
        }
        QTest::mouseClick(window.Control(IDC_COMPUTE), Qt::LeftButton);
        QAccessibleInterface* results =
            QAccessible::queryAccessibleInterface(window.Control(IDC_RESULTS));
        ASSERT_NE(results->textInterface(), nullptr);
        EXPECT_TRUE(results->state().readOnly);
        EXPECT_TRUE(results->state().multiLine);
        const std::string table = wertomat::RunTabulation({0.0, 0.1, 2.0, 0}).text;
        QAccessibleTextInterface* text = results->textInterface();
        // Each line break is one line feed to a screen reader, as in Qt's own fields.
        const auto breaks = static_cast<std::size_t>(std::count(table.begin(), table.end(), '\r'));
        EXPECT_EQ(text->characterCount(), static_cast<int>(table.size() - breaks));
        int start = 0;
        int end = 0;
        EXPECT_EQ(text->textAtOffset(7, QAccessible::LineBoundary, &start, &end),
                  "    0.0000\t   -5.0000\n");
        EXPECT_EQ(start, 4);
        EXPECT_EQ(text->textAtOffset(start - 1, QAccessible::WordBoundary, &start, &end),
                  "y\n    ");
    });
}

TEST(Selection, SelectingInTheResultsSetsThePrimarySelection) {
    if (!QApplication::clipboard()->supportsSelection()) {
        // The X11 run of this test (ctest: PrimarySelectionUnderX11) insists.
        ASSERT_EQ(std::getenv("WERTOMAT_EXPECT_PRIMARY_SELECTION"), nullptr);
        GTEST_SKIP() << "this platform has no primary selection";
    }
    WithMainDialog([&](framework::DialogWindow& window) {
        QTest::mouseClick(window.Control(IDC_COMPUTE), Qt::LeftButton);
        auto* results = qobject_cast<framework::TextView*>(window.Control(IDC_RESULTS));
        results->setFocus();
        QTest::keyClick(results, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(results, Qt::Key_Right, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::clipboard()->text(QClipboard::Selection), "x\t");
    });
}

}  // namespace
