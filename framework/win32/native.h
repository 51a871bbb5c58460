// The Win32 backend has two sides: files that see the framework's types
// (types.h, whose names <windows.h> defines as well) and files that see
// <windows.h>. This header is all the two share: plain C++ types, with the
// window system's handles as opaque pointers.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/menu_item.h"

namespace framework::win32 {

using Handle = void*;                                   // an HWND, HICON or HDC
using SharedText = std::shared_ptr<const std::string>;  // Windows-1252 bytes; null is empty

// The pointer that a message parameter or a window's stored value carries:
// the platform passes pointers and handles as integers.
template <typename Pointer, typename Integer>
Pointer PointerFrom(Integer value) {
    return reinterpret_cast<Pointer>(value);  // NOLINT(performance-no-int-to-ptr)
}

// What a dialog's window procedure hands over to the framework.
class DialogEvents {
public:
    // The window and its controls exist (WM_INITDIALOG). Returns whether the
    // dialog manager should give the focus to the first tab stop.
    virtual bool Initialize(Handle window) = 0;
    // A message for the message maps, with its result.
    virtual std::intptr_t Message(unsigned message, std::uintptr_t wParam,
                                  std::intptr_t lParam) = 0;
    // The window has been destroyed; no event follows.
    virtual void Destroyed() = 0;

protected:
    ~DialogEvents() = default;
};

// --- Dialogs

// Runs dialog template `templateId` of the program modally over `parent`
// (may be null): DialogBoxParamW. Returns the code given to EndDialog, or -1.
std::intptr_t RunDialog(int templateId, Handle parent, DialogEvents& events);
void EndDialog(Handle dialog, int result);
// No further event reaches the window's DialogEvents.
void DetachEvents(Handle dialog);

// A control's text: nullopt when there is no such control or its text has a
// character without a Windows-1252 byte. A results view hands out its buffer.
std::optional<SharedText> ControlText(Handle dialog, int id);
void SetControlText(Handle dialog, int id, const SharedText& text);
int CheckedRadioIndex(Handle dialog, int firstId);
void CheckRadio(Handle dialog, int firstId, int index);
void FocusControl(Handle dialog, int id);
// Screen readers say `text` once, politely, wherever the focus is.
void Announce(Handle dialog, std::string_view text);

bool IsMinimized(Handle window);
std::pair<int, int> ClientSize(Handle window);
void SetWindowIcons(Handle window, Handle bigIcon, Handle smallIcon);

// Reverts the window's system menu and lists its entries; nullopt without one.
std::optional<std::vector<MenuItem>> RevertSystemMenu(Handle window);
void AppendSystemMenu(Handle window, const MenuItem& item);
void SystemCommand(Handle window, std::uintptr_t command, std::intptr_t position);

// --- Painting

struct Painting;  // BeginPaint's PAINTSTRUCT
struct PaintingEnd {
    void operator()(Painting* painting) const;  // EndPaint
};
std::unique_ptr<Painting, PaintingEnd> BeginPaint(Handle window);
Handle DeviceOf(const Painting& painting);
bool DrawIcon(Handle device, int x, int y, Handle icon);
bool EraseIconBackground(Handle window, Handle device);
void PaintDefault(Handle window);

// --- Resources, metrics, the message box

struct IconHandles {
    Handle big = nullptr;    // SM_CXICON pixels
    Handle small = nullptr;  // SM_CXSMICON pixels
};
std::optional<IconHandles> LoadIconResource(int id);
int SystemMetric(int index);
bool InitCommonControls(std::uint32_t classes);
// Modal over the thread's active window, an OK button and a warning icon.
void ShowMessageBox(std::string_view caption, std::string_view text);

}  // namespace framework::win32
