// The program's own command line: "/log LEVEL" or "--log LEVEL" (read by the logger), "--help",
// "--version", and every other argument a log file to open, in order. After "--" all are files.
#pragma once

#include <string>
#include <vector>

namespace kestrano {

struct ProgramArguments {
    std::vector<std::string> files;
    bool help = false;
    bool version = false;
};

ProgramArguments parseProgramArguments(int argc, const char* const* argv);

// The answer to "--help" for a program started as programName.
std::string usageText(const char* programName);

} // namespace kestrano
