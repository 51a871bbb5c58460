// The main dialog driven as a user drives it: typing, clicks, keys, the system
// menu; message boxes and the About box are answered while they are open.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "core/tabulation.h"
#include "framework/platform.h"
#include "framework/qt/dialog_window.h"
#include "framework/qt/icon_data.h"
#include "framework/qt/qt_text.h"
#include "framework/qt/text_view.h"
#include "framework/winapp.h"
#include "messages/messages.h"
#include "tests/support/gui_test.h"
#include "tests/support/main_dialog_cases.h"
#include "text/text_encoding.h"
#include "ui/wertomatdlg.h"

namespace {

using testing_support::MessageBoxContents;
using testing_support::ProcessEvents;
using testing_support::WhenModalAppears;
using testing_support::WhenPopupAppears;

using main_dialog_cases::kStillOpen;

// The dialog under test with handy access to its controls.
class MainDialog {
public:
    CWertomatDlg dialog;

    QWidget* Window() const { return dialog.Window(); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(dialog.Window()->Control(id)); }
    QRadioButton* Radio(int id) const {
        return qobject_cast<QRadioButton*>(dialog.Window()->Control(id));
    }
    QPushButton* Button(int id) const {
        return qobject_cast<QPushButton*>(dialog.Window()->Control(id));
    }
    framework::TextView* Results() const {
        return qobject_cast<framework::TextView*>(dialog.Window()->Control(IDC_RESULTS));
    }

