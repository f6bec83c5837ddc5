// The program's own command line, read with getopt_long as kestrano-tail reads its own (long options
// may be abbreviated where unambiguous): "--log LEVEL" or the program's own "/log LEVEL", "-h" or
// "--help", "--version", "--journal[=UNIT]" (the journal's log name joins the files), "--journal-file
// FILE" (repeatable; the journal is read from these files, and given alone means "--journal"), the
// options Qt
// takes for itself (-platform, -style and the like, wherever they stand, as Qt takes them), and every
// other argument a log file to open, in order ("-" is standard input; options may follow files). After
// "--" all are files; an empty argument is ignored; any other argument that starts with "-" is a usage
// error.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrano {

struct ProgramArguments {
    std::vector<std::string> files;
    // Journal files read instead of the local journal.
    std::vector<std::string> journalFiles;
    // The level of the diagnostic log, the first one given.
    std::optional<std::string> logLevel;
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
