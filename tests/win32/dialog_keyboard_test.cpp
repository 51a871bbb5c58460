// The dialog manager's keyboard cases against the platform's own, under Wine.
#include <gtest/gtest.h>

#include <vector>

#include "dialog_driver.h"
#include "tests/support/dialog_keyboard_cases.h"

namespace {

using dialog_keyboard_cases::Case;
using dialog_keyboard_cases::Key;

unsigned VirtualKey(Key key) {
    switch (key) {
        case Key::Up:
            return 0x26;
        case Key::Down:
            return 0x28;
        case Key::Left:
            return 0x25;
        case Key::Right:
            return 0x27;
        case Key::Tab:
        case Key::ShiftTab:
            return 0x09;
        case Key::AltA:
            return 'a';
        case Key::AltE:
            return 'e';
        case Key::AltZ:
            return 'z';
        case Key::Escape:
            return 0x1B;
        case Key::Opened:
            return 0;
        case Key::Enter:
            break;
    }
    return 0x0D;
}

class DialogKeyboard : public testing::TestWithParam<Case> {};

TEST_P(DialogKeyboard, UnderTheDialogManager) {
    const Case& keys = GetParam();
    std::vector<driver::MadeUpControl> controls;
    for (const framework::ControlTemplate& control : keys.controls) {
        const auto kind = control.controlClass == framework::ControlClass::Button
                              ? driver::MadeUpControl::Kind::Button
                          : control.controlClass == framework::ControlClass::Edit
                              ? driver::MadeUpControl::Kind::Edit
                              : driver::MadeUpControl::Kind::Static;
        controls.push_back({kind, control.id, control.style, control.x, control.y, control.width,
                            control.height, control.caption});
    }
    const auto [focused, command] = driver::KeyInMadeUpDialog(
        controls, keys.key == Key::Opened ? 0 : keys.controls[keys.focused].id,
        VirtualKey(keys.key), keys.key == Key::ShiftTab,
        keys.key == Key::AltA || keys.key == Key::AltE || keys.key == Key::AltZ);
    EXPECT_EQ(focused, keys.controls[keys.focusedAfter].id);
    EXPECT_EQ(command, keys.command);
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogKeyboard,
                         testing::ValuesIn(dialog_keyboard_cases::Cases()),
                         [](const testing::TestParamInfo<Case>& keys) { return keys.param.name; });

}  // namespace
