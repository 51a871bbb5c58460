// Helpers for driving real dialogs headless: act on a modal window while the
// code under test is blocked in its modal run.
#pragma once

#include <QApplication>
#include <QWidget>
#include <functional>
#include <string>

namespace testing_support {

// Runs `action` on the next modal window that is not `current` once it is
// shown, from inside the running event loop. If none shows up within a few
// seconds the test fails and every modal window is closed, so nothing hangs.
void WhenModalAppears(std::function<void(QWidget*)> action, QWidget* current = nullptr);

// Same for the next popup menu.
void WhenPopupAppears(std::function<void(QWidget*)> action);

// Lets queued events run, e.g. after a click that changes focus.
void ProcessEvents();

// A modal message box's text and buttons, read while it is open.
struct MessageBoxContents {
    std::string text;  // UTF-8
    std::string caption;
    int buttonCount = 0;
};
MessageBoxContents ReadMessageBox(QWidget* box);

// Closes a message box with its OK button.
void AcceptMessageBox(QWidget* box);

// Resident memory of this process in bytes.
long ResidentBytes();

}  // namespace testing_support
