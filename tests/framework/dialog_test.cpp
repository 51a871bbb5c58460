// The framework's dialogs, driven through the main form with a dialog class of
// the test's own: building from the template, focus, radio groups, the data
// exchange and the ways a dialog ends.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <functional>
#include <vector>

#include "framework/dialog.h"
#include "framework/qt/dialog_units.h"
#include "framework/qt/dialog_window.h"
#include "framework/qt/text_view.h"
#include "framework/resources.h"
#include "resources/resource.h"
#include "tests/support/frame_resizes.h"
#include "tests/support/gui_test.h"
#include "tests/support/self_destroying_dialog.h"

namespace {

using testing_support::ProcessEvents;
using testing_support::WhenModalAppears;
using testing_support::WhenPopupAppears;

class ExchangeDialog : public CDialogEx {
public:
    ExchangeDialog() : CDialogEx(IDD_MAIN_DIALOG) {}

    double start = 1.5;
    double step = -0.25;
    double end = 1e21;
    int choice = 2;
    CString text{"a\r\nb\t\xFC"};
    std::vector<UINT> systemCommands;

    using CDialog::UpdateData;

    QWidget* Control(int id) const { return Window()->Control(id); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(Control(id)); }
    QRadioButton* Radio(int id) const { return qobject_cast<QRadioButton*>(Control(id)); }

    void OnSysCommand(UINT nID, LPARAM lParam) {
        systemCommands.push_back(nID);
        CDialogEx::OnSysCommand(nID, lParam);
    }

    const framework::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const framework::MessageMap messageMap;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialogEx::DoDataExchange(pDX);
        DDX_Text(pDX, IDC_XA, start);
        DDX_Text(pDX, IDC_XSW, step);
        DDX_Text(pDX, IDC_XE, end);
        DDX_Radio(pDX, IDC_FUNCTION_0, choice);
        DDX_Text(pDX, IDC_RESULTS, text);
    }

private:
    static const framework::MessageMapEntry messageEntries[];
};

const framework::MessageMapEntry ExchangeDialog::messageEntries[] = {
    framework::SysCommandEntry<&ExchangeDialog::OnSysCommand>(),
};
const framework::MessageMap ExchangeDialog::messageMap{&CDialogEx::messageMap,
                                                       ExchangeDialog::messageEntries};

// Runs `steps` inside the dialog's modal run; the dialog is cancelled afterwards
// unless a step ended it. Returns DoModal's result.
INT_PTR RunWith(ExchangeDialog& dialog, std::function<void(QWidget*)> steps) {
    WhenModalAppears([&dialog, steps](QWidget* window) {
        steps(window);
        if (dialog.Window() != nullptr && dialog.Window()->isVisible()) {
            dialog.EndDialog(-2);
        }
    });
    return dialog.DoModal();
}

TEST(DialogFromTemplate, ControlsStandWhereTheTemplatePutsThem) {
    ExchangeDialog dialog;
    RunWith(dialog, [&](QWidget* window) {
        const framework::DialogTemplate& form =
            **framework::LoadDialogTemplate(IDD_MAIN_DIALOG).value;
        const framework::DialogBaseUnits base = dialog.Window()->BaseUnits();
        EXPECT_GT(base.x, 3);
        EXPECT_GT(base.y, 8);
        EXPECT_EQ(window->size(), QSize(framework::HorizontalPixels(347, base),
                                        framework::VerticalPixels(228, base)));
        EXPECT_EQ(window->windowTitle(), "Wertomat");
        // "Arial" is served by its metric twin, so dialog units come out as designed.
        EXPECT_EQ(QFontInfo(window->font()).family(), "Liberation Sans");
        for (const framework::ControlTemplate& control : form.controls) {
            if (control.id == IDC_STATIC) {
                continue;
            }
            EXPECT_EQ(
                dialog.Control(control.id)->geometry(),
                framework::PixelRect(control.x, control.y, control.width, control.height, base))
                << control.id;
        }
        // Captions come through the code page: superscripts and a comma.
        EXPECT_EQ(dialog.Radio(IDC_FUNCTION_2)->text(), "Y = -0,5*x³ +0,4*x² + 4*x +33");
        // Resizable by its frame, with no minimise or maximise box.
        EXPECT_NE(window->minimumSize(), window->maximumSize());
        EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
        // The frame sizes the results and moves the buttons with the corner;
        // the rest stays, and nothing goes below the form's size.
        const auto place = [&dialog](int id) { return dialog.Control(id)->geometry(); };
        for (const frame_resizes::Resize& resize : frame_resizes::kResizes) {
            SCOPED_TRACE(resize.name);
            const QRect results = place(IDC_RESULTS);
            const QRect compute = place(IDC_COMPUTE);
            const QRect cancel = place(IDCANCEL);
            const QRect start = place(IDC_XA);
            const QSize was = window->size();
            window->resize(window->width() + resize.growX, window->height() + resize.growY);
            ProcessEvents();
            const int dx = resize.AllowedX();
            const int dy = resize.AllowedY();
            EXPECT_EQ(window->size(), was + QSize(dx, dy));
            EXPECT_EQ(place(IDC_RESULTS), results.adjusted(0, 0, dx, dy));
            EXPECT_EQ(place(IDC_COMPUTE), compute.translated(dx, dy));
            EXPECT_EQ(place(IDCANCEL), cancel.translated(dx, dy));
            EXPECT_EQ(place(IDC_XA), start);
            window->resize(was);
            ProcessEvents();
        }
    });
}

