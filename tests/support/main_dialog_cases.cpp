#include "tests/support/main_dialog_cases.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "core/tabulation.h"
#include "framework/winapp.h"
#include "messages/messages.h"
#include "resources/resource.h"
#include "tests/support/self_destroying_dialog.h"
#include "ui/wertomatdlg.h"

namespace main_dialog_cases {
namespace {

const std::string kAboutCaption =
    "Info \xFC"
    "ber Wertomat";

// Each refused entry shows its message in a box of its own, keeps what was
// typed and the table computed before; text that is no number also gets the
// focus back, selected.
void EveryRefusalIsExplainedAndNothingTypedIsLost(Target& target) {
    struct Entry {
        const char *start, *step, *end;
        std::string message;
    };
    const auto refusal = [](wertomat::TabulationRefusal reason) {
        return std::string(messages::ForRefusal(reason));
    };
    using wertomat::TabulationRefusal;
    const std::vector<Entry> entries = {
        {"1", "0.1", "1", refusal(TabulationRefusal::EqualStartAndEnd)},
        {"1", "-1", "1,0", refusal(TabulationRefusal::EqualStartAndEnd)},
        {"0", "0", "1", refusal(TabulationRefusal::RisingRangeNeedsPositiveStep)},
        {"0", "-0,5", "1", refusal(TabulationRefusal::RisingRangeNeedsPositiveStep)},
        {"1", "0.5", "0", refusal(TabulationRefusal::FallingRangeNeedsNegativeStep)},
        {"0", "0.000000001", "1", refusal(TabulationRefusal::TooManyRows)},
        {"0", "0.1x", "5", "Bitte eine Zahl eingeben"},
    };
    const std::string table = wertomat::RunTabulation({0.0, 0.1, 2.0, 0}).text;
    std::vector<std::function<void()>> steps = {[&] { target.Click(IDC_COMPUTE); }};
    for (const Entry& entry : entries) {
        steps.emplace_back([&] {
            target.Type(IDC_XA, entry.start);
            target.Type(IDC_XSW, entry.step);
            target.Type(IDC_XE, entry.end);
            target.Click(IDC_COMPUTE);
        });
        steps.emplace_back([&] {
            const std::optional<Box> box = target.CloseOpenBox();
            ASSERT_TRUE(box.has_value()) << entry.start << " " << entry.step << " " << entry.end;
            EXPECT_EQ(box->caption, "Wertomat");
            EXPECT_EQ(box->text, entry.message);
        });
        steps.emplace_back([] {});  // the dialog's handler goes on once the box is gone
        steps.emplace_back([&] {
            SCOPED_TRACE(std::string(entry.start) + " " + entry.step + " " + entry.end);
            EXPECT_EQ(target.Text(IDC_XA), entry.start);
            EXPECT_EQ(target.Text(IDC_XSW), entry.step);
            EXPECT_EQ(target.Text(IDC_XE), entry.end);
            EXPECT_EQ(target.Text(IDC_RESULTS), table);
        });
    }
    steps.emplace_back([&] { EXPECT_TRUE(target.HasFocus(IDC_XSW)); });
    CWertomatDlg dialog(nullptr);
    target.Run(dialog, std::move(steps));
}

// Abbrechen, Escape and the close box cancel; Enter in a field is OK. None
// of them computes.
void CancelEscapeCloseBoxAndEnterEndTheRun(Target& target) {
    struct Ending {
        const char* name;
        std::function<void()> act;
        INT_PTR result;
    };
    const std::vector<Ending> endings = {
        {"Abbrechen", [&] { target.Click(IDCANCEL); }, IDCANCEL},
        {"Escape", [&] { target.PressKey(IDC_XSW, Key::Escape); }, IDCANCEL},
        {"close box", [&] { target.CloseBox(); }, IDCANCEL},
        {"Enter in a field", [&] { target.PressKey(IDC_XE, Key::Enter); }, IDOK},
    };
    for (const Ending& ending : endings) {
        CWertomatDlg dialog(nullptr);
        EXPECT_EQ(target.Run(dialog, {ending.act}), ending.result) << ending.name;
        EXPECT_EQ(dialog.Window(), nullptr) << ending.name;
    }
}

// The menu ends with a separator and "Info über Wertomat..."; the About box
// opens by every command value that masked with FFF0 is the entry's (16),
// and the main dialog goes on with what was typed. Other system commands
// keep the platform's default: SC_CLOSE cancels.
void TheSystemMenuEndsWithAboutWhichOpensByItsCommandValues(Target& target) {
    std::vector<MenuEntry> menu;
    std::vector<std::function<void()>> steps = {[&] {
        menu = target.SystemMenu();
        target.Type(IDC_XA, "0,25");
    }};
    for (const unsigned command : {16U, 17U, 31U}) {
        steps.emplace_back([&target, command] { target.PostSystemCommand(command); });
        steps.emplace_back([&target, command] {
            const std::optional<Box> box = target.CloseOpenBox();
            ASSERT_TRUE(box.has_value()) << "command " << command;
            EXPECT_EQ(box->caption, kAboutCaption);
        });
    }
    steps.emplace_back([&] { EXPECT_EQ(target.Text(IDC_XA), "0,25"); });
    steps.emplace_back([&] { target.PostSystemCommand(0xF060); });  // SC_CLOSE
    CWertomatDlg dialog(nullptr);
    EXPECT_EQ(target.Run(dialog, std::move(steps)), IDCANCEL);
    ASSERT_GE(menu.size(), 3U);
    EXPECT_TRUE(menu[menu.size() - 2].separator);
    EXPECT_EQ(menu.back().id, unsigned{ID_SYSMENU_ABOUT});
    EXPECT_EQ(menu.back().text,
              "&Info \xFC"
              "ber Wertomat...");
}

// Minimised, the dialog is iconic and answers WM_QUERYDRAGICON with the
// program's icon.
void MinimisedItAnswersWithTheProgramIcon(Target& target) {
    CWertomatDlg dialog(nullptr);
    bool iconic = false;
    LRESULT dragIcon = 0;
    // The platform's dialog manager shows the dialog once its queue first
    // runs empty; minimising it before that would be undone.
    target.Run(dialog, {[] {}, [&] { target.Minimize(); }, [] {},
                        [&] {
                            iconic = dialog.IsIconic() != FALSE;
                            dragIcon = dialog.SendMessage(WM_QUERYDRAGICON, 0, 0);
                        }});
    EXPECT_TRUE(iconic);
    EXPECT_EQ(dragIcon, reinterpret_cast<LRESULT>(AfxGetApp()->LoadIcon(IDI_MAIN_ICON)));
}

// A dialog that destroys its window, or itself, from its own handler: the
// run ends with -1 and touches nothing freed (the sanitizer build checks).
void DestroyedDuringItsOwnRunEndsTheRunSafely(Target& target) {
    using testing_support::SelfDestroyingDialog;
    SelfDestroyingDialog windowOnly(SelfDestroyingDialog::Destroys::Window);
    EXPECT_EQ(target.Run(windowOnly, {[&] { target.Click(IDC_COMPUTE); }}), -1);
    EXPECT_EQ(windowOnly.Window(), nullptr);

    auto* wholeObject = new SelfDestroyingDialog(SelfDestroyingDialog::Destroys::WholeObject);
    EXPECT_EQ(target.Run(*wholeObject, {[&] { target.Click(IDC_COMPUTE); }}), -1);
}

}  // namespace

const std::vector<Case> kCases = {
    {"EveryRefusalIsExplainedAndNothingTypedIsLost", &EveryRefusalIsExplainedAndNothingTypedIsLost},
    {"CancelEscapeCloseBoxAndEnterEndTheRun", &CancelEscapeCloseBoxAndEnterEndTheRun},
    {"TheSystemMenuEndsWithAboutWhichOpensByItsCommandValues",
     &TheSystemMenuEndsWithAboutWhichOpensByItsCommandValues},
    {"MinimisedItAnswersWithTheProgramIcon", &MinimisedItAnswersWithTheProgramIcon},
    {"DestroyedDuringItsOwnRunEndsTheRunSafely", &DestroyedDuringItsOwnRunEndsTheRunSafely},
};

}  // namespace main_dialog_cases
