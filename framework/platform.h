// The one seam between the framework and a window system. A backend
// (framework/qt/ or framework/win32/) defines the three window-system types
// declared in window_handles.h and implements every function; nothing else in
// the framework knows the toolkit. The API's sources call only these; its
// headers, which ui/ and app/ include, never include this one. The seam speaks
// plain C++ with the window system's numbers, so that a backend need not see
// the API's types: <windows.h> defines the same names differently.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/menu_item.h"
#include "framework/window_handles.h"

class CDialog;

namespace framework {

struct DialogTemplate;

namespace platform {

// Windows-1252 bytes, shared with the control that shows them; null is empty.
using SharedText = std::shared_ptr<const std::string>;

// --- The process

// Starts the toolkit with the program's name alone, runs `body` and returns
// its exit code. Without a display it says so on stderr and fails.
int RunWithToolkit(const char* programName, int (*body)());
// The message loop of an application that wants one after its start-up.
int RunMessageLoop();

// --- Dialogs

// Builds the window of `dialog` from template `templateId` (read as `form`),
// modal over `parent` (may be null), hands it to the dialog, calls its
// OnInitDialog and runs it until EndModal. Returns the code given to
// EndModal, or -1 when the window could not be made or was destroyed during
// the run.
std::intptr_t RunModalDialog(CDialog& dialog, int templateId, const DialogTemplate& form,
                             DialogWindow* parent);
void EndModal(DialogWindow& window, int result);

// Text of a control as Windows-1252 bytes; nullopt when there is no such
// control or its text has a character that Windows-1252 cannot hold. A
// control that keeps its text as it is shares the buffer both ways.
std::optional<SharedText> ControlText(const DialogWindow& window, int id);
void SetControlText(DialogWindow& window, int id, const SharedText& text);
// Radio group starting at `firstId`: index of the checked button, -1 if none.
int CheckedRadioIndex(const DialogWindow& window, int firstId);
void CheckRadio(DialogWindow& window, int firstId, int index);
// Focuses a control and selects its text, as after a refused entry.
void FocusControl(DialogWindow& window, int id);
// Screen readers say `text` once without moving the focus.
void Announce(DialogWindow& window, std::string_view text);

bool IsMinimized(const DialogWindow& window);
// Width and height of the client area in pixels.
std::pair<int, int> ClientSize(const DialogWindow& window);
void SetWindowIcon(DialogWindow& window, const IconData* icon);

// The window's own system menu entries as the platform made them (a menu of
// the platform's own is reverted to them), nullopt when it has none.
std::optional<std::vector<MenuItem>> DefaultSystemMenu(DialogWindow& window);
// An entry the program appended to the window's system menu, for a platform
// whose system menu is its own.
void SystemMenuAppended(DialogWindow& window, const MenuItem& item);
// The platform's handling of a system command (move, size, minimise, the
// menu key, ...): the message's parameters as they came.
void SystemCommand(DialogWindow& window, std::uintptr_t command, std::intptr_t position);

// --- Painting

// Inside a paint message a context that draws on the window; outside one (or
// without a window) a context on which drawing does nothing.
PaintContextPointer BeginPaint(DialogWindow* window);
bool DrawIcon(PaintContext& context, int x, int y, const IconData* icon);
bool EraseIconBackground(PaintContext& context);
void PaintDefault(DialogWindow& window);

// --- Resources, metrics and the message box

// Registers the platform's standard control classes named by `classes`.
bool InitCommonControls(std::uint32_t classes);
// Icon resource `id`, loaded once and valid for the life of the process.
const IconData* LoadIcon(int id);
int SystemMetric(int index);
// Modal over the active window, one OK button.
void ShowMessageBox(std::string_view caption, std::string_view text);

}  // namespace platform

// --- What a backend reaches of the API (the API implements these)

// The window exists: the dialog owns it from now on.
void AttachDialogWindow(CDialog& dialog, platform::DialogWindowPointer window);
// Calls the dialog's OnInitDialog; whether the first tab stop takes the focus.
bool InitializeDialog(CDialog& dialog);
// A message for the dialog's message maps, with its result.
std::intptr_t DialogMessage(CDialog& dialog, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam);
// The program's icon resource `id` as an .ico file, null when it has none;
// valid for the life of the process. For a backend that does not read the
// program's resources through the platform.
const std::vector<std::uint8_t>* IconFile(int id);

}  // namespace framework