TEST(DialogFromTemplate, ToolkitTextsAreGerman) {
    // The text fields' own context menus, whatever the user's locale.
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Copy"), "&Kopieren");
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "Select All"), "Alles auswählen");
}

TEST(DialogFromTemplate, DialogUnitsConvertLikeMulDiv) {
    using framework::MulDiv;
    EXPECT_EQ(MulDiv(347, 7, 4), 607);  // 607.25
    EXPECT_EQ(MulDiv(5, 7, 4), 9);      // 8.75
    EXPECT_EQ(MulDiv(2, 7, 4), 4);      // 3.5 rounds away from zero
    EXPECT_EQ(MulDiv(-2, 7, 4), -4);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(1 << 30, 8, 1), -1);  // does not fit
    const framework::DialogBaseUnits base{7, 16};
    EXPECT_EQ(framework::PixelRect(171, 19, 148, 174, base), QRect(299, 38, 259, 348));
}

TEST(DialogFocus, TabVisitsTheTabStopsInTemplateOrderAndTheCheckedRadioButton) {
    ExchangeDialog dialog;
    RunWith(dialog, [&](QWidget* window) {
        // Initial focus: the first tab stop, its text selected.
        ASSERT_EQ(QApplication::focusWidget(), dialog.Control(IDC_XA));
        EXPECT_TRUE(dialog.Edit(IDC_XA)->hasSelectedText());
        const std::vector<int> expected{IDC_XSW,     IDC_XE,   IDC_FUNCTION_2, IDC_RESULTS,
                                        IDC_COMPUTE, IDCANCEL, IDC_XA};
        for (const int id : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), dialog.Control(id)) << "expected " << id;
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), dialog.Control(IDCANCEL));
        static_cast<void>(window);
    });
}

TEST(DialogRadioGroup, ClicksAndArrowKeysCheckExactlyOneButton) {
    ExchangeDialog dialog;
    RunWith(dialog, [&](QWidget*) {
        QRadioButton* first = dialog.Radio(IDC_FUNCTION_0);
        QRadioButton* second = dialog.Radio(IDC_FUNCTION_1);
        QRadioButton* third = dialog.Radio(IDC_FUNCTION_2);
        EXPECT_TRUE(third->isChecked());
        QTest::mouseClick(first, Qt::LeftButton);
        EXPECT_TRUE(first->isChecked());
        EXPECT_FALSE(second->isChecked());
        EXPECT_FALSE(third->isChecked());
        QTest::mouseClick(first, Qt::LeftButton);  // clicking the checked one keeps it
        EXPECT_TRUE(first->isChecked());

        first->setFocus();
        QTest::keyClick(first, Qt::Key_Down);
        EXPECT_TRUE(second->isChecked());
        EXPECT_EQ(QApplication::focusWidget(), second);
        QTest::keyClick(second, Qt::Key_Down);
        QTest::keyClick(third, Qt::Key_Down);  // wraps within the group
        EXPECT_TRUE(first->isChecked());
        QTest::keyClick(first, Qt::Key_Up);
        EXPECT_TRUE(third->isChecked());

        ASSERT_TRUE(dialog.UpdateData(TRUE));
        EXPECT_EQ(dialog.choice, 2);
        // Only the checked button is a tab stop.
        EXPECT_EQ(third->focusPolicy(), Qt::StrongFocus);
        EXPECT_EQ(first->focusPolicy(), Qt::ClickFocus);
        // The group box takes no part: never focused, never counted.
        EXPECT_EQ(dialog.Window()->findChild<QGroupBox*>()->focusPolicy(), Qt::NoFocus);
    });
}

