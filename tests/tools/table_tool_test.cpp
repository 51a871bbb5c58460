// Runs the built wertomat-table program as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "core/tabulation.h"
#include "tests/support/process.h"

namespace {

using testing_support::ProcessResult;

ProcessResult RunTool(const std::string& arguments, bool withStderr = true) {
    return testing_support::RunCommand(std::string(WERTOMAT_TABLE_TOOL) + " " + arguments,
                                       withStderr);
}

TEST(TableTool, PrintsTheTableBytesOfTheDefaults) {
    const ProcessResult run = RunTool("0 0.1 2", false);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, wertomat::RunTabulation({0.0, 0.1, 2.0, 0}).text);
    EXPECT_EQ(run.output.substr(0, 28), "x\ty\r\n    0.0000\t   -5.0000\r\n");
}

TEST(TableTool, AcceptsCommasAndAFunction) {
    const ProcessResult run = RunTool("0,5 -0,25 -1 2", false);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, wertomat::RunTabulation({0.5, -0.25, -1.0, 2}).text);
}

// --csv: the same numbers, unpadded, in the locale's convention: a decimal
// comma with ';' between the fields, else a point and ','. The largest table
// crosses many chunks, whose row boundaries the conversion must keep.
TEST(TableTool, CsvFollowsTheLocalesDecimalMark) {
    const auto csv = [](const char* locale, const char* arguments) {
        return testing_support::RunCommand(
            std::string("LC_ALL=") + locale + " " + WERTOMAT_TABLE_TOOL + " --csv " + arguments,
            false);
    };
    const ProcessResult german = csv("de_DE.UTF-8", "-- -10 0,5 10 2");
    EXPECT_EQ(german.exitCode, 0);
    const std::string germanStart = "x;y\r\n-10,0000;533,0000\r\n-9,5000;459,7875\r\n";
    EXPECT_EQ(german.output.substr(0, germanStart.size()), germanStart);
    const ProcessResult english = csv("C", "-- -10 0.5 10 2");
    const std::string englishStart = "x,y\r\n-10.0000,533.0000\r\n-9.5000,459.7875\r\n";
    EXPECT_EQ(english.output.substr(0, englishStart.size()), englishStart);
    EXPECT_EQ(std::count(english.output.begin(), english.output.end(), '\n'), 42);

    const ProcessResult largest = csv("C", "0 0.000001 1");
    EXPECT_EQ(std::count(largest.output.begin(), largest.output.end(), '\n'), 1'000'002);
    const std::string end = "\r\n1.0000,-2.0000\r\n";
    EXPECT_EQ(largest.output.substr(largest.output.size() - end.size()), end);
    EXPECT_EQ(largest.output.find(' '), std::string::npos);
}

TEST(TableTool, RefusedInputGivesTheMessageInUtf8AndExitOne) {
    ProcessResult run = RunTool("2 2 2");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output,
              "wertomat-table: Bitte unterschiedliche Werte für den Anfangs- und den Endwert "
              "eingeben\n");

    const auto started = std::chrono::steady_clock::now();
    run = RunTool("0 1e-300 1");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("Die Tabelle hätte zu viele Zeilen"), std::string::npos)
        << run.output;
    // Refused up front: far below any time a table of that size would take.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
}

TEST(TableTool, UnreadableArgumentsExitTwo) {
    for (const char* arguments :
         {"", "1 2", "0 0.1 2 0 9", "abc 0.1 2", "0 0.1 2x", "0 nan 2", "0 0.1 2 1.5",
          "0 0.1 2 zwei", "0 0.1 2 3", "0 0.1 2 -1", "0 0.1 2 2147483648"}) {
        const ProcessResult run = RunTool(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_EQ(run.output.rfind("wertomat-table: ", 0), 0u) << run.output;
    }
}

TEST(TableTool, HelpExplainsTheArguments) {
    const ProcessResult run = RunTool("--help");
    EXPECT_EQ(run.exitCode, 0);
    for (const char* text : {"XA", "XSW", "XE", "FUNKTION", "Y = 2*x³ - 3*x² + 4*x -5",
                             "Y = -0,5*x³ +0,4*x² + 4*x +33"}) {
        EXPECT_NE(run.output.find(text), std::string::npos) << text;
    }
}

// How the arguments are read: after "--" too, and FUNKTION as the numbers are.
struct Reading {
    const char* arguments;
    wertomat::TabulationRequest request;
};
class TableToolReading : public testing::TestWithParam<Reading> {};

TEST_P(TableToolReading, GivesTheTableOfTheseNumbers) {
    const ProcessResult run = RunTool(GetParam().arguments, false);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, wertomat::RunTabulation(GetParam().request).text);
}

