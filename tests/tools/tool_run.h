#pragma once
// Runs the built tallowmere binary with arguments (no shell in between) and
// collects its exit code, standard output and standard error, and splits that output.

#include <string>
#include <vector>

struct CToolResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CToolResult runTool(const std::vector<std::string>& arguments);

// The lines of an output, without their line feeds; a last line without one counts too.
std::vector<std::string> outputLines(const std::string& text);
