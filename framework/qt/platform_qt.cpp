// The framework's window-system seam on Qt Widgets.
#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "framework/platform.h"
#include "framework/qt/accessibility.h"
#include "framework/qt/dialog_window.h"
#include "framework/qt/icon_data.h"
#include "framework/qt/paint_context.h"
#include "framework/qt/qt_text.h"
#include "framework/qt/toolkit.h"

namespace framework {

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

namespace {

const char* startingProgram = "wertomat";

// While the toolkit starts: a display that cannot be reached (a wrong or empty
// DISPLAY, no Wayland compositor) ends the process with our message and
// status 1, instead of Qt's English advice and an abort. Qt's warnings before
// it are its own diagnosis, in English, and are left out.
void OnToolkitStartMessage(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type != QtFatalMsg) {
        return;
    }
    const char* display = std::getenv("DISPLAY");
    std::fprintf(stderr,
                 "%s: keine grafische Oberfläche erreichbar (DISPLAY=\"%s\"): bitte DISPLAY "
                 "oder WAYLAND_DISPLAY prüfen\n",
                 startingProgram, display != nullptr ? display : "");
    std::_Exit(EXIT_FAILURE);
}

}  // namespace

namespace platform {

// --- The process

int RunWithToolkit(const char* programName, int (*body)()) {
    const char* platformName = std::getenv("QT_QPA_PLATFORM");
    const bool hasDisplay = std::getenv("DISPLAY") != nullptr ||
                            std::getenv("WAYLAND_DISPLAY") != nullptr ||
                            (platformName != nullptr && *platformName != '\0');
    if (!hasDisplay) {
        std::fprintf(stderr,
                     "%s: keine grafische Oberfläche gefunden (DISPLAY ist nicht gesetzt)\n",
                     programName);
        return EXIT_FAILURE;
    }
    // The program name alone: neither the user's arguments nor Qt's own options reach anything.
    int argumentCount = 1;
    char* arguments[] = {const_cast<char*>(programName), nullptr};
    startingProgram = programName;
    const QtMessageHandler previousHandler = qInstallMessageHandler(&OnToolkitStartMessage);
    const QApplication toolkit(argumentCount, arguments);
    qInstallMessageHandler(previousHandler);
    InstallGermanTranslations();
    return body();
}

int RunMessageLoop() {
    return QApplication::exec();
}

// --- Dialogs

void DialogWindowDeleter::operator()(DialogWindow* window) const {
    window->DeleteByDialog();
}

std::intptr_t RunModalDialog(CDialog& dialog, int, const DialogTemplate& form,
                             DialogWindow* parent) {
    if (QApplication::instance() == nullptr) {
        return -1;
    }
    auto* window = new DialogWindow(dialog, form, parent);
    const QPointer<DialogWindow> alive(window);
    AttachDialogWindow(dialog, DialogWindowPointer(window));
    const bool focusFirst = InitializeDialog(dialog);
    if (alive == nullptr) {
        return -1;
    }
    if (focusFirst) {
        window->FocusFirstTabStop();
    }
    return window->RunModal();
}

void Announce(DialogWindow& window, std::string_view text) {
    framework::Announce(window, FromWindows1252(text));
}

bool IsMinimized(const DialogWindow& window) {
    return window.isMinimized();
}

std::pair<int, int> ClientSize(const DialogWindow& window) {
    return {window.width(), window.height()};
}

void SetWindowIcon(DialogWindow& window, HICON icon) {
    window.setWindowIcon(icon->ToIcon());
}

// The window keeps the entries, to show them as its menu.
std::optional<std::vector<MenuItem>> DefaultSystemMenu(DialogWindow& window) {
    const DWORD style = window.Form().style;
    if ((style & WS_SYSMENU) == 0) {
        window.SetSystemMenu({});
        return std::nullopt;
    }
    std::vector<MenuItem> items{{MF_STRING, SC_MOVE, "&Verschieben"}};
    if ((style & WS_THICKFRAME) != 0) {
        items.push_back({MF_STRING, SC_SIZE,
                         "&Gr\xF6\xDF"
                         "e \xE4ndern"});
    }
    items.push_back({MF_SEPARATOR, 0, {}});
    items.push_back({MF_STRING, SC_CLOSE,
                     "&Schlie\xDF"
                     "en\tAlt+F4"});
    window.SetSystemMenu(items);  // the window shows its own menu
    return items;
}

void SystemMenuAppended(DialogWindow& window, const MenuItem& item) {
    window.AppendToSystemMenu(item);
}

// Chosen from the keyboard (no position), moving and sizing follow the arrow
// keys; by the mouse, the window system's own drag.
void SystemCommand(DialogWindow& window, WPARAM command, LPARAM position) {
    QWindow* handle = window.windowHandle();
    const bool byKeys = position == 0;
    switch (command & 0xFFF0) {
        case SC_MOVE:
            if (byKeys) {
                window.TrackByKeys(DialogWindow::Tracking::Move);
            } else if (handle != nullptr) {
                handle->startSystemMove();
            }
            break;
        case SC_SIZE:
            if (byKeys) {
                window.TrackByKeys(DialogWindow::Tracking::Size);
            } else if (handle != nullptr) {
                handle->startSystemResize(Qt::BottomEdge | Qt::RightEdge);
            }
            break;
        case SC_MINIMIZE:
            window.showMinimized();
            break;
        case SC_MAXIMIZE:
            window.showMaximized();
            break;
        case SC_RESTORE:
            window.showNormal();
            break;
        default:
            break;
    }
}

// --- Painting

void PaintContextDeleter::operator()(PaintContext* context) const {
    delete context;
}

PaintContextPointer BeginPaint(DialogWindow* window) {
    const bool painting = window != nullptr && window->ActivePaintEvent() != nullptr;
    return PaintContextPointer(new PaintContext(window, painting));
}

bool DrawIcon(PaintContext& context, int x, int y, HICON icon) {
    if (!context.IsActive()) {
        return false;
    }
    context.Painter()->drawImage(x, y, icon->ImageOfSize(SystemMetric(SM_CXICON)));
    return true;
}

bool EraseIconBackground(PaintContext& context) {
    if (!context.IsActive() || context.Widget() == nullptr) {
        return false;
    }
    context.Painter()->fillRect(context.Widget()->rect(), context.Widget()->palette().window());
    return true;
}

void PaintDefault(DialogWindow& window) {
    if (window.ActivePaintEvent() != nullptr) {
        window.PaintBackground(window.ActivePaintEvent());
    }
}

// --- Resources, metrics and the message box

bool InitCommonControls(DWORD) {
    return true;  // Qt's widgets need no registration
}

HICON LoadIcon(int id) {
    // Loaded once and kept for the life of the process, as the platform's icons are.
    static std::map<int, std::unique_ptr<IconData>> loaded;
    if (const auto found = loaded.find(id); found != loaded.end()) {
        return found->second.get();
    }
    const std::vector<std::uint8_t>* file = IconFile(id);
    if (file == nullptr) {
        return nullptr;
    }
    QByteArray bytes(reinterpret_cast<const char*>(file->data()),
                     static_cast<qsizetype>(file->size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    auto icon = std::make_unique<IconData>();
    for (int index = 0; index < reader.imageCount() && reader.jumpToImage(index); ++index) {
        if (QImage image = reader.read(); !image.isNull()) {
            icon->images.push_back(std::move(image));
        }
    }
    if (icon->images.empty()) {
        return nullptr;
    }
    return loaded.emplace(id, std::move(icon)).first->second.get();
}

int SystemMetric(int index) {
    switch (index) {
        case SM_CXICON:
        case SM_CYICON:
            return 32;
        default:
            return 0;
    }
}

void ShowMessageBox(std::string_view caption, std::string_view text) {
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) {
        owner = QApplication::activeWindow();
    }
    QMessageBox box(QMessageBox::Warning, FromWindows1252(caption), FromWindows1252(text),
                    QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace platform

// --- What handles point at

PaintContext::PaintContext(QWidget* widget, bool painting) : widget_(widget) {
    if (painting && widget != nullptr) {
        painter_.emplace(widget);
    }
}

QIcon IconData::ToIcon() const {
    QIcon icon;
    for (const QImage& image : images) {
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QImage IconData::ImageOfSize(int pixels) const {
    // The exact size if there is one, else the smallest larger one. Among equal
    // sizes the last wins: icons list their images with the most colours last.
    const QImage* best = nullptr;
    for (const QImage& image : images) {
        if (best == nullptr) {
            best = &image;
            continue;
        }
        const bool fits = image.width() >= pixels;
        const bool bestFits = best->width() >= pixels;
        if ((fits && !bestFits) || (fits && image.width() <= best->width()) ||
            (!fits && !bestFits && image.width() >= best->width())) {
            best = &image;
        }
    }
    if (best == nullptr) {
        return {};
    }
    return best->width() == pixels
               ? *best
               : best->scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace framework
