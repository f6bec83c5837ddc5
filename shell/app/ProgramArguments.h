// The program's own command line: "/log LEVEL" or "--log LEVEL" (read by the logger), "--help",
// "--version", "--journal[=UNIT]" (the journal's log name joins the files), the options Qt takes for
// itself (-platform, -style and the like), and every other argument a log file to open, in order ("-" is
// standard input). After "--" all are files; an empty argument is ignored; any other argument that
// starts with "-" is a usage error.
#pragma once

#include <string>
#include <vector>

namespace kestrano {

struct ProgramArguments {
    std::vector<std::string> files;
    bool help = false;
    bool version = false;
    // Why the command line is refused (an unknown option, a missing level), or empty.
    std::string error;
};

ProgramArguments parseProgramArguments(int argc, const char* const* argv);

// The answer to "--help" for a program started as programName.
std::string usageText(const char* programName);

// What a refused command line prints on standard error: the reason and a hint to "--help".
std::string usageErrorText(const char* programName, const std::string& error);

} // namespace kestrano
