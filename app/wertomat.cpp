#include "app/wertomat.h"

#include "ui/wertomatdlg.h"

const framework::MessageMapEntry CWertomatApp::messageEntries[] = {
    framework::CommandEntry<ID_HELP, &CWinApp::OnHelp>(),
};

constinit const framework::MessageMap CWertomatApp::messageMap{&CWinApp::messageMap,
                                                               CWertomatApp::messageEntries};

CWertomatApp::CWertomatApp() : CWinApp(nullptr) {
    m_dwRestartManagerSupportFlags = 0x01;  // may be restarted by the system
}

// The one application object.
CWertomatApp theApp;

BOOL CWertomatApp::InitInstance() {
    INITCOMMONCONTROLSEX InitCtrls;
    InitCtrls.dwSize = sizeof(InitCtrls);
    InitCtrls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&InitCtrls);

    CWinApp::InitInstance();

    // Settings would live under this key; the program stores none.
    SetRegistryKey("Vom lokalen Anwendungs-Assistenten generierte Anwendungen");

    CWertomatDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;  // dlg ends with this function

    // The dialog has closed: nothing is left to run, so no event loop starts.
    return FALSE;
}
