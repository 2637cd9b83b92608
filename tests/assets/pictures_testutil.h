// Small helpers shared by the picture tests: scratch folders and running tools.
#pragma once

#include <string>

namespace pictest {

// A fresh empty folder under the build tree, named after the test.
std::string ScratchDir(const std::string& name);

void WriteFile(const std::string& path, const std::string& text);

struct RunResult {
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};

// Runs a command line through the shell and captures its output.
RunResult Run(const std::string& command);

// Lists every file below a folder (relative paths, sorted).
std::string ListTree(const std::string& dir);

}  // namespace pictest
