// Runs a shell command and collects what it prints, for tests of whole programs.
#pragma once

#include <string>

namespace testing_support {

struct ProcessResult {
    int exitCode = -1;   // -1 when the process did not exit normally
    std::string output;  // standard output, and standard error unless discarded
};

ProcessResult RunCommand(const std::string& command, bool withStandardError = true);

}  // namespace testing_support
