#include "shell/app/ProgramArguments.h"

#include <QCoreApplication>

#include "core/sources/SourceRegistry.h"

#include <cstring>
#include <getopt.h>
#include <string_view>

namespace kestrano {

namespace {

// Options that QGuiApplication, QApplication or the X11 platform take out of the command line, with
// the number of values that follow them.
struct QtOption {
    std::string_view name;
    int values;
};

constexpr QtOption qtOptions[] = {{"platform", 1}, {"platformpluginpath", 1}, {"platformtheme", 1},
    {"plugin", 1}, {"qwindowgeometry", 1}, {"geometry", 1}, {"qwindowicon", 1}, {"icon", 1},
    {"qwindowtitle", 1}, {"title", 1}, {"session", 1}, {"style", 1}, {"stylesheet", 1}, {"display", 1},
    {"name", 1}, {"visual", 1}, {"reverse", 0}, {"widgetcount", 0}, {"testability", 0}, {"nograb", 0},
    {"dograb", 0}, {"sync", 0}};

// The number of values of a Qt option (-1 for none of Qt's); "-style=fusion" carries its value.
int qtOptionValues(std::string_view argument)
{
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    if (argument.starts_with("qmljsdebugger="))
        return 0;
    const size_t equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    for (const QtOption& option : qtOptions) {
        if (option.name == name)
            return equals == std::string_view::npos ? option.values : 0;
    }
    return -1;
}

// The translation of a text, with %1 replaced by the value when there is one.
std::string translated(const char* text, std::string_view value = {})
{
    QString result = QCoreApplication::translate("ProgramArguments", text);
    if (!value.empty())
        result = result.arg(QString::fromLocal8Bit(value.data(), static_cast<qsizetype>(value.size())));
    return result.toLocal8Bit().toStdString();
}

enum LongOnly { VersionOption = 256, LogOption, JournalOption, JournalFileOption };

const option longOptions[] = {
    {"log", required_argument, nullptr, LogOption},
    {"journal", optional_argument, nullptr, JournalOption},
    {"journal-file", required_argument, nullptr, JournalFileOption},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, VersionOption},
    {nullptr, 0, nullptr, 0},
};

std::string baseName(const char* programName)
{
    std::string name = programName && *programName ? programName : "kestrano";
    if (auto slash = name.rfind('/'); slash != std::string::npos)
        name.erase(0, slash + 1);
    return name;
}

} // namespace

ProgramArguments parseProgramArguments(int argc, const char* const* argv)
{
    ProgramArguments result;
    const auto refuse = [&result](std::string error) {
        if (result.error.empty())
            result.error = std::move(error);
    };
    // Qt's options go first, as QGuiApplication takes them out of the vector.
    std::vector<char*> arguments;
    for (int i = 0; i < argc; ++i) {
        const int values = i > 0 && argv[i][0] == '-' ? qtOptionValues(argv[i]) : -1;
        if (values < 0)
            arguments.push_back(const_cast<char*>(argv[i])); // in order, getopt moves nothing
        else
            i += values;
    }
    const int count = static_cast<int>(arguments.size());
    opterr = 0;
    optind = 0; // a fresh scan of another vector
    int code;
    // "-": the other arguments come back in order as code 1, so "/log" can take the level after it.
    while ((code = getopt_long(count, arguments.data(), "-:h", longOptions, nullptr)) != -1) {
        switch (code) {
        case 1:
            if (std::strcmp(optarg, "/log") == 0) {
                if (optind < count && !result.logLevel)
                    result.logLevel = arguments[optind];
                if (optind < count)
                    ++optind; // past the level
            } else if (*optarg != '\0') {
                result.files.emplace_back(optarg);
            }
            break;
        case LogOption:
            if (!result.logLevel)
                result.logLevel = optarg;
            break;
        case JournalOption:
            result.files.push_back(journalName(optarg ? optarg : ""));
            break;
        case JournalFileOption:
            result.journalFiles.emplace_back(optarg);
            break;
        case 'h':
            result.help = true;
            break;
        case VersionOption:
            result.version = true;
            break;
        case ':':
            refuse(optopt == JournalFileOption ? translated("option '--journal-file' needs a file")
                                               : translated("option '--log' needs a level"));
            break;
        default: {
            // A short option inside a group is named alone; a long one as written.
            const char shortName[] = {'-', static_cast<char>(optopt), '\0'};
            refuse(translated(
                "unknown option '%1'", optopt > 0 && optopt < 256 ? shortName : arguments[optind - 1]));
            break;
        }
        }
    }
    for (int i = optind; i < count; ++i) {
        if (*arguments[i] != '\0')
            result.files.emplace_back(arguments[i]);
    }
    addJournalOfFiles(result.files, result.journalFiles);
    return result;
}

std::string usageText(const char* programName)
{
    // In the user's language once a translator is installed.
    return QCoreApplication::translate("kestrano::ProgramArguments",
        "Usage: %1 [--log LEVEL] [--journal[=UNIT]] [--journal-file FILE] [LOGFILE...]\n"
        "Watches text log files while other programs write them.\n"
        "\n"
        "  LOGFILE           a log file to open in a window of its own (may be given several times);\n"
        "                    - reads standard input, a name ending in .gz or .xz is decompressed\n"
        "      --journal[=UNIT]  follow the systemd journal, or one unit's entries\n"
        "      --journal-file FILE  read the journal from FILE (may be given several times)\n"
        "      --log LEVEL   write the diagnostic log from LEVEL on: debug, info, warn, error,\n"
        "                    exception or fatal (also written /log LEVEL)\n"
        "  -h, --help        show this help and exit\n"
        "      --version     show the version and exit\n"
        "  --                every argument after it is a log file\n"
        "Long options may be abbreviated while they stay unambiguous.\n")
        .arg(QString::fromLocal8Bit(baseName(programName)))
        .toLocal8Bit()
        .toStdString();
}

std::string usageErrorText(const char* programName, const std::string& error)
{
    const std::string name = baseName(programName);
    return name + ": " + error + "\n" + translated("Try '%1 --help' for more information.", name) + "\n";
}

} // namespace kestrano
