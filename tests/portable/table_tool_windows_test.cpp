// The companion as a Windows process: its bytes through a pipe are the core's,
// CR LF without a text-mode CR added.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/tabulation.h"

namespace {

std::string Output(const std::string& arguments) {
    const std::string command = std::string(WERTOMAT_TABLE_TOOL) + " " + arguments;
    std::FILE* pipe = _popen(command.c_str(), "rb");
    std::string output;
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return output;
    }
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, count);
    }
    _pclose(pipe);
    return output;
}

struct ToolRun {
    std::string output;  // stdout and stderr
    int exitCode = -1;
};

// A command line in UTF-16, as a user types it into the console.
ToolRun RunWide(const std::u16string& arguments) {
    const std::u16string command = u"" WERTOMAT_TABLE_TOOL_WIDE u" " + arguments + u" 2>&1";
    std::FILE* pipe = _wpopen(reinterpret_cast<const wchar_t*>(command.c_str()), L"rb");
    ToolRun run;
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run the tool";
        return run;
    }
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, count);
    }
    run.exitCode = _pclose(pipe);
    return run;
}

// Characters that the ANSI code page's best-fit mapping turns into digits:
// refused as not a number, as the dialog refuses them, and echoed as typed.
struct LookAlike {
    const char16_t* typed;
    const char* echoed;  // UTF-8
};
class WindowsTableToolLookAlikes : public testing::TestWithParam<LookAlike> {};

TEST_P(WindowsTableToolLookAlikes, AreNotNumbers) {
    const ToolRun run = RunWide(std::u16string(GetParam().typed) + u" 1 2");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.output.find(std::string("XA ist keine Zahl: \"") + GetParam().echoed + "\""),
              std::string::npos)
        << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    WindowsTableTool, WindowsTableToolLookAlikes,
    testing::Values(LookAlike{u"\u221E", "\u221E"}, LookAlike{u"\u2212\u221E", "\u2212\u221E"},
                    LookAlike{u"1\u20805", "1\u20805"}, LookAlike{u"\u2081\u2082", "\u2081\u2082"},
                    LookAlike{u"\u2075", "\u2075"}, LookAlike{u"\uFF11", "\uFF11"},
                    LookAlike{u"1\uFF0E5", "1\uFF0E5"}, LookAlike{u"1\uFF0C5", "1\uFF0C5"}));

TEST(WindowsTableTool, HelpHasTheLineEndsOfThePlatform) {
    const ToolRun run = RunWide(u"--help");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.output.find("[FUNKTION]\r\n"), std::string::npos);
    EXPECT_EQ(run.output.find("]\n"), std::string::npos);
}

TEST(WindowsTableTool, PrintsTheCoresBytes) {
    EXPECT_EQ(Output("0 0,1 2"), wertomat::RunTabulation({0.0, 0.1, 2.0, 0}).text);
    EXPECT_EQ(Output("2 -0.5 -1 2"), wertomat::RunTabulation({2.0, -0.5, -1.0, 2}).text);
    EXPECT_EQ(Output("2 2 2"), "");
}

}  // namespace