TEST(DialogExchange, LoadDirectionWritesEveryField) {
    ExchangeDialog dialog;
    RunWith(dialog, [&](QWidget*) {
        EXPECT_EQ(dialog.Edit(IDC_XA)->text(), "1.5");
        EXPECT_EQ(dialog.Edit(IDC_XSW)->text(), "-0.25");
        EXPECT_EQ(dialog.Edit(IDC_XE)->text(), "1e+21");
        EXPECT_TRUE(dialog.Radio(IDC_FUNCTION_2)->isChecked());
        auto* results = qobject_cast<framework::TextView*>(dialog.Control(IDC_RESULTS));
        ASSERT_NE(results, nullptr);
        EXPECT_EQ(results->text(), "a\r\nb\t\xFC");  // the bytes as given
        EXPECT_EQ(results->model().Layout().LineCount(), 2u);
    });
}

TEST(DialogExchange, SaveDirectionReadsEveryFieldAndAcceptsCommas) {
    ExchangeDialog dialog;
    RunWith(dialog, [&](QWidget*) {
        dialog.Edit(IDC_XA)->setText(" -0,5 ");
        dialog.Edit(IDC_XSW)->setText("1e-3");
        dialog.Edit(IDC_XE)->setText("+7");
        QTest::mouseClick(dialog.Radio(IDC_FUNCTION_1), Qt::LeftButton);
        ASSERT_TRUE(dialog.UpdateData(TRUE));
        EXPECT_EQ(dialog.start, -0.5);
        EXPECT_EQ(dialog.step, 0.001);
        EXPECT_EQ(dialog.end, 7.0);
        EXPECT_EQ(dialog.choice, 1);
        EXPECT_EQ(dialog.text.Bytes(), "a\r\nb\t\xFC");
        // Writing back keeps a text that reads as the value, and rewrites one that does not.
        dialog.step = 0.25;
        ASSERT_TRUE(dialog.UpdateData(FALSE));
        EXPECT_EQ(dialog.Edit(IDC_XA)->text(), " -0,5 ");
        EXPECT_EQ(dialog.Edit(IDC_XSW)->text(), "0.25");
    });
}

TEST(DialogExchange, TextThatIsNotANumberStopsTheExchangeWithAMessage) {
    ExchangeDialog dialog;
    RunWith(dialog, [&](QWidget* window) {
        dialog.Edit(IDC_XA)->setText("3");
        dialog.Edit(IDC_XSW)->setText("zwei");
        dialog.Edit(IDC_XE)->setText("9");
        testing_support::MessageBoxContents shown;
        WhenModalAppears(
            [&](QWidget* box) {
                shown = testing_support::ReadMessageBox(box);
                testing_support::AcceptMessageBox(box);
            },
            window);
        EXPECT_FALSE(dialog.UpdateData(TRUE));
        EXPECT_EQ(shown.text, "Bitte eine Zahl eingeben");
        EXPECT_EQ(shown.caption, "Wertomat");
        EXPECT_EQ(shown.buttonCount, 1);
        // Fields before the bad one were read, the bad one and those after kept their values.
        EXPECT_EQ(dialog.start, 3.0);
        EXPECT_EQ(dialog.step, -0.25);
        EXPECT_EQ(dialog.end, 1e21);
        // The user is taken to the field, its text selected and unchanged.
        ProcessEvents();
        EXPECT_EQ(window->focusWidget(), dialog.Control(IDC_XSW));
        EXPECT_EQ(dialog.Edit(IDC_XSW)->selectedText(), "zwei");
    });
}

