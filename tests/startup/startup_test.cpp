// Starts the real program (with a probe that closes its dialog once shown) as
// a process: it must end when the dialog closes, whatever the arguments.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/process.h"

namespace {

using testing_support::ProcessResult;
using testing_support::RunCommand;

// `timeout` turns a hang into exit code 124 instead of a stuck test.
ProcessResult RunProbe(const std::string& closeWay, const std::string& arguments = "") {
    return RunCommand("QT_QPA_PLATFORM=offscreen WERTOMAT_PROBE_CLOSE=" + closeWay +
                      " timeout 30 " WERTOMAT_STARTUP_PROBE " " + arguments);
}

TEST(StartUp, ProcessEndsWhenTheDialogClosesInAnyWay) {
    for (const char* way : {"cancel", "escape", "closebox", "enter"}) {
        const ProcessResult run = RunProbe(way);
        EXPECT_EQ(run.exitCode, 0) << way << "\n" << run.output;
        EXPECT_NE(run.output.find("shown Wertomat\n"), std::string::npos) << run.output;
    }
}

TEST(StartUp, HandsOverTheRegistryKeyAndMakesTheDialogTheMainWindow) {
    const ProcessResult run = RunProbe("cancel");
    EXPECT_NE(
        run.output.find("registry Vom lokalen Anwendungs-Assistenten generierte Anwendungen\n"),
        std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("restart 1\n"), std::string::npos);
    EXPECT_NE(run.output.find("main window set\n"), std::string::npos);
}

TEST(StartUp, CommandLineArgumentsChangeNothing) {
    // Qt's own options would pick another platform and style if they were passed on.
    const ProcessResult run =
        RunProbe("escape", "--help -platform xcb -style windows --reverse 0 0.1 2 'ä b'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("shown Wertomat\n"), std::string::npos) << run.output;
}

// On a real Wayland compositor with Qt's own title bar: the program computes,
// refuses the maximised and minimised states its form does not offer, opens
// the About box and ends. Under AddressSanitizer leaks are not counted here:
// Qt's Wayland platform leaves allocations of a module it has unloaded by
// then, which no suppression can name; memory errors are still caught.
TEST(StartUp, UnderWaylandItComputesKeepsItsFormAndEnds) {
    const ProcessResult run = RunCommand(
        "ASAN_OPTIONS=detect_leaks=0 WERTOMAT_PROBE_CLOSE=session timeout "
        "60 " WERTOMAT_WAYLAND_SESSION " " WERTOMAT_STARTUP_PROBE);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    for (const char* seen :
         {"shown Wertomat\n", "last row     2.0000\t", "maximised: normal, same size\n",
          "minimised: normal, same size\n", "about box Info über Wertomat\n"}) {
        EXPECT_NE(run.output.find(seen), std::string::npos) << seen << "\n" << run.output;
    }
}

// A display that is set but cannot be reached: the same, in German, with
// status 1 and no abort.
TEST(StartUp, AnUnreachableDisplayIsSaidInGerman) {
    for (const char* display : {"", ":54321", "nirgends:0"}) {
        const ProcessResult run =
            RunCommand(std::string("env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY='") +
                       display + "' timeout 30 " WERTOMAT_PROGRAM);
        EXPECT_EQ(run.exitCode, 1) << display;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
        EXPECT_NE(run.output.find("keine grafische Oberfläche erreichbar"), std::string::npos)
            << run.output;
    }
}

TEST(StartUp, WithoutADisplayTheProgramSaysSoInOneLine) {
    const ProcessResult run = RunCommand(
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 " WERTOMAT_PROGRAM);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.exitCode, 124);
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    EXPECT_NE(run.output.find("DISPLAY"), std::string::npos) << run.output;
}

}  // namespace
