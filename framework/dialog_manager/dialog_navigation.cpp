#include "framework/dialog_manager/dialog_navigation.h"

#include <algorithm>
#include <cassert>

namespace framework::dialog_manager {

bool IsRadioButton(const ControlTemplate& control) {
    return control.controlClass == ControlClass::Button &&
           (control.style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
}

std::size_t GroupStart(std::span<const ControlTemplate> controls, std::size_t index) {
    assert(index < controls.size());
    while (index > 0 && (controls[index].style & WS_GROUP) == 0) {
        --index;
    }
    return index;
}

std::vector<std::size_t> RadioGroup(std::span<const ControlTemplate> controls, std::size_t start) {
    std::vector<std::size_t> group;
    for (std::size_t index = start; index < controls.size(); ++index) {
        if (index != start && (controls[index].style & WS_GROUP) != 0) {
            break;
        }
        if (IsRadioButton(controls[index])) {
            group.push_back(index);
        }
    }
    return group;
}

std::optional<std::size_t> NextRadio(std::span<const ControlTemplate> controls, std::size_t from,
                                     bool forwards) {
    if (from >= controls.size() || !IsRadioButton(controls[from])) {
        return std::nullopt;
    }
    const std::vector<std::size_t> group = RadioGroup(controls, GroupStart(controls, from));
    const auto position = std::find(group.begin(), group.end(), from);
    if (position == group.end()) {
        return std::nullopt;
    }
    const auto place = static_cast<std::size_t>(position - group.begin());
    return group[forwards ? (place + 1) % group.size() : (place + group.size() - 1) % group.size()];
}

std::vector<ControlState> StatesOf(std::span<const ControlTemplate> controls) {
    std::vector<ControlState> states(controls.size());
    std::transform(controls.begin(), controls.end(), states.begin(),
                   [](const ControlTemplate& control) {
                       return ControlState{(control.style & WS_VISIBLE) != 0,
                                           (control.style & WS_DISABLED) == 0, false};
                   });
    return states;
}

namespace {

bool IsTabStop(std::span<const ControlTemplate> controls, std::span<const ControlState> states,
               std::size_t index) {
    if (!states[index].visible || !states[index].enabled) {
        return false;
    }
    if (IsRadioButton(controls[index])) {
        const std::vector<std::size_t> group = RadioGroup(controls, GroupStart(controls, index));
        const bool anyChecked = std::any_of(group.begin(), group.end(),
                                            [&states](std::size_t m) { return states[m].checked; });
        if (anyChecked) {
            return states[index].checked;
        }
    }
    return (controls[index].style & WS_TABSTOP) != 0;
}

}  // namespace

std::optional<std::size_t> FirstTabStop(std::span<const ControlTemplate> controls) {
    const std::vector<ControlState> states = StatesOf(controls);
    for (std::size_t index = 0; index < controls.size(); ++index) {
        if (IsTabStop(controls, states, index)) {
            return index;
        }
    }
    return std::nullopt;
}

std::size_t NextTabStop(std::span<const ControlTemplate> controls,
                        std::span<const ControlState> states, std::size_t from, bool backwards) {
    assert(states.size() == controls.size());
    const std::size_t count = controls.size();
    for (std::size_t step = 1; step < count; ++step) {
        const std::size_t index = backwards ? (from + count - step) % count : (from + step) % count;
        if (IsTabStop(controls, states, index)) {
            return index;
        }
    }
    return from;
}

namespace {

// The letter a caption marks with '&', if any.
std::optional<char> MarkedLetter(std::string_view caption) {
    for (std::size_t at = caption.find('&');
         at != std::string_view::npos && at + 1 < caption.size(); at = caption.find('&', at + 2)) {
        if (caption[at + 1] != '&') {
            return caption[at + 1];
        }
    }
    return std::nullopt;
}

char Lower(char letter) {
    return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
}

bool TakesFocus(const ControlTemplate& control) {
    return control.controlClass != ControlClass::Static && (control.style & WS_VISIBLE) != 0 &&
           (control.style & WS_DISABLED) == 0 &&
           !(control.controlClass == ControlClass::Button &&
             (control.style & BS_TYPEMASK) == BS_GROUPBOX);
}

}  // namespace

std::optional<std::size_t> MnemonicTarget(std::span<const ControlTemplate> controls, char letter) {
    for (std::size_t index = 0; index < controls.size(); ++index) {
        const ControlTemplate& control = controls[index];
        const bool noPrefix =
            control.controlClass == ControlClass::Static && (control.style & SS_NOPREFIX) != 0;
        const std::optional<char> marked = noPrefix ? std::nullopt : MarkedLetter(control.caption);
        if (!marked.has_value() || Lower(*marked) != Lower(letter)) {
            continue;
        }
        if (control.controlClass != ControlClass::Static) {
            return index;
        }
        for (std::size_t next = index + 1; next < controls.size(); ++next) {
            if (TakesFocus(controls[next])) {
                return next;
            }
        }
        return std::nullopt;
    }
    return std::nullopt;
}

int DefaultCommand(std::span<const ControlTemplate> controls) {
    const auto found =
        std::find_if(controls.begin(), controls.end(), [](const ControlTemplate& control) {
            return control.controlClass == ControlClass::Button &&
                   (control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        });
    return found != controls.end() ? found->id : IDOK;
}

}  // namespace framework::dialog_manager
