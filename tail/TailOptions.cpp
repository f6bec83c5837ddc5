#include "tail/TailOptions.h"

#include "ProgramVersion.h"
#include "core/sources/SourceRegistry.h"
#include "core/text/Severity.h"
#include "core/view/MergedOrder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <getopt.h>
#include <strings.h>

namespace kestrano::tail {
namespace {

const char* const Program = "kestrano-tail";

const char* const HelpText
    = "Usage: kestrano-tail [OPTION]... FILE...\n"
      "Print the messages at the end of each FILE as a Kestrano log window shows them, then follow\n"
      "every FILE and print each new message as it is read, until interrupted.\n"
      "FILE - is standard input, read to its end; a FILE ending in .gz or .xz is decompressed.\n"
      "Settings come from Kestrano's configuration file, then from these options.\n"
      "\n"
      "      --journal[=UNIT]      follow the systemd journal, or one unit's entries\n"
      "      --journal-file FILE   read the journal from FILE (repeatable), as journalctl --file\n"
      "      --config FILE         read the settings from FILE instead\n"
      "  -n, --once                read each file once and exit\n"
      "  -i, --interval MS         polling interval in milliseconds (at least 1; below 10 waits 10)\n"
      "  -c, --bytes N             bytes read from the end of a file at the start (-1: all)\n"
      "  -s, --min-severity S      hide messages below S: debug, info, warn, error or fatal\n"
      "  -u, --hide-unknown        hide messages of unknown severity\n"
      "      --no-multiline        every line is a message of its own\n"
      "      --keywords-only       the keywords decide the severity, not the level a line states\n"
      "      --time                print each message's stated time (local, -: none) before its tag\n"
      "      --merge               print the messages of all FILEs as one stream in time order,\n"
      "                            each as TAG<TAB>NAME<TAB>LINE (NAME: the FILE's short name)\n"
      "      --color[=WHEN]        colour the tags: never, always or auto (the default,\n"
      "                            also meant by --color alone)\n"
      "      --raw                 print control characters as they are; on a terminal they are\n"
      "                            shown as ^[ or <U+202E> otherwise\n"
      "  -e, --grep PATTERN        show only the messages that match PATTERN (any of several -e);\n"
      "                            a message matches when any of its lines does\n"
      "  -v, --invert-match        show only the messages that match no PATTERN\n"
      "  -F, --fixed-strings       PATTERN is plain text (the default)\n"
      "  -E, --regexp              PATTERN is a regular expression (PCRE2 syntax)\n"
      "      --match-case          tell upper from lower case (ignored by default)\n"
      "  -h, --help                show this help and exit\n"
      "      --version             show the version and exit\n"
      "\n"
      "Exit status: 0, also when ended by Ctrl+C or a closed pipe; 1 when a FILE could not be read\n"
      "with --once; 2 for a usage error or an invalid PATTERN.\n";

enum LongOnly {
    ConfigOption = 256,
    NoMultiLineOption,
    ColorOption,
    VersionOption,
    MatchCaseOption,
    JournalOption,
    JournalFileOption,
    RawOption,
    KeywordsOnlyOption,
    TimeOption,
    MergeOption
};

const option LongOptions[] = {
    {"config", required_argument, nullptr, ConfigOption},
    {"journal", optional_argument, nullptr, JournalOption},
    {"journal-file", required_argument, nullptr, JournalFileOption},
    {"once", no_argument, nullptr, 'n'},
    {"interval", required_argument, nullptr, 'i'},
    {"bytes", required_argument, nullptr, 'c'},
    {"min-severity", required_argument, nullptr, 's'},
    {"hide-unknown", no_argument, nullptr, 'u'},
    {"no-multiline", no_argument, nullptr, NoMultiLineOption},
    {"keywords-only", no_argument, nullptr, KeywordsOnlyOption},
    {"time", no_argument, nullptr, TimeOption},
    {"merge", no_argument, nullptr, MergeOption},
    {"color", optional_argument, nullptr, ColorOption},
    {"raw", no_argument, nullptr, RawOption},
    {"grep", required_argument, nullptr, 'e'},
    {"invert-match", no_argument, nullptr, 'v'},
    {"fixed-strings", no_argument, nullptr, 'F'},
    {"regexp", no_argument, nullptr, 'E'},
    {"match-case", no_argument, nullptr, MatchCaseOption},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, VersionOption},
    {nullptr, 0, nullptr, 0},
};

int usageError(const char* format, const char* argument)
{
    std::fprintf(stderr, "%s: ", Program);
    std::fprintf(stderr, format, argument);
    std::fprintf(stderr, "\nTry '%s --help' for more information.\n", Program);
    return 2;
}

// A whole decimal number within [minimum, INT32_MAX].
bool parseNumber(const char* text, int32_t minimum, int32_t& value)
{
    errno = 0;
    char* end = nullptr;
    const long long number = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || number < minimum || number > INT32_MAX)
        return false;
    value = static_cast<int32_t>(number);
    return true;
}

} // namespace

