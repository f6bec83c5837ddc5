// The command line of kestrano-tail: the files to follow and the options that override the settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrano::tail {

enum class ColorWhen { Never, Always, Auto };

struct TailOptions {
    // The logs in order: paths, "-" for standard input, "journal:" or "journal:UNIT".
    std::vector<std::string> files;
    // Journal files read instead of the local journal.
    std::vector<std::string> journalFiles;
    std::optional<std::string> configFile;
    bool once = false;
    std::optional<int32_t> interval; // milliseconds, at least 1
    std::optional<int32_t> initialBytes; // -1: the whole file
    int32_t minimumSeverity = 0;
    bool hideUnknown = false;
    bool noMultiLine = false;
    bool keywordsOnly = false; // the keywords alone decide the severity
    bool times = false; // each message's stated time before its tag
    bool merge = false; // the files' messages as one stream in time order, each with its file's name
    ColorWhen color = ColorWhen::Auto;
    bool raw = false; // control characters reach a terminal as they are
    std::vector<std::string> patterns; // show the messages that match any of them
    bool invertMatch = false; // show those that match none instead
    bool regex = false;
    bool matchCase = false;
};

// What the command line asks for: run with the options, or end at once with the status (after the
// help or version text on standard output, or a usage error on standard error).
struct ParsedCommandLine {
    TailOptions options;
    std::optional<int> exitStatus;
};

ParsedCommandLine parseCommandLine(int argc, char** argv);

} // namespace kestrano::tail