    void Type(int id, const QString& text) const {
        QLineEdit* edit = Edit(id);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void Compute() const { QTest::mouseClick(Button(IDC_COMPUTE), Qt::LeftButton); }

    // Clicks "Berechnen" and answers the message box that must follow.
    MessageBoxContents ComputeExpectingMessage() const {
        MessageBoxContents shown;
        bool appeared = false;
        WhenModalAppears(
            [&](QWidget* box) {
                appeared = true;
                shown = testing_support::ReadMessageBox(box);
                testing_support::AcceptMessageBox(box);
            },
            Window());
        Compute();
        EXPECT_TRUE(appeared);
        return shown;
    }

    // Runs `steps` inside the modal run; returns DoModal's result.
    INT_PTR Run(std::function<void()> steps) {
        WhenModalAppears([this, steps](QWidget*) {
            steps();
            if (dialog.Window() != nullptr && dialog.Window()->isVisible()) {
                dialog.EndDialog(static_cast<int>(kStillOpen));
            }
        });
        return dialog.DoModal();
    }
};

std::string Utf8(std::string_view windows1252) {
    return text::Windows1252ToUtf8(windows1252);
}

TEST(MainDialogOpening, DefaultsFocusAndSystemMenu) {
    MainDialog main;
    main.Run([&] {
        EXPECT_EQ(main.Edit(IDC_XA)->text(), "0");
        EXPECT_EQ(main.Edit(IDC_XSW)->text(), "0.1");
        EXPECT_EQ(main.Edit(IDC_XE)->text(), "2");
        EXPECT_TRUE(main.Radio(IDC_FUNCTION_0)->isChecked());
        EXPECT_EQ(main.Radio(IDC_FUNCTION_0)->text(), "Y = 2*x³ - 3*x² + 4*x -5");
        EXPECT_FALSE(main.Radio(IDC_FUNCTION_1)->isChecked());
        EXPECT_FALSE(main.Radio(IDC_FUNCTION_2)->isChecked());
        EXPECT_EQ(main.Results()->text(), "");
        EXPECT_EQ(QApplication::focusWidget(), main.Edit(IDC_XA));
        EXPECT_FALSE(main.Window()->windowIcon().isNull());

        const auto& items = main.dialog.GetSystemMenu(FALSE)->Items();
        ASSERT_GE(items.size(), 2u);
        EXPECT_EQ(items[items.size() - 2].flags, MF_SEPARATOR);
        EXPECT_EQ(items.back().text,
                  "&Info \xFC"
                  "ber Wertomat...");
        EXPECT_EQ(items.back().id, ID_SYSMENU_ABOUT);
    });
}

TEST(MainDialogCompute, DefaultsGiveTheWholeTable) {
    MainDialog main;
    main.Run([&] {
        main.Compute();
        EXPECT_EQ(main.Results()->text(), wertomat::RunTabulation({0.0, 0.1, 2.0, 0}).text);
        EXPECT_EQ(main.Results()->model().Layout().LineCount(),
                  23u);  // header, 21 rows, the empty last line
        EXPECT_EQ(main.Results()->text().substr(0, 28), "x\ty\r\n    0.0000\t   -5.0000\r\n");
    });
}

TEST(MainDialogCompute, EachPolynomialReplacesTheTable) {
    MainDialog main;
    main.Run([&] {
        main.Compute();
        QTest::mouseClick(main.Radio(IDC_FUNCTION_1), Qt::LeftButton);
        main.Compute();
        EXPECT_EQ(main.Results()->text(), wertomat::RunTabulation({0.0, 0.1, 2.0, 1}).text);
        QTest::mouseClick(main.Radio(IDC_FUNCTION_2), Qt::LeftButton);
        main.Compute();
        main.Compute();  // the text does not grow
        EXPECT_EQ(main.Results()->text(), wertomat::RunTabulation({0.0, 0.1, 2.0, 2}).text);
    });
}

TEST(MainDialogCompute, GermanDecimalCommaIsAcceptedAndKeptAsTyped) {
    MainDialog main;
    main.Run([&] {
        main.Type(IDC_XA, "2");
        main.Type(IDC_XSW, "-0,5");
        main.Type(IDC_XE, "0");
        main.Compute();
        EXPECT_EQ(main.Edit(IDC_XSW)->text(), "-0,5");
        EXPECT_EQ(main.Results()->text(), wertomat::RunTabulation({2.0, -0.5, 0.0, 0}).text);
    });
}

TEST(MainDialogFailures, FirstFailedComputeLeavesTheResultsEmpty) {
    MainDialog main;
    main.Run([&] {
        main.Type(IDC_XE, "0");
        EXPECT_EQ(main.ComputeExpectingMessage().text,
                  Utf8(messages::ForRefusal(wertomat::TabulationRefusal::EqualStartAndEnd)));
        EXPECT_EQ(main.Results()->text(), "");
    });
}

TEST(MainDialogFailures, TextThatIsNotANumberIsReportedAndKept) {
    MainDialog main;
    main.Run([&] {
        main.Compute();
        const std::string table = main.Results()->text();
        main.Type(IDC_XSW, "0.1x");
        main.Type(IDC_XE, "5");
        const MessageBoxContents shown = main.ComputeExpectingMessage();
        EXPECT_EQ(shown.text, "Bitte eine Zahl eingeben");
        ProcessEvents();
        // No table for values the user did not see, and nothing typed is lost.
        EXPECT_EQ(main.Results()->text(), table);
        EXPECT_EQ(main.Edit(IDC_XSW)->text(), "0.1x");
        EXPECT_EQ(main.Edit(IDC_XE)->text(), "5");
        EXPECT_EQ(main.Window()->focusWidget(), main.Edit(IDC_XSW));
        EXPECT_EQ(main.Edit(IDC_XSW)->selectedText(), "0.1x");
    });
}

// Opens the About box with `open`, checks it and closes it with `close`.
void ExpectAboutBox(MainDialog& main, const std::function<void()>& open,
                    const std::function<void(QWidget*)>& close) {
    bool opened = false;
    WhenModalAppears(
        [&](QWidget* box) {
            opened = true;
            EXPECT_EQ(box->windowTitle(), "Info über Wertomat");
            close(box);
        },
        main.Window());
    open();
    EXPECT_TRUE(opened);
    EXPECT_FALSE(main.Window()->isHidden());  // the main dialog goes on
}

TEST(MainDialogSystemMenu, AboutOpensFromTheMenuAndByItsCommandValues) {
    MainDialog main;
    main.Run([&] {
        main.Type(IDC_XA, "0,25");
        const std::string results = main.Results()->text();

        // Alt+Space, then the entry's mnemonic.
        ExpectAboutBox(
            main,
            [&] {
                WhenPopupAppears([](QWidget* popup) { QTest::keyClick(popup, Qt::Key_I); });
                QTest::keyClick(main.Edit(IDC_XA), Qt::Key_Space, Qt::AltModifier);
            },
            [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });

        // Any command whose value masked with FFF0 is 16, closed each way.
        const std::function<void(QWidget*)> closings[] = {
            [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); },
            [](QWidget* box) { box->close(); },
            [](QWidget* box) { QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton); },
        };
        const UINT commands[] = {16, 17, 31};
        for (int i = 0; i < 3; ++i) {
            ExpectAboutBox(
                main, [&] { main.dialog.SendMessage(WM_SYSCOMMAND, commands[i], 0); }, closings[i]);
        }
        EXPECT_EQ(main.Edit(IDC_XA)->text(), "0,25");
        EXPECT_EQ(main.Results()->text(), results);
    });
}

