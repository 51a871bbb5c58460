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
#include "tests/support/main_dialog_cases.h"
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

// --- The shared cases, driven through the platform's dialog manager

class Win32Target : public main_dialog_cases::Target {
public:
    INT_PTR Run(CDialog& dialog, std::vector<std::function<void()>> steps) override {
        driver::RunSteps(std::move(steps));
        const INT_PTR result = dialog.DoModal();
        EXPECT_EQ(driver::StepsLeft(), 0U) << "the run ended before its last step";
        return result;
    }
    std::string Text(int id) override { return driver::Text(MainDialog(), id); }
    void Type(int id, const std::string& text) override { driver::SetText(MainDialog(), id, text); }
    void Click(int id) override { driver::Click(MainDialog(), id); }
    void PressKey(int, main_dialog_cases::Key key) override {
        driver::PressKey(MainDialog(), key == main_dialog_cases::Key::Enter ? kEnter : kEscape);
    }
    void CloseBox() override { driver::PostSystemCommand(MainDialog(), kClose); }
    void PostSystemCommand(unsigned command) override {
        driver::PostSystemCommand(MainDialog(), command);
    }
    std::vector<main_dialog_cases::MenuEntry> SystemMenu() override {
        const std::vector<driver::MenuEntry> menu = driver::SystemMenu(MainDialog());
        std::vector<main_dialog_cases::MenuEntry> entries(menu.size());
        std::transform(
            menu.begin(), menu.end(), entries.begin(), [](const driver::MenuEntry& entry) {
                return main_dialog_cases::MenuEntry{entry.separator, entry.id, entry.text};
            });
        return entries;
    }
    bool HasFocus(int id) override { return driver::FocusedControlId() == id; }
    std::optional<main_dialog_cases::Box> CloseOpenBox() override {
        driver::Window box = driver::ActiveWindow();
        if (box == nullptr || box == MainDialog()) {
            return std::nullopt;
        }
        main_dialog_cases::Box read{driver::Caption(box), driver::Text(box, kMessageText)};
        driver::PressKey(box, kEnter);
        return read;
    }
    void Minimize() override { driver::Minimize(MainDialog()); }
};

class Win32MainDialogCases : public testing::TestWithParam<main_dialog_cases::Case> {};

TEST_P(Win32MainDialogCases, UnderTheDialogManager) {
    Win32Target target;
    GetParam().run(target);
}

INSTANTIATE_TEST_SUITE_P(Shared, Win32MainDialogCases, testing::ValuesIn(main_dialog_cases::kCases),
                         [](const testing::TestParamInfo<main_dialog_cases::Case>& shared) {
                             return std::string(shared.param.name);
                         });

}  // namespace
