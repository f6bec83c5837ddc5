// The program's own command line: "/log LEVEL" or "--log LEVEL" (read by the logger), "--help",
// "--version", "--journal[=UNIT]" (the journal's log name joins the files), and every other argument a
// log file to open, in order ("-" is standard input). After "--" all are files.
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
