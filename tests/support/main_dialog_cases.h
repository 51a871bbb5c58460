// One set of cases for the main dialog: refusals, the ways it ends, the
// system menu and the About box, the minimised icon and a dialog destroyed
// during its own run. Each runs through a Target, a driver of one platform:
// the Qt dialog and the platform's dialog manager under Wine, so that the
// platforms cannot drift.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/dialog.h"

namespace main_dialog_cases {

// What a run returns when its dialog is still open after the last step.
inline constexpr INT_PTR kStillOpen = -2;

enum class Key { Enter, Escape };

struct MenuEntry {
    bool separator = false;
    unsigned id = 0;
    std::string text;  // Windows-1252
};

struct Box {
    std::string caption;  // Windows-1252
    std::string text;     // a message box's text; empty for a dialog
};

class Target {
public:
    virtual ~Target() = default;
    // Runs `dialog` modally with `steps`, one at a time from inside whatever
    // modal loop runs then (a message box's too); a dialog still open a
    // while after the last step is ended with kStillOpen. Returns the run's
    // result.
    virtual INT_PTR Run(CDialog& dialog, std::vector<std::function<void()>> steps) = 0;

    // On the running main dialog; texts are Windows-1252.
    virtual std::string Text(int id) = 0;
    virtual void Type(int id, const std::string& text) = 0;  // replaces the field's text
    // These take effect after the step, as a user's input does.
    virtual void Click(int id) = 0;
    virtual void PressKey(int id, Key key) = 0;
    virtual void CloseBox() = 0;
    virtual void PostSystemCommand(unsigned command) = 0;

    virtual std::vector<MenuEntry> SystemMenu() = 0;
    virtual bool HasFocus(int id) = 0;
    // The box now open over the main dialog, read and then closed with Enter.
    virtual std::optional<Box> CloseOpenBox() = 0;
    virtual void Minimize() = 0;
};

struct Case {
    const char* name;
    void (*run)(Target& target);
};
extern const std::vector<Case> kCases;

}  // namespace main_dialog_cases