TEST(MainDialogSystemMenu, OtherSystemCommandsKeepThePlatformDefault) {
    MainDialog main;
    EXPECT_EQ(main.Run([&] { main.dialog.SendMessage(WM_SYSCOMMAND, 32, 0); }), kStillOpen);
    MainDialog closing;
    EXPECT_EQ(closing.Run([&] { closing.dialog.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }),
              IDCANCEL);
}

TEST(MainDialogEnding, EnterOnBerechnenComputes) {
    MainDialog main;
    EXPECT_EQ(main.Run([&] {
        main.Button(IDC_COMPUTE)->setFocus();
        QTest::keyClick(main.Button(IDC_COMPUTE), Qt::Key_Return);
        EXPECT_EQ(main.Results()->model().Layout().LineCount(), 23u);
    }),
              kStillOpen);
}

// What the minimised dialog paints: its background and the icon at `x`, `y`.
QImage ExpectedMinimisedPicture(QWidget* window, int x, int y) {
    QImage picture(window->size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(window->palette().window().color());
    QPainter painter(&picture);
    painter.drawImage(x, y, AfxGetApp()->LoadIcon(IDI_MAIN_ICON)->ImageOfSize(32));
    return picture;
}

TEST(MainDialogMinimised, IconIsCentredWithTruncatingDivision) {
    MainDialog main;
    main.Run([&] {
        QWidget* window = main.Window();
        window->showMinimized();
        ProcessEvents();
        ASSERT_TRUE(main.dialog.IsIconic());
        for (const auto& [width, expectedX] : {std::pair{36, 2}, std::pair{30, 0}}) {
            window->resize(width, 40);
            ProcessEvents();
            ASSERT_EQ(window->width(), width);
            QImage painted(window->size(), QImage::Format_ARGB32_Premultiplied);
            window->render(&painted, QPoint(), QRegion(), QWidget::DrawWindowBackground);
            EXPECT_EQ(painted, ExpectedMinimisedPicture(window, expectedX, (40 - 32 + 1) / 2))
                << "client width " << width;
        }
        EXPECT_EQ(main.dialog.SendMessage(WM_QUERYDRAGICON),
                  reinterpret_cast<LRESULT>(AfxGetApp()->LoadIcon(IDI_MAIN_ICON)));
        window->showNormal();
    });
}

// --- The shared cases, driven on Qt

class QtTarget : public main_dialog_cases::Target {
public:
    INT_PTR Run(CDialog& dialog, std::vector<std::function<void()>> steps) override {
        dialog_ = &dialog;
        std::deque<std::function<void()>> pending(steps.begin(), steps.end());
        QPointer<QWidget> window;
        int idleTicks = 0;
        bool busy = false;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            if (busy) {
                return;  // a step waits inside a loop of its own
            }
            busy = true;
            if (window.isNull() && idleTicks == 0 && dialog_ != nullptr) {
                window = dialog_->Window();
            }
            if (!pending.empty()) {
                const std::function<void()> step = std::move(pending.front());
                pending.pop_front();
                step();
            } else if (++idleTicks == kTicksBeforeGivingUp && !window.isNull() &&
                       window->isVisible()) {
                framework::platform::EndModal(*static_cast<framework::DialogWindow*>(window.data()),
                                              static_cast<int>(kStillOpen));
            }
            busy = false;
        });
        ticks.start(kTickMilliseconds);
        const INT_PTR result = dialog.DoModal();
        dialog_ = nullptr;  // a dialog that deleted itself is gone now
        EXPECT_TRUE(pending.empty()) << "the run ended before its last step";
        return result;
    }

    std::string Text(int id) override {
        const auto text = framework::platform::ControlText(*Window(), id);
        return text.has_value() ? framework::BytesOf(*text) : "(no such control)";
    }
    void Type(int id, const std::string& text) override {
        auto* edit = qobject_cast<QLineEdit*>(Window()->Control(id));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, framework::FromWindows1252(text));
    }
    void Click(int id) override {
        const QPointer<QAbstractButton> button =
            qobject_cast<QAbstractButton*>(Window()->Control(id));
        Later([button] { QTest::mouseClick(button, Qt::LeftButton); }, button.data());
    }
    void PressKey(int id, main_dialog_cases::Key key) override {
        const QPointer<QWidget> control = Window()->Control(id);
        const Qt::Key qtKey =
            key == main_dialog_cases::Key::Enter ? Qt::Key_Return : Qt::Key_Escape;
        Later([control, qtKey] { QTest::keyClick(control, qtKey); }, control);
    }
    void CloseBox() override {
        const QPointer<QWidget> window = Window();
        Later([window] { window->close(); }, window);
    }
    void PostSystemCommand(unsigned command) override {
        CDialog* dialog = dialog_;
        Later([dialog, command] { dialog->SendMessage(WM_SYSCOMMAND, command, 0); }, Window());
    }
    std::vector<main_dialog_cases::MenuEntry> SystemMenu() override {
        std::vector<main_dialog_cases::MenuEntry> entries;
        for (const framework::MenuItem& item : dialog_->GetSystemMenu(FALSE)->Items()) {
            entries.push_back(
                {(item.flags & MF_SEPARATOR) != 0, static_cast<unsigned>(item.id), item.text});
        }
        return entries;
    }
    bool HasFocus(int id) override { return QApplication::focusWidget() == Window()->Control(id); }
    std::optional<main_dialog_cases::Box> CloseOpenBox() override {
        QWidget* box = nullptr;
        for (int waited = 0; waited < 2000 && box == nullptr; waited += 5) {
            QWidget* modal = QApplication::activeModalWidget();
            box = modal != nullptr && modal != Window() && modal->isVisible() ? modal : nullptr;
            if (box == nullptr) {
                QTest::qWait(5);
            }
        }
        if (box == nullptr) {
            return std::nullopt;
        }
        main_dialog_cases::Box read{framework::ToWindows1252(box->windowTitle()).value_or("?"), {}};
        if (auto* message = qobject_cast<QMessageBox*>(box)) {
            read.text = framework::ToWindows1252(message->text()).value_or("?");
            testing_support::AcceptMessageBox(box);
        } else {
            QTest::keyClick(box, Qt::Key_Return);
        }
        return read;
    }
    void Minimize() override { Window()->showMinimized(); }

private:
    static constexpr int kTickMilliseconds = 20;
    static constexpr int kTicksBeforeGivingUp = 100;

    framework::DialogWindow* Window() const { return dialog_->Window(); }
    // After the step, as the user's input comes: from the event loop.
    static void Later(std::function<void()> input, QWidget* target) {
        QTimer::singleShot(0, target, std::move(input));
    }

    CDialog* dialog_ = nullptr;
};

class MainDialogCases : public testing::TestWithParam<main_dialog_cases::Case> {};

TEST_P(MainDialogCases, OnQt) {
    QtTarget target;
    GetParam().run(target);
}

INSTANTIATE_TEST_SUITE_P(Shared, MainDialogCases, testing::ValuesIn(main_dialog_cases::kCases),
                         [](const testing::TestParamInfo<main_dialog_cases::Case>& shared) {
                             return std::string(shared.param.name);
                         });

}  // namespace