TEST(DialogEnding, EnterIsOkEscapeIsCancelAndAFocusedButtonTakesEnter) {
    {
        ExchangeDialog dialog;
        EXPECT_EQ(
            RunWith(dialog,
                    [&](QWidget*) { QTest::keyClick(dialog.Control(IDC_XE), Qt::Key_Return); }),
            IDOK);
    }
    {
        ExchangeDialog dialog;
        EXPECT_EQ(RunWith(dialog,
                          [&](QWidget*) {
                              QTest::keyClick(dialog.Control(IDC_RESULTS), Qt::Key_Escape);
                          }),
                  IDCANCEL);
    }
    {
        ExchangeDialog dialog;
        EXPECT_EQ(RunWith(dialog,
                          [&](QWidget*) {
                              dialog.Control(IDCANCEL)->setFocus();
                              QTest::keyClick(dialog.Control(IDCANCEL), Qt::Key_Return);
                          }),
                  IDCANCEL);
    }
    {
        // OK with a field that is not a number: told, and the dialog stays.
        ExchangeDialog dialog;
        EXPECT_EQ(RunWith(dialog,
                          [&](QWidget* window) {
                              dialog.Edit(IDC_XA)->setText("x");
                              WhenModalAppears(testing_support::AcceptMessageBox, window);
                              QTest::keyClick(dialog.Control(IDC_XA), Qt::Key_Enter);
                              EXPECT_TRUE(dialog.Window()->isVisible());
                          }),
                  -2);
    }
}

TEST(DialogEnding, TheCloseBoxArrivesAsTheCloseSystemCommand) {
    ExchangeDialog dialog;
    EXPECT_EQ(RunWith(dialog, [&](QWidget* window) { window->close(); }), IDCANCEL);
    EXPECT_EQ(dialog.systemCommands, std::vector<UINT>{SC_CLOSE});
}

TEST(DialogSystemMenu, HoldsThePlatformEntriesAndOpensByKeyAndOnTheFreeArea) {
    ExchangeDialog dialog;
    RunWith(dialog, [&](QWidget* window) {
        CMenu* menu = dialog.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        std::vector<std::string> texts;
        for (const CMenu::Item& item : menu->Items()) {
            texts.push_back(item.text);
        }
        EXPECT_EQ(texts, (std::vector<std::string>{"&Verschieben",
                                                   "&Gr\xF6\xDF"
                                                   "e \xE4ndern",
                                                   "",
                                                   "&Schlie\xDF"
                                                   "en\tAlt+F4"}));
        menu->AppendMenu(MF_STRING, 0x40, "Eintrag");

        // Alt+Space opens it; choosing an entry sends its command.
        std::vector<QString> shown;
        WhenPopupAppears([&](QWidget* popup) {
            for (QAction* action : static_cast<QMenu*>(popup)->actions()) {
                shown.push_back(action->text());
            }
            QTest::keyClick(popup, Qt::Key_Up);
            QTest::keyClick(popup, Qt::Key_Return);
        });
        QTest::keyClick(dialog.Control(IDC_XA), Qt::Key_Space, Qt::AltModifier);
        // From the keyboard too, moving and sizing first; each key in its own column.
        EXPECT_EQ(shown, (std::vector<QString>{QStringLiteral("&Verschieben"),
                                               QStringLiteral("&Gr\u00F6\u00DFe \u00E4ndern"),
                                               QString(), QStringLiteral("&Schlie\u00DFen"),
                                               QStringLiteral("Eintrag")}));
        EXPECT_EQ(dialog.systemCommands, std::vector<UINT>{0x40});

        // A right click on the free area opens it too.
        bool opened = false;
        WhenPopupAppears([&opened](QWidget* popup) {
            opened = true;
            QTest::keyClick(popup, Qt::Key_Escape);
        });
        QContextMenuEvent onFreeArea(QContextMenuEvent::Mouse, QPoint(5, 5),
                                     window->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(window, &onFreeArea);
        EXPECT_TRUE(opened);
        EXPECT_EQ(dialog.systemCommands.size(), 1u);  // dismissed: no command
        // Reverted, the menu holds the platform's entries again, without ours.
        dialog.GetSystemMenu(TRUE);
        const std::vector<framework::MenuItem>& items = dialog.GetSystemMenu(FALSE)->Items();
        EXPECT_EQ(items.size(), 4u);
        EXPECT_TRUE(std::none_of(items.begin(), items.end(),
                                 [](const framework::MenuItem& item) { return item.id == 0x40; }));
    });
}

}  // namespace

namespace {

// A dialog destroyed during its own run: tests/support/main_dialog_cases.cpp.

TEST(DialogLifetime, AMissingTemplateIsReported) {
    CDialog missing(4711);
    testing::internal::CaptureStderr();
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Dialogvorlage 4711"), std::string::npos);
    EXPECT_TRUE(framework::DialogFailedToLoad());
}

}  // namespace
