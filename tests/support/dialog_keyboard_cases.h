// One table of keyboard cases for the dialog manager, on small made-up
// templates: arrow keys in radio groups (and their wrap), Tab and Shift+Tab
// between tab stops, Alt with a label's letter, and Enter where no push
// button has the focus, Escape, and the first focus when the dialog opens. It runs against the
// toolkit-free decisions (framework/dialog_manager/) and against the Qt dialog.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "framework/resource_file/resource_file.h"

namespace dialog_keyboard_cases {

// Opened: no key, the focus the dialog gives when it opens.
enum class Key { Opened, Up, Down, Left, Right, Enter, Escape, Tab, ShiftTab, AltA, AltE, AltZ };

struct Case {
    std::string name;
    std::vector<framework::ControlTemplate> controls;
    std::size_t focused;  // the control that has the focus, an index into `controls`
                          // (for Key::Opened, none: the dialog gives it)
    Key key;
    std::size_t focusedAfter;  // the control that has it after the key
    int command;               // the WM_COMMAND the key gives (0: none)
};

// The made-up template's dialog around `controls`.
framework::DialogTemplate TemplateOf(const std::vector<framework::ControlTemplate>& controls);

const std::vector<Case>& Cases();

inline void PrintTo(const Case& keyboardCase, std::ostream* out) {
    *out << keyboardCase.name;
}

}  // namespace dialog_keyboard_cases
