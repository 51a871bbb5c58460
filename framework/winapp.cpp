#include "framework/winapp.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "framework/platform.h"
#include "framework/resources.h"

namespace {

CWinApp* theApplication = nullptr;

constexpr framework::MessageMapEntry kApplicationEntries[] = {
    framework::CommandEntry<ID_HELP, &CWinApp::OnHelp>(),
};

}  // namespace

constinit const framework::MessageMap CWinThread::messageMap{&CCmdTarget::messageMap, {}};
constinit const framework::MessageMap CWinApp::messageMap{&CWinThread::messageMap,
                                                          kApplicationEntries};

CWinApp::CWinApp(LPCTSTR appName)
    : appName_(appName != nullptr ? std::string(appName) : std::string()) {
    theApplication = this;
}

CWinApp::~CWinApp() {
    if (theApplication == this) {
        theApplication = nullptr;
    }
}

CWinApp* AfxGetApp() {
    return theApplication;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

void CWinApp::SetRegistryKey(LPCTSTR key) {
    registryKey_ = key != nullptr ? key : "";
}

HICON CWinApp::LoadIcon(UINT id) const {
    return id <= 0xFFFF ? framework::platform::LoadIcon(static_cast<int>(id)) : nullptr;
}

int AfxMessageBox(LPCTSTR text, UINT, UINT) {
    // One OK button whatever the type: the program asks for nothing else.
    const CWinApp* application = AfxGetApp();
    const std::string_view caption = application != nullptr && !application->AppName().empty()
                                         ? std::string_view(application->AppName())
                                         : framework::ApplicationName();
    framework::platform::ShowMessageBox(caption, text != nullptr ? text : "");
    return IDOK;
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
    if (controls == nullptr || controls->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        return FALSE;
    }
    return framework::platform::InitCommonControls(controls->dwICC) ? TRUE : FALSE;
}

namespace framework {
namespace {

int RunApplicationObject() {
    SetUpProcess();
    CWinApp* application = AfxGetApp();
    int code = 0;
    if (application->InitInstance()) {
        code = platform::RunMessageLoop();
        application->ExitInstance();
    } else {
        code = application->ExitInstance();
    }
    return DialogFailedToLoad() ? EXIT_FAILURE : code;
}

}  // namespace

void SetUpProcess() {
    std::setlocale(LC_NUMERIC, "C");
#if defined(__GLIBC__)
    // A fixed threshold: glibc would otherwise raise it after the first large
    // free and serve later tables from the heap, which keeps their pages.
    constexpr int kLargeBlock = 4 << 20;
    mallopt(M_MMAP_THRESHOLD, kLargeBlock);
#endif
}

int RunApplication(const char* programName) {
    if (AfxGetApp() == nullptr) {
        std::fputs("Kein Anwendungsobjekt vorhanden.\n", stderr);
        return EXIT_FAILURE;
    }
    return platform::RunWithToolkit(programName, &RunApplicationObject);
}

}  // namespace framework
