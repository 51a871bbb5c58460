// The application object, the application-wide message box and the main routine.
#pragma once

#include <string>

#include "framework/cmdtarget.h"
#include "framework/cstring.h"
#include "framework/windef/windef.h"
#include "framework/wnd.h"

class CWinThread : public CCmdTarget {
public:
    CWnd* m_pMainWnd = nullptr;

    const framework::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const framework::MessageMap messageMap;
};

class CWinApp : public CWinThread {
public:
    // There is one application object; `appName` null takes the module's name.
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Called once by the main routine; FALSE ends the process without an event loop.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    HICON LoadIcon(UINT id) const;
    void SetRegistryKey(LPCTSTR key);
    const std::string& RegistryKey() const { return registryKey_; }
    const std::string& AppName() const { return appName_; }

    // ID_HELP: there is no help file to open.
    void OnHelp() {}

    DWORD m_dwRestartManagerSupportFlags = 0;

    const framework::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const framework::MessageMap messageMap;

private:
    std::string appName_;
    std::string registryKey_;
};

CWinApp* AfxGetApp();

// Modal over the active window: the text, one OK button, the application's
// name as caption and a warning icon.
int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpContext = 0);
inline int AfxMessageBox(const CString& text, UINT type = MB_OK, UINT helpContext = 0) {
    return AfxMessageBox(text.GetString(), type, helpContext);
}

// Registers the standard control classes where the platform wants that.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls);

namespace framework {

// Runs the application object under the toolkit and returns the exit code:
// the program name alone goes to the toolkit, so that no command-line
// argument changes anything. A dialog that could not be made from its
// template makes the exit code a failure.
int RunApplication(const char* programName);

// Process-wide settings every program on the framework wants, made once after
// the toolkit has started: numbers in printf-style formatting keep their full
// stop whatever the user's locale, and large blocks (result tables) go back
// to the system when freed instead of piling up in the heap.
void SetUpProcess();

}  // namespace framework
