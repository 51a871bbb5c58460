// main() for tests that need the toolkit: headless, German, one application object.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

#include "framework/winapp.h"

namespace {

// The application object the dialogs ask for their icon.
class TestApplication : public CWinApp {};
TestApplication theTestApplication;

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    framework::InstallGermanTranslations();
    return RUN_ALL_TESTS();
}
