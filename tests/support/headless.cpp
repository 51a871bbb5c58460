#include "tests/support/headless.h"

#include <cstdio>

#include "framework/qt/toolkit.h"
#include "framework/winapp.h"

namespace testing_support {
namespace {

class HeadlessApplication : public CWinApp {};
HeadlessApplication theHeadlessApplication;

// The offscreen platform says of every window that it cannot raise it or pass on
// size hints; that is the platform, not a finding.
void QuietOffscreenNotices(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QStringLiteral("This plugin does not support"))) {
        return;
    }
    const QByteArray local = qFormatLogMessage(type, context, text).toLocal8Bit();
    std::fprintf(stderr, "%s\n", local.constData());
}

}  // namespace

HeadlessToolkit::OffscreenPlatform::OffscreenPlatform() {
    // Offscreen unless a test asks for a real display (WERTOMAT_TEST_PLATFORM=xcb under Xvfb).
    const QByteArray wanted = qgetenv("WERTOMAT_TEST_PLATFORM");
    qputenv("QT_QPA_PLATFORM", wanted.isEmpty() ? QByteArray("offscreen") : wanted);
    qInstallMessageHandler(QuietOffscreenNotices);
}

HeadlessToolkit::HeadlessToolkit(int& argc, char** argv) : application_(argc, argv) {
    framework::SetUpProcess();
    framework::InstallGermanTranslations();
}

}  // namespace testing_support
