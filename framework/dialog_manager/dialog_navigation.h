// What the dialog manager decides from a dialog's template alone, without a
// toolkit: radio groups and where the arrow keys move in them, and the
// default command. Indices are the controls' places in the template.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "framework/resource_file/resource_file.h"

namespace framework::dialog_manager {

bool IsRadioButton(const ControlTemplate& control);

// The control that starts the group of control `index`: back to the last
// one with WS_GROUP (the first control starts a group anyway).
std::size_t GroupStart(std::span<const ControlTemplate> controls, std::size_t index);

// The radio buttons of the group that starts at `start`, up to the next
// control with WS_GROUP.
std::vector<std::size_t> RadioGroup(std::span<const ControlTemplate> controls, std::size_t start);

// The radio button an arrow key moves to from radio button `from`: the next
// in its group (`forwards`: Down and Right) or the previous, wrapping at
// either end; `from` itself when it is alone in its group. The button reached
// is clicked unless it is checked already. Nullopt when `from` is no radio
// button.
std::optional<std::size_t> NextRadio(std::span<const ControlTemplate> controls, std::size_t from,
                                     bool forwards);

// What a control is now, as its window shows it.
struct ControlState {
    bool visible = true;
    bool enabled = true;
    bool checked = false;  // an automatic radio button
};
// The states the template gives the controls when the dialog opens.
std::vector<ControlState> StatesOf(std::span<const ControlTemplate> controls);

// The control that gets the focus when the dialog opens: its first tab stop
// as NextTabStop() counts them; nullopt when it has none.
std::optional<std::size_t> FirstTabStop(std::span<const ControlTemplate> controls);

// The control Tab (Shift+Tab: `backwards`) moves to from `from`: the next
// (previous) tab stop, wrapping at either end; `from` when there is none. A
// tab stop is a visible, enabled control with WS_TABSTOP, except in a group
// of automatic radio buttons with one checked: there the checked one is the
// stop, as the platform moves WS_TABSTOP with the check.
std::size_t NextTabStop(std::span<const ControlTemplate> controls,
                        std::span<const ControlState> states, std::size_t from, bool backwards);

// The control Alt+`letter` moves the focus to: the first control whose
// caption marks `letter` with '&' (either case; "&&" is an ampersand), or,
// for a static text, the next control that takes the focus. Nullopt when no
// caption marks it.
std::optional<std::size_t> MnemonicTarget(std::span<const ControlTemplate> controls, char letter);

// The command Enter gives where no push button has the focus: the default
// push button's, else IDOK.
int DefaultCommand(std::span<const ControlTemplate> controls);

}  // namespace framework::dialog_manager
