// Drives the program's dialogs under the platform's dialog manager with real
// messages. Plain C++ on this side: the tests that include the dialog
// classes cannot include <windows.h> (both define BOOL, WPARAM, ...).
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace driver {

using Window = void*;  // an HWND

// Runs each step once, one per timer tick, from inside whatever modal loop is
// running then. A dialog still open a while after the last step is ended
// with -2, so a failing test cannot hang.
void RunSteps(std::vector<std::function<void()>> steps);
// Steps not run yet: a run that ended before them left them.
std::size_t StepsLeft();

// A dialog of this thread with this caption (Windows-1252) and, if
// `controlId` is not 0, a control of that id; null when there is none.
Window FindDialog(const std::string& caption, int controlId = 0);

std::string Text(Window dialog, int id);  // Windows-1252; "?" when it has no such form
void SetText(Window dialog, int id, const std::string& text);
bool IsChecked(Window dialog, int id);
int FocusedControlId();
// The active window of this thread (a box opened over a dialog), and a
// window's caption (Windows-1252).
Window ActiveWindow();
std::string Caption(Window window);
// The controls that Tab visits, from the first tab stop on.
std::vector<int> TabOrder(Window dialog);

void Click(Window dialog, int id);  // posted BM_CLICK
// Puts `text` (Windows-1252) on the clipboard and pastes it over the field's text.
void Paste(Window dialog, int id, const std::string& text);
void PressKey(Window target, unsigned virtualKey);  // posted to `target`'s focus
void PostSystemCommand(Window dialog, unsigned command);

struct MenuEntry {
    bool separator = false;
    unsigned id = 0;
    std::string text;  // Windows-1252
};
std::vector<MenuEntry> SystemMenu(Window dialog);

// The results view: selection by EM_SETSEL/EM_GETSEL, copy by Ctrl+C with the
// thread's key state, mouse clicks at client coordinates.
void Select(Window dialog, int id, std::ptrdiff_t begin, std::ptrdiff_t end);
std::pair<std::size_t, std::size_t> Selection(Window dialog, int id);
void ControlKey(Window dialog, int id, unsigned virtualKey);  // with Ctrl held
void MouseDrag(Window dialog, int id, int fromX, int fromY, int toX, int toY);
std::u16string ClipboardText();
int VerticalScrollPosition(Window dialog, int id);

// What an MSAA client (a screen reader) reads of a control: role, state,
// name and value (Windows-1252); `read` is false when it got no object.
struct AccessibleFacts {
    bool read = false;
    long role = 0;
    long state = 0;
    std::string name;
    std::string value;
};
AccessibleFacts ReadAccessible(Window dialog, int id);
long LineCount(Window dialog, int id);              // EM_GETLINECOUNT
std::string Line(Window dialog, int id, int line);  // EM_GETLINE
// WinEvents of this process, as a screen reader's hook hears them: from
// StartListening on, the events each control of the dialog sent.
void StartListening();
std::vector<unsigned> EventsHeard(Window dialog, int id);
// The name now of each window of `dialog` that sent a live region change.
std::vector<std::string> LiveRegionsHeard(Window dialog);
void StopListening();

// A control's place in the dialog's client area: left, top, width, height.
std::array<int, 4> ControlPlace(Window dialog, int id);
std::pair<int, int> WindowSize(Window dialog);
// SetWindowPos, as the end of a drag on the frame sets the size.
void ResizeWindow(Window dialog, int width, int height);

void Minimize(Window dialog);
bool IsMinimized(Window dialog);
// The answer to WM_QUERYDRAGICON, and the size of that icon in pixels (0 when
// it is no icon).
int DragIconWidth(Window dialog);

// A dialog made from these controls (in dialog units) by the platform's
// dialog manager, without a resource: control `focusedId` gets the focus
// (0: the one the dialog manager gave it; `virtualKey` 0: no key),
// then the key `virtualKey` (with Shift held if `shift`; with `alt`, the
// character `virtualKey` as Alt gives it) goes through the dialog manager as
// in a modal loop. Returns the id of the control that has the focus after it and
// the last WM_COMMAND the dialog got (0 for none).
struct MadeUpControl {
    enum class Kind { Button, Edit, Static } kind;
    int id;
    unsigned style;
    int x, y, width, height;
    std::string caption;  // Windows-1252
};
std::pair<int, int> KeyInMadeUpDialog(const std::vector<MadeUpControl>& controls, int focusedId,
                                      unsigned virtualKey, bool shift = false, bool alt = false);

}  // namespace driver
