// The companion as a Windows process: its bytes through a pipe are the core's,
// CR LF without a text-mode CR added.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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

TEST(WindowsTableTool, PrintsTheCoresBytes) {
    EXPECT_EQ(Output("0 0,1 2"), wertomat::RunTabulation({0.0, 0.1, 2.0, 0}).text);
    EXPECT_EQ(Output("2 -0.5 -1 2"), wertomat::RunTabulation({2.0, -0.5, -1.0, 2}).text);
    EXPECT_EQ(Output("2 2 2"), "");
}

}  // namespace
