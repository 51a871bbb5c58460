// The program's dialogs on the Win32 backend, run by the platform's dialog
// manager under Wine and driven with real messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/tabulation.h"
#include "dialog_driver.h"
#include "framework/winapp.h"
#include "messages/messages.h"
#include "resources/resource.h"
#include "tests/support/frame_resizes.h"
#include "tests/support/self_destroying_dialog.h"
#include "ui/wertomatdlg.h"

namespace {

CWinApp testApplication;  // the main dialog loads its icon through it

constexpr unsigned kEnter = 0x0D;
constexpr unsigned kEscape = 0x1B;
constexpr unsigned kInsert = 0x2D;
constexpr unsigned kHome = 0x24;
constexpr unsigned kEnd = 0x23;
constexpr unsigned kClose = 0xF060;   // SC_CLOSE
constexpr int kMessageText = 0xFFFF;  // the message box's text control
const std::string kAboutCaption =
    "Info \xFC"
    "ber Wertomat";

driver::Window MainDialog() {
    return driver::FindDialog("Wertomat", IDC_XA);
}

std::u16string Utf16(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

TEST(Win32MainDialog, OpensWithItsDefaultsAndTabsThroughTheForm) {
    std::vector<std::string> texts;
    std::vector<int> tabOrder;
    int focus = 0;
    bool firstChecked = false;
    driver::RunSteps({[&] {
        driver::Window dialog = MainDialog();
        ASSERT_NE(dialog, nullptr);
        for (const int id : {IDC_XA, IDC_XSW, IDC_XE, IDC_RESULTS}) {
            // cppcheck-suppress useStlAlgorithm ; a list of four reads plainer as a loop
            texts.push_back(driver::Text(dialog, id));
        }
        firstChecked =
            driver::IsChecked(dialog, IDC_FUNCTION_0) && !driver::IsChecked(dialog, IDC_FUNCTION_1);
        focus = driver::FocusedControlId();
        tabOrder = driver::TabOrder(dialog);
        driver::Click(dialog, IDCANCEL);
    }});
    CWertomatDlg dlg(nullptr);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(texts, (std::vector<std::string>{"0", "0.1", "2", ""}));
    EXPECT_TRUE(firstChecked);
    EXPECT_EQ(focus, IDC_XA);
    EXPECT_EQ(tabOrder, (std::vector<int>{IDC_XA, IDC_XSW, IDC_XE, IDC_FUNCTION_0, IDC_RESULTS,
                                          IDC_COMPUTE, IDCANCEL}));
}

TEST(Win32MainDialog, ComputeFillsTheResultsWithTheTable) {
    std::string results;
    bool thirdChecked = false;
    driver::RunSteps({[&] {
                          driver::Window dialog = MainDialog();
                          driver::SetText(dialog, IDC_XA, "-1");
                          driver::SetText(dialog, IDC_XSW, "0.25");
                          driver::SetText(dialog, IDC_XE, "1");
                          driver::Click(dialog, IDC_FUNCTION_2);
                          driver::Click(dialog, IDC_COMPUTE);
                      },
                      [&] {
                          results = driver::Text(MainDialog(), IDC_RESULTS);
                          thirdChecked = driver::IsChecked(MainDialog(), IDC_FUNCTION_2);
                          driver::Click(MainDialog(), IDCANCEL);
                      }});
    CWertomatDlg dlg(nullptr);
    dlg.DoModal();
    EXPECT_EQ(results, wertomat::RunTabulation({-1.0, 0.25, 1.0, 2}).text);
    EXPECT_TRUE(thirdChecked);
}

TEST(Win32MainDialog, RefusedInputIsExplainedInAMessageBoxAndKept) {
    std::vector<std::string> shown;
    std::string keptStep;
    std::string results = "unread";
    int focusAfterNotANumber = 0;
    const auto answerMessageBox = [&] {
        driver::Window box = driver::FindDialog("Wertomat", kMessageText);
        ASSERT_NE(box, nullptr);
        shown.push_back(driver::Text(box, kMessageText));
        driver::PressKey(box, kEnter);
    };
    driver::RunSteps({[&] {
                          driver::SetText(MainDialog(), IDC_XSW, "-0.1");
                          driver::Click(MainDialog(), IDC_COMPUTE);
                      },
                      answerMessageBox,
                      [&] {
                          keptStep = driver::Text(MainDialog(), IDC_XSW);
                          results = driver::Text(MainDialog(), IDC_RESULTS);
                          driver::SetText(MainDialog(), IDC_XA, "zwei");
                          driver::Click(MainDialog(), IDC_COMPUTE);
                      },
                      answerMessageBox,
                      [&] {
                          focusAfterNotANumber = driver::FocusedControlId();
                          driver::Click(MainDialog(), IDCANCEL);
                      }});
    CWertomatDlg dlg(nullptr);
    dlg.DoModal();
    const std::string_view refused =
        messages::ForRefusal(wertomat::RunTabulation({0, -0.1, 2, 0}).refusal);
    EXPECT_EQ(shown, (std::vector<std::string>{std::string(refused), "Bitte eine Zahl eingeben"}));
    EXPECT_EQ(keptStep, "-0.1");
    EXPECT_EQ(results, "");
    EXPECT_EQ(focusAfterNotANumber, IDC_XA);
}

TEST(Win32MainDialog, SystemMenuEndsWithTheAboutEntryThatOpensTheBox) {
    std::vector<driver::MenuEntry> menu;
    int aboutBoxesSeen = 0;
    const auto closeAboutBox = [&] {
        driver::Window about = driver::FindDialog(kAboutCaption, IDOK);
        aboutBoxesSeen += about != nullptr ? 1 : 0;
        driver::PressKey(about, kEscape);
    };
    driver::RunSteps({[&] {
                          menu = driver::SystemMenu(MainDialog());
                          driver::PostSystemCommand(MainDialog(), ID_SYSMENU_ABOUT);
                      },
                      closeAboutBox,
                      [&] {
                          // As the menu sends it: the entry's own identifier.
                          driver::PostSystemCommand(MainDialog(), menu.back().id);
                      },
                      closeAboutBox, [&] { driver::Click(MainDialog(), IDCANCEL); }});
    CWertomatDlg dlg(nullptr);
    dlg.DoModal();
    ASSERT_GE(menu.size(), 3U);
    EXPECT_TRUE(menu[menu.size() - 2].separator);
    EXPECT_EQ(menu.back().id, unsigned{ID_SYSMENU_ABOUT});
    EXPECT_EQ(menu.back().text,
              "&Info \xFC"
              "ber Wertomat...");
    EXPECT_EQ(aboutBoxesSeen, 2);
}

TEST(Win32MainDialog, EnterEscapeAndTheCloseBoxEndTheRun) {
    const std::vector<std::pair<std::function<void()>, INT_PTR>> endings = {
        {[] { driver::PressKey(MainDialog(), kEnter); }, IDOK},
        {[] { driver::PressKey(MainDialog(), kEscape); }, IDCANCEL},
        {[] { driver::PostSystemCommand(MainDialog(), kClose); }, IDCANCEL},
    };
    for (const auto& [ending, expected] : endings) {
        driver::RunSteps({ending});
        CWertomatDlg dlg(nullptr);
        EXPECT_EQ(dlg.DoModal(), expected);
    }
}

// The Qt side has the same case (DialogLifetime): a dialog that destroys its
// window, or itself, while the dialog manager runs it.
TEST(Win32DialogLifetime, DestroyedDuringItsOwnRunEndsTheRunSafely) {
    using testing_support::SelfDestroyingDialog;
    const auto clickCompute = [] { driver::Click(MainDialog(), IDC_COMPUTE); };
    driver::RunSteps({clickCompute});
    SelfDestroyingDialog windowOnly(SelfDestroyingDialog::Destroys::Window);
    EXPECT_EQ(windowOnly.DoModal(), -1);
    EXPECT_EQ(windowOnly.Window(), nullptr);

    driver::RunSteps({clickCompute});
    auto* wholeObject = new SelfDestroyingDialog(SelfDestroyingDialog::Destroys::WholeObject);
    EXPECT_EQ(wholeObject->DoModal(), -1);
}

TEST(Win32MainDialog, MinimisedItAnswersWithTheProgramIcon) {
    bool minimized = false;
    BOOL iconic = FALSE;
    int dragIconWidth = 0;
    CWertomatDlg dlg(nullptr);
    // The dialog manager shows the dialog once its queue first runs empty;
    // minimising it before that would be undone.
    driver::RunSteps({[] {}, [&] { driver::Minimize(MainDialog()); },
                      [&] {
                          minimized = driver::IsMinimized(MainDialog());
                          iconic = dlg.IsIconic();
                          dragIconWidth = driver::DragIconWidth(MainDialog());
                          driver::PostSystemCommand(MainDialog(), kClose);
                      }});
    dlg.DoModal();
    EXPECT_TRUE(minimized);
    EXPECT_TRUE(iconic);
    EXPECT_EQ(dragIconWidth, GetSystemMetrics(SM_CXICON));
}

TEST(Win32ResultsView, SelectsByKeyMouseAndMessageAndCopiesWithLineBreaks) {
    const std::string table = wertomat::RunTabulation({0, 0.1, 2, 0}).text;
    std::vector<std::pair<std::size_t, std::size_t>> selections;
    std::vector<std::u16string> copies;
    std::vector<int> scrolled;
    driver::RunSteps({[&] { driver::Click(MainDialog(), IDC_COMPUTE); },
                      [&] {
                          driver::Window dialog = MainDialog();
                          driver::ControlKey(dialog, IDC_RESULTS, 'A');
                          selections.push_back(driver::Selection(dialog, IDC_RESULTS));
                          scrolled.push_back(driver::VerticalScrollPosition(dialog, IDC_RESULTS));
                          driver::ControlKey(dialog, IDC_RESULTS, 'C');
                          copies.push_back(driver::ClipboardText());
                          driver::ControlKey(dialog, IDC_RESULTS, kEnd);
                          scrolled.push_back(driver::VerticalScrollPosition(dialog, IDC_RESULTS));
                          driver::Select(dialog, IDC_RESULTS, 5, 30);
                          driver::ControlKey(dialog, IDC_RESULTS, kInsert);
                          copies.push_back(driver::ClipboardText());
                          driver::ControlKey(dialog, IDC_RESULTS, kHome);  // to the top
                          driver::MouseDrag(dialog, IDC_RESULTS, 1, 3, 2000, 3);
                          selections.push_back(driver::Selection(dialog, IDC_RESULTS));
                          driver::Click(dialog, IDCANCEL);
                      }});
    CWertomatDlg dlg(nullptr);
    dlg.DoModal();
    // Selecting everything leaves the view at the top; Ctrl+End goes down.
    ASSERT_EQ(scrolled.size(), 2U);
    EXPECT_EQ(scrolled[0], 0);
    EXPECT_GT(scrolled[1], 0);
    ASSERT_EQ(selections.size(), 2U);
    EXPECT_EQ(selections[0], std::make_pair(std::size_t{0}, table.size()));
    EXPECT_EQ(selections[1], std::make_pair(std::size_t{0}, table.find('\r')));  // the first line
    ASSERT_EQ(copies.size(), 2U);
    EXPECT_EQ(copies[0], Utf16(table));
    EXPECT_EQ(copies[1], Utf16(table.substr(5, 25)));
}

// A long paste is read whole, not cut at the platform edit's default limit
// and read as another number.
TEST(Win32MainDialog, LongPastesAreReadWhole) {
    std::string results;
    std::vector<std::string> messages;
    driver::RunSteps({[&] {
                          driver::Paste(MainDialog(), IDC_XSW, std::string(30'000, '0') + "5");
                          driver::Paste(MainDialog(), IDC_XE, "10");
                          driver::Paste(MainDialog(), IDC_XA, std::string(40'000, '0') + "5");
                          driver::Click(MainDialog(), IDC_COMPUTE);
                      },
                      [&] {
                          results = driver::Text(MainDialog(), IDC_RESULTS);
                          driver::Click(MainDialog(), IDCANCEL);
                      }});
    CWertomatDlg dlg(nullptr);
    dlg.DoModal();
    EXPECT_EQ(results, wertomat::RunTabulation({5, 5, 10, 0}).text);
}

// The frame sizes the results and moves the buttons with the corner; the rest
// stays, and nothing goes below the form's size.
TEST(Win32MainDialog, TheSizingFrameGrowsTheResultsAndMovesTheButtons) {
    using Place = std::array<int, 4>;
    const auto moved = [](Place place, int dx, int dy) {
        return Place{place[0] + dx, place[1] + dy, place[2], place[3]};
    };
    std::vector<std::function<void()>> steps(frame_resizes::kResizes.size());
    std::transform(
        frame_resizes::kResizes.begin(), frame_resizes::kResizes.end(), steps.begin(),
        [&moved](const frame_resizes::Resize& resize) -> std::function<void()> {
            return [&resize, &moved] {
                SCOPED_TRACE(std::string(resize.name));
                const auto [width, height] = driver::WindowSize(MainDialog());
                const Place results = driver::ControlPlace(MainDialog(), IDC_RESULTS);
                const Place compute = driver::ControlPlace(MainDialog(), IDC_COMPUTE);
                const Place cancel = driver::ControlPlace(MainDialog(), IDCANCEL);
                const Place start = driver::ControlPlace(MainDialog(), IDC_XA);
                driver::ResizeWindow(MainDialog(), width + resize.growX, height + resize.growY);
                const int dx = resize.AllowedX();
                const int dy = resize.AllowedY();
                EXPECT_EQ(driver::WindowSize(MainDialog()), std::pair(width + dx, height + dy));
                EXPECT_EQ(driver::ControlPlace(MainDialog(), IDC_RESULTS),
                          (Place{results[0], results[1], results[2] + dx, results[3] + dy}));
                EXPECT_EQ(driver::ControlPlace(MainDialog(), IDC_COMPUTE), moved(compute, dx, dy));
                EXPECT_EQ(driver::ControlPlace(MainDialog(), IDCANCEL), moved(cancel, dx, dy));
                EXPECT_EQ(driver::ControlPlace(MainDialog(), IDC_XA), start);
                driver::ResizeWindow(MainDialog(), width, height);
            };
        });
    steps.emplace_back([] { driver::Click(MainDialog(), IDCANCEL); });
    driver::RunSteps(std::move(steps));
    CWertomatDlg dlg(nullptr);
    dlg.DoModal();
}

// What a screen reader reads of the results and hears when they change.
TEST(Win32ResultsView, ScreenReadersReadTheTableAndHearItChange) {
    constexpr long kRoleText = 0x2A;               // ROLE_SYSTEM_TEXT
    constexpr long kStateReadOnly = 0x40;          // STATE_SYSTEM_READONLY
    constexpr unsigned kValueChange = 0x800E;      // EVENT_OBJECT_VALUECHANGE
    constexpr unsigned kSelectionChange = 0x8014;  // EVENT_OBJECT_TEXTSELECTIONCHANGED
    const std::string table = wertomat::RunTabulation({0, 0.1, 2, 0}).text;
    driver::AccessibleFacts facts;
    long lines = 0;
    std::string firstRow;
    std::vector<unsigned> events;
    std::vector<std::string> announced;
    driver::AccessibleFacts radio;
    driver::RunSteps({[&] {
                          driver::StartListening();
                          driver::Click(MainDialog(), IDC_COMPUTE);
                      },
                      [&] { driver::ControlKey(MainDialog(), IDC_RESULTS, 'A'); },
                      [&] {
                          events = driver::EventsHeard(MainDialog(), IDC_RESULTS);
                          announced = driver::LiveRegionsHeard(MainDialog());
                          radio = driver::ReadAccessible(MainDialog(), IDC_FUNCTION_0);
                          driver::StopListening();
                          facts = driver::ReadAccessible(MainDialog(), IDC_RESULTS);
                          lines = driver::LineCount(MainDialog(), IDC_RESULTS);
                          firstRow = driver::Line(MainDialog(), IDC_RESULTS, 1);
                          driver::Click(MainDialog(), IDCANCEL);
                      }});
    CWertomatDlg dlg(nullptr);
    dlg.DoModal();
    ASSERT_TRUE(facts.read);
    EXPECT_EQ(facts.role, kRoleText);
    EXPECT_NE(facts.state & kStateReadOnly, 0);
    EXPECT_EQ(facts.name, "Ergebnisse");
    EXPECT_EQ(facts.value, table);
    EXPECT_EQ(lines, 23);  // the header, 21 rows and the empty line after the last break
    EXPECT_EQ(firstRow, "    0.0000\t   -5.0000");
    EXPECT_NE(std::find(events.begin(), events.end(), kValueChange), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), kSelectionChange), events.end());
    EXPECT_EQ(announced, std::vector<std::string>{"21 Zeilen berechnet"});
    // A radio button is named by its own text; its group box is a sibling, as
    // in every dialog, which Windows' screen readers find by its place.
    EXPECT_EQ(radio.name, "Y = 2*x\xB3 - 3*x\xB2 + 4*x -5");
}

}  // namespace
