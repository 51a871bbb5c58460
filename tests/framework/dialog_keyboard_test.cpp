// The dialog manager's keyboard cases against the toolkit-free decisions and
// against the Qt dialog made from the same made-up templates.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>
#include <optional>
#include <vector>

#include "framework/dialog.h"
#include "framework/dialog_manager/dialog_navigation.h"
#include "framework/qt/dialog_window.h"
#include "tests/support/dialog_keyboard_cases.h"
#include "tests/support/gui_test.h"

namespace {

using dialog_keyboard_cases::Case;
using dialog_keyboard_cases::Key;

class DialogKeyboard : public testing::TestWithParam<Case> {};

TEST_P(DialogKeyboard, WithoutAToolkit) {
    const Case& keys = GetParam();
    std::size_t focused = keys.focused;
    int command = 0;
    if (keys.key == Key::Opened) {
        focused = framework::dialog_manager::FirstTabStop(keys.controls).value_or(focused);
    } else if (keys.key == Key::Escape) {
        command = IDCANCEL;  // whatever has the focus
    } else if (keys.key == Key::Enter) {
        command = framework::dialog_manager::DefaultCommand(keys.controls);
    } else if (keys.key == Key::AltA || keys.key == Key::AltE || keys.key == Key::AltZ) {
        const char letter = keys.key == Key::AltA ? 'a' : keys.key == Key::AltE ? 'e' : 'z';
        focused =
            framework::dialog_manager::MnemonicTarget(keys.controls, letter).value_or(focused);
    } else if (keys.key == Key::Tab || keys.key == Key::ShiftTab) {
        focused = framework::dialog_manager::NextTabStop(
            keys.controls, framework::dialog_manager::StatesOf(keys.controls), focused,
            keys.key == Key::ShiftTab);
    } else {
        const bool forwards = keys.key == Key::Down || keys.key == Key::Right;
        if (const auto next =
                framework::dialog_manager::NextRadio(keys.controls, focused, forwards)) {
            focused = *next;
            command = keys.controls[*next].id;
        }
    }
    EXPECT_EQ(focused, keys.focusedAfter);
    EXPECT_EQ(command, keys.command);
}

// A dialog that only writes down the commands its window sends.
class RecordingDialog : public CDialog {
public:
    RecordingDialog() : CDialog(0) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_COMMAND) {
            commands.push_back(static_cast<int>(LOWORD(wParam)));
        }
        return 0;
    }
    std::vector<int> commands;
};

Qt::Key QtKey(Key key) {
    switch (key) {
        case Key::Up:
            return Qt::Key_Up;
        case Key::Down:
            return Qt::Key_Down;
        case Key::Left:
            return Qt::Key_Left;
        case Key::Right:
            return Qt::Key_Right;
        case Key::Tab:
            return Qt::Key_Tab;
        case Key::ShiftTab:
            return Qt::Key_Backtab;
        case Key::AltA:
            return Qt::Key_A;
        case Key::AltE:
            return Qt::Key_E;
        case Key::AltZ:
            return Qt::Key_Z;
        case Key::Escape:
            return Qt::Key_Escape;
        case Key::Opened:
        case Key::Enter:
            break;
    }
    return Qt::Key_Return;
}

TEST_P(DialogKeyboard, OnQt) {
    const Case& keys = GetParam();
    const framework::DialogTemplate form = dialog_keyboard_cases::TemplateOf(keys.controls);
    RecordingDialog dialog;
    const auto window = std::make_unique<framework::DialogWindow>(dialog, form, nullptr);
    window->show();
    window->activateWindow();
    testing_support::ProcessEvents();
    if (keys.key == Key::Opened) {
        window->FocusFirstTabStop();  // what the backend does after OnInitDialog
    } else {
        QWidget* control = window->Control(keys.controls[keys.focused].id);
        control->setFocus(Qt::TabFocusReason);
        testing_support::ProcessEvents();
        const bool alt = keys.key == Key::AltA || keys.key == Key::AltE || keys.key == Key::AltZ;
        QTest::keyClick(control, QtKey(keys.key),
                        keys.key == Key::ShiftTab ? Qt::ShiftModifier
                        : alt                     ? Qt::AltModifier
                                                  : Qt::NoModifier);
    }
    testing_support::ProcessEvents();
    std::optional<std::size_t> focused;
    for (std::size_t index = 0; index < keys.controls.size(); ++index) {
        if (window->Control(keys.controls[index].id) == QApplication::focusWidget()) {
            focused = index;
        }
    }
    EXPECT_EQ(focused, keys.focusedAfter);
    EXPECT_EQ(dialog.commands.empty() ? 0 : dialog.commands.back(), keys.command);
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogKeyboard,
                         testing::ValuesIn(dialog_keyboard_cases::Cases()),
                         [](const testing::TestParamInfo<Case>& keys) { return keys.param.name; });

}  // namespace
