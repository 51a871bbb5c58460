// The toolkit started headless, as tests, screenshots and benchmarks need it:
// offscreen platform, the framework's process settings, German texts, and the
// one application object the dialogs ask for their icon.
#pragma once

#include <QApplication>

namespace testing_support {

class HeadlessToolkit {
public:
    HeadlessToolkit(int& argc, char** argv);

private:
    struct OffscreenPlatform {
        OffscreenPlatform();
    };
    OffscreenPlatform platform_;  // must be chosen before the application exists
    QApplication application_;
};

}  // namespace testing_support
