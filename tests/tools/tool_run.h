#pragma once
// Runs the built tallowmere binary with arguments (no shell in between) and
// collects its exit code, standard output and standard error.

#include <string>
#include <vector>

struct CToolResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CToolResult runTool(const std::vector<std::string>& arguments);
