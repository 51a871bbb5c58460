// Runs the built wertomat-table program as a user would.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <string>

#include "core/tabulation.h"

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};

ToolRun RunTool(const std::string& arguments, bool withStderr = true) {
    const std::string command =
        std::string(WERTOMAT_TABLE_TOOL) + " " + arguments + (withStderr ? " 2>&1" : " 2>/dev/null");
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot start " << command;
        return run;
    }
    std::array<char, 65536> buffer{};
    std::size_t count = 0;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.output.append(buffer.data(), count);
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(TableTool, PrintsTheTableBytesOfTheDefaults) {
    const ToolRun run = RunTool("0 0.1 2", false);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, wertomat::RunTabulation({0.0, 0.1, 2.0, 0}).text);
    EXPECT_EQ(run.output.substr(0, 28), "x\ty\r\n    0.0000\t   -5.0000\r\n");
}

TEST(TableTool, AcceptsCommasAndAFunction) {
    const ToolRun run = RunTool("0,5 -0,25 -1 2", false);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, wertomat::RunTabulation({0.5, -0.25, -1.0, 2}).text);
}

TEST(TableTool, RefusedInputGivesTheMessageInUtf8AndExitOne) {
    ToolRun run = RunTool("2 2 2");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Bitte unterschiedliche Werte für den Anfangs- und den Endwert eingeben\n");

    run = RunTool("0 0.1 2 3");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Falscher Wert in switch-Case-Anweisung\n");

    const auto started = std::chrono::steady_clock::now();
    run = RunTool("0 1e-300 1");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("Die Tabelle wäre zu groß"), std::string::npos) << run.output;
    // Refused up front: far below any time a table of that size would take.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
}

TEST(TableTool, UnreadableArgumentsExitTwo) {
    for (const char* arguments : {"", "1 2", "0 0.1 2 0 9", "abc 0.1 2", "0 0.1 2x",
                                  "0 nan 2", "0 0.1 2 1.5", "0 0.1 2 zwei"}) {
        const ToolRun run = RunTool(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_EQ(run.output.rfind("wertomat-table: ", 0), 0u) << run.output;
    }
}

TEST(TableTool, HelpExplainsTheArguments) {
    const ToolRun run = RunTool("--help");
    EXPECT_EQ(run.exitCode, 0);
    for (const char* text : {"XA", "XSW", "XE", "FUNKTION", "Y = 2*x³ - 3*x² + 4*x -5",
                             "Y = -0,5*x³ +0,4*x² + 4*x +33"}) {
        EXPECT_NE(run.output.find(text), std::string::npos) << text;
    }
}

}  // namespace
