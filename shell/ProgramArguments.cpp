#include "shell/ProgramArguments.h"

#include "core/LogSources.h"

#include <cstring>

namespace kestrano {

ProgramArguments parseProgramArguments(int argc, const char* const* argv)
{
    ProgramArguments result;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (options) {
            if (std::strcmp(argument, "--") == 0) {
                options = false;
                continue;
            }
            if (std::strcmp(argument, "/log") == 0 || std::strcmp(argument, "--log") == 0) {
                ++i; // the level
                continue;
            }
            if (std::strcmp(argument, "--journal") == 0 || std::strncmp(argument, "--journal=", 10) == 0) {
                result.files.push_back(journalName(argument[9] == '=' ? argument + 10 : ""));
                continue;
            }
            if (std::strcmp(argument, "--help") == 0) {
                result.help = true;
                continue;
            }
            if (std::strcmp(argument, "--version") == 0) {
                result.version = true;
                continue;
            }
        }
        result.files.emplace_back(argument);
    }
    return result;
}

std::string usageText(const char* programName)
{
    std::string name = programName && *programName ? programName : "kestrano";
    if (auto slash = name.rfind('/'); slash != std::string::npos)
        name.erase(0, slash + 1);
    return "Usage: " + name
        + " [--log LEVEL] [--journal[=UNIT]] [LOGFILE...]\n"
          "Watches text log files while other programs write them.\n"
          "\n"
          "  LOGFILE        a log file to open in a window of its own (may be given several times);\n"
          "                 - reads standard input, a name ending in .gz or .xz is decompressed\n"
          "  --journal[=UNIT]  follow the systemd journal, or one unit's entries\n"
          "  --log LEVEL    write the diagnostic log from LEVEL on: debug, info, warn, error,\n"
          "                 exception or fatal (also written /log LEVEL)\n"
          "  --help         show this help and exit\n"
          "  --version      show the version and exit\n"
          "  --             every argument after it is a log file\n";
}

} // namespace kestrano