ParsedCommandLine parseCommandLine(int argc, char** argv)
{
    ParsedCommandLine result;
    TailOptions& options = result.options;
    opterr = 0;
    optind = 1;
    int code;
    while ((code = getopt_long(argc, argv, ":ni:c:s:ue:vFEh", LongOptions, nullptr)) != -1) {
        int32_t number;
        switch (code) {
        case ConfigOption:
            options.configFile = optarg;
            break;
        case JournalOption:
            options.files.push_back(journalName(optarg ? optarg : ""));
            break;
        case JournalFileOption:
            options.journalFiles.emplace_back(optarg);
            break;
        case 'n':
            options.once = true;
            break;
        case RawOption:
            options.raw = true;
            break;
        case 'i':
            if (!parseNumber(optarg, 1, number)) {
                result.exitStatus = usageError("invalid interval '%s': milliseconds, at least 1", optarg);
                return result;
            }
            options.interval = number;
            break;
        case 'c':
            if (!parseNumber(optarg, -1, number)) {
                result.exitStatus = usageError("invalid byte count '%s': a number, -1 for all", optarg);
                return result;
            }
            options.initialBytes = number;
            break;
        case 's': {
            int32_t severity = 0;
            while (severity < Severity::ListCount && strcasecmp(optarg, Severity::Table[severity].tag) != 0)
                ++severity;
            if (severity == Severity::ListCount) {
                result.exitStatus
                    = usageError("invalid severity '%s': debug, info, warn, error or fatal", optarg);
                return result;
            }
            options.minimumSeverity = severity;
            break;
        }
        case 'u':
            options.hideUnknown = true;
            break;
        case NoMultiLineOption:
            options.noMultiLine = true;
            break;
        case KeywordsOnlyOption:
            options.keywordsOnly = true;
            break;
        case TimeOption:
            options.times = true;
            break;
        case MergeOption:
            options.merge = true;
            break;
        case ColorOption:
            // A value only attached (--color=WHEN); alone it means auto, the default.
            if (!optarg || std::strcmp(optarg, "auto") == 0)
                options.color = ColorWhen::Auto;
            else if (std::strcmp(optarg, "never") == 0)
                options.color = ColorWhen::Never;
            else if (std::strcmp(optarg, "always") == 0)
                options.color = ColorWhen::Always;
            else {
                result.exitStatus = usageError("invalid colour choice '%s': never, always or auto", optarg);
                return result;
            }
            break;
        case 'e':
            options.patterns.emplace_back(optarg);
            break;
        case 'v':
            options.invertMatch = true;
            break;
        case 'F':
            options.regex = false;
            break;
        case 'E':
            options.regex = true;
            break;
        case MatchCaseOption:
            options.matchCase = true;
            break;
        case 'h':
            std::fputs(HelpText, stdout);
            result.exitStatus = 0;
            return result;
        case VersionOption:
            std::fputs(versionText(Program).c_str(), stdout);
            result.exitStatus = 0;
            return result;
        case ':':
            result.exitStatus = usageError("option '%s' needs a value", argv[optind - 1]);
            return result;
        default: {
            // A short option inside a group is named alone; a long one as written.
            const char shortName[] = {'-', static_cast<char>(optopt), '\0'};
            result.exitStatus = usageError(
                "unknown option '%s'", optopt > 0 && optopt < 256 ? shortName : argv[optind - 1]);
            return result;
        }
        }
    }
    for (int i = optind; i < argc; ++i)
        options.files.emplace_back(argv[i]);
    addJournalOfFiles(options.files, options.journalFiles);
    if (options.files.empty())
        result.exitStatus = usageError("%s", "no FILE given");
    else if (options.merge && options.files.size() > static_cast<size_t>(MergedOrder::MaxLogs))
        result.exitStatus = usageError("%s", "--merge takes at most 256 FILEs");
    return result;
}

} // namespace kestrano::tail
