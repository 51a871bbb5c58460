#include "framework/winapp.h"

#include <malloc.h>
#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

#include "framework/encoding/text_encoding.h"
#include "framework/qt/icon_data.h"
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
    // Loaded once and kept for the life of the process, as the platform's icons are.
    static std::map<UINT, std::unique_ptr<framework::IconData>> loaded;
    if (const auto found = loaded.find(id); found != loaded.end()) {
        return found->second.get();
    }
    const framework::IconResource* resource = framework::FindIcon(static_cast<int>(id));
    if (resource == nullptr) {
        return nullptr;
    }
    QByteArray bytes(reinterpret_cast<const char*>(resource->iconFile.data()),
                     static_cast<qsizetype>(resource->iconFile.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    auto icon = std::make_unique<framework::IconData>();
    for (int index = 0; index < reader.imageCount(); ++index) {
        if (!reader.jumpToImage(index)) {
            break;
        }
        QImage image = reader.read();
        if (!image.isNull()) {
            icon->images.push_back(std::move(image));
        }
    }
    if (icon->images.empty()) {
        return nullptr;
    }
    return loaded.emplace(id, std::move(icon)).first->second.get();
}

int AfxMessageBox(LPCTSTR text, UINT, UINT) {
    // One OK button whatever the type: the program asks for nothing else.
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) {
        owner = QApplication::activeWindow();
    }
    CWinApp* application = AfxGetApp();
    const std::string caption = application != nullptr && !application->AppName().empty()
                                    ? application->AppName()
                                    : std::string(framework::ApplicationName());
    QMessageBox box(QMessageBox::Warning, wertomat::FromWindows1252(caption),
                    wertomat::FromWindows1252(text != nullptr ? text : ""), QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return IDOK;
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
    return controls != nullptr && controls->dwSize == sizeof(INITCOMMONCONTROLSEX) ? TRUE : FALSE;
}

namespace framework {

void SetUpProcess() {
    std::setlocale(LC_NUMERIC, "C");
    // A fixed threshold: glibc would otherwise raise it after the first large
    // free and serve later tables from the heap, which keeps their pages.
    constexpr int kLargeBlock = 4 << 20;
    mallopt(M_MMAP_THRESHOLD, kLargeBlock);
}

bool InstallGermanTranslations() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_de"), folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

int RunApplication(const char* programName) {
    CWinApp* application = AfxGetApp();
    if (application == nullptr) {
        std::fputs("Kein Anwendungsobjekt vorhanden.\n", stderr);
        return EXIT_FAILURE;
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool hasDisplay = std::getenv("DISPLAY") != nullptr ||
                            std::getenv("WAYLAND_DISPLAY") != nullptr ||
                            (platform != nullptr && *platform != '\0');
    if (!hasDisplay) {
        std::fprintf(stderr,
                     "%s: keine grafische Oberfläche gefunden (DISPLAY ist nicht gesetzt)\n",
                     programName);
        return EXIT_FAILURE;
    }
    // The program name alone: neither the user's arguments nor Qt's own options reach anything.
    int argumentCount = 1;
    char* arguments[] = {const_cast<char*>(programName), nullptr};
    QApplication toolkit(argumentCount, arguments);
    SetUpProcess();
    InstallGermanTranslations();
    if (!application->InitInstance()) {
        return application->ExitInstance();
    }
    const int code = QApplication::exec();
    application->ExitInstance();
    return code;
}

}  // namespace framework
