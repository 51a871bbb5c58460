// Windows: CWnd with message routing, the menu and the paint context.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "framework/cmdtarget.h"
#include "framework/cstring.h"
#include "framework/menu_item.h"
#include "framework/windef/windef.h"
#include "framework/window_handles.h"

// A menu as a list of entries. A window's system menu also tells the
// platform of every entry appended, for platforms whose menu is their own.
class CMenu : public CObject {
public:
    using Item = framework::MenuItem;

    CMenu() = default;
    CMenu(std::vector<Item> items, framework::DialogWindow* window)
        : items_(std::move(items)), window_(window) {}

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, std::string_view text = {});
    const std::vector<Item>& Items() const { return items_; }

private:
    std::vector<Item> items_;
    framework::DialogWindow* window_ = nullptr;  // the window whose system menu this is
};

// Device context: drawing on a window while it paints.
class CDC : public CObject {
public:
    HDC GetSafeHdc() const { return context_; }
    BOOL DrawIcon(int x, int y, HICON icon);

protected:
    CDC() = default;
    void SetContext(HDC context) { context_ = context; }

private:
    HDC context_ = nullptr;
};

// Begins painting when made and ends it when released. Drawing works inside a
// paint message; outside one there is nothing to paint on and drawing does nothing.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(class CWnd* window);
    ~CPaintDC() override;
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

private:
    framework::platform::PaintContextPointer paint_;
};

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Routes the message through the message maps and waits for the result.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // The window's own system menu for changing; null when the window has none.
    // With `revert` the menu goes back to the platform's entries and null is returned.
    CMenu* GetSystemMenu(BOOL revert);
    HICON SetIcon(HICON icon, BOOL bigIcon);
    BOOL IsIconic() const;
    void GetClientRect(LPRECT rect) const;
    BOOL DestroyWindow();
    // Screen readers say `text` (Windows-1252) once, politely, wherever the
    // focus is: a status such as a finished computation.
    void Announce(const CString& text);

    // The platform's handling of a message nobody else took.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Framework side: the window on screen (null when there is none), taken
    // over when the backend has made it, and let go when the toolkit deletes
    // it on its own (WM_NCDESTROY).
    framework::DialogWindow* Window() const { return window_.get(); }
    void AttachWindow(framework::platform::DialogWindowPointer window);

    const framework::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const framework::MessageMap messageMap;

    // Default handlers, for derived classes to pass messages on to.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    void OnClose();

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Expires when the object is destroyed: lets a modal run find out whether
    // its dialog still exists.
    std::weak_ptr<const bool> Lifetime() const { return lifetime_; }

private:
    void ResetSystemMenu();
    void ForgetWindow();

    framework::platform::DialogWindowPointer window_;
    std::unique_ptr<CMenu> systemMenu_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::shared_ptr<const bool> lifetime_ = std::make_shared<const bool>(true);
};

int GetSystemMetrics(int index);