INSTANTIATE_TEST_SUITE_P(TableTool, TableToolReading,
                         testing::Values(Reading{"-- -1 0.5 0", {-1, 0.5, 0, 0}},
                                         Reading{"0 1 2 +1", {0, 1, 2, 1}},
                                         Reading{"0 1 2 ' 1'", {0, 1, 2, 1}},
                                         Reading{"0 1 2 1,0", {0, 1, 2, 1}},
                                         Reading{"0 1 2 02", {0, 1, 2, 2}}));

TEST(TableTool, EchoesAreBoundedAndCannotActOnTheTerminal) {
    // A bidirectional override and a byte that is not UTF-8 are shown, not sent.
    EXPECT_EQ(RunTool("\"$(printf 'a\342\200\256b\377')\" 1 2").output,
              "wertomat-table: XA ist keine Zahl: \"a\\xE2\\x80\\xAEb\\xFF\"\n");
    // A long argument is cut after 40 bytes.
    EXPECT_EQ(RunTool(std::string(60, '9') + "x 1 2").output,
              "wertomat-table: XA ist keine Zahl: \"" + std::string(40, '9') + "…\"\n");
}

// The write errors are the tool's own German texts, whatever the locale (and
// on Windows, whose C library has English ones only).
TEST(TableTool, WriteErrorsAreGermanInEveryLocale) {
    for (const char* locale : {"de_DE.UTF-8", "C"}) {
        const ProcessResult run =
            testing_support::RunCommand(std::string("{ LC_ALL=") + locale + " " +
                                        WERTOMAT_TABLE_TOOL + " 0 0.1 2 >/dev/full; } 2>&1");
        EXPECT_EQ(run.exitCode, 3);
        EXPECT_EQ(run.output,
                  "wertomat-table: Fehler beim Schreiben der Ausgabe: Auf dem Gerät "
                  "ist kein Speicherplatz mehr verfügbar\n")
            << locale;
    }
}

TEST(TableTool, EchoedArgumentsReachTheTerminalEscaped) {
    const ProcessResult run = RunTool("\"$(printf '1\\033[31m\\302\\233')\" 0.1 2");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.output, "wertomat-table: XA ist keine Zahl: \"1\\x1B[31m\\xC2\\x9B\"\n");
}

TEST(TableTool, LargestTableStreamsWholeAndVersionIsShown) {
    const ProcessResult run = RunTool("0 0.000001 1", false);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.output == wertomat::RunTabulation({0.0, 0.000001, 1.0, 0}).text);
    EXPECT_EQ(RunTool("--version").output, "wertomat-table " WERTOMAT_VERSION "\n");
}

TEST(TableTool, OutputThatCannotBeWrittenIsAnErrorOfItsOwn) {
    for (const char* arguments :
         {"0 0.000001 1 >/dev/full", "0 0.1 2 >/dev/full", "--help >/dev/full", "0 0.1 2 >&-"}) {
        const ProcessResult run = RunTool(arguments, false);
        EXPECT_EQ(run.exitCode, 3) << arguments;
    }
    const ProcessResult full = testing_support::RunCommand(std::string("{ ") + WERTOMAT_TABLE_TOOL +
                                                           " 0 0.1 2 >/dev/full; } 2>&1");
    EXPECT_NE(full.output.find("Fehler beim Schreiben"), std::string::npos) << full.output;
}

}  // namespace
