// The window-system objects that window_handles.h declares, on Win32: each
// holds the platform's handles. The backend's files include this instead of
// <windows.h> directly, so that the seam's LoadIcon keeps its name.
#pragma once

#include <windows.h>
#undef LoadIcon  // <windows.h> makes it LoadIconW; this backend loads icons with LoadImageW

#include <memory>

#include "framework/platform.h"

namespace framework {

// What an HICON points at: the program's icon in the two sizes the window
// system asks for.
struct IconData {
    HICON large = nullptr;   // SM_CXICON pixels
    HICON little = nullptr;  // SM_CXSMICON pixels (rpcndr.h makes "small" a macro)
};

// What an HDC points at: a device of a window.
class PaintContext {
public:
    // Paints the window's invalid part (BeginPaint); with no window, or when
    // the platform gives no device, drawing does nothing.
    explicit PaintContext(HWND window);
    // A device that the platform handed over with a message.
    PaintContext(HWND window, HDC device) : window_(window), device_(device) {}
    PaintContext(const PaintContext&) = delete;
    PaintContext& operator=(const PaintContext&) = delete;
    ~PaintContext();

    HWND Window() const { return window_; }
    HDC Device() const { return device_; }

private:
    HWND window_;
    HDC device_ = nullptr;
    PAINTSTRUCT paint_{};
    bool painting_ = false;  // EndPaint is owed
};

struct FrameFollowing;  // how a dialog's controls follow its sizing frame

// A dialog on screen: the platform's dialog manager makes it from the linked
// template and runs it; its procedure passes messages to the dialog object.
class DialogWindow {
public:
    // Runs template `templateId` modally over `parent` (may be null) for
    // `dialog`: the code given to EndDialog, or -1.
    static std::intptr_t Run(CDialog& dialog, int templateId, HWND parent);

    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    ~DialogWindow();

    // The window during the run; null before and after it.
    HWND Window() const { return window_; }

private:
    DialogWindow(CDialog& owner, platform::DialogWindowPointer& pending);
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL Initialize(HWND window);
    std::intptr_t Message(UINT message, WPARAM wParam, LPARAM lParam);

    CDialog& owner_;
    platform::DialogWindowPointer* pending_;  // owns this until the window exists
    HWND window_ = nullptr;
    std::unique_ptr<FrameFollowing> frame_;  // null without a sizing frame
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace framework
