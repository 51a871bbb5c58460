// main() for tests that need the toolkit: headless, German, one application object.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

#include "framework/winapp.h"

namespace {

// The application object the dialogs ask for their icon.
class TestApplication : public CWinApp {};
TestApplication theTestApplication;

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

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietOffscreenNotices);
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    framework::SetUpProcess();
    framework::InstallGermanTranslations();
    return RUN_ALL_TESTS();
}
