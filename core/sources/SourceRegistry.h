// Every kind of log the programs open, one row each: how its name is recognised, how its source is
// made, its window title and kestrano-tail's name for it, whether its switches are stored in the
// workspace, whether it can be deleted, whether it is a stream. The desktop program, kestrano-tail and
// the workspace read the rows; a new kind of log is its LogSource and one row in SourceRegistry.cpp.
#pragma once

#include "core/sources/LogSource.h"
#include "core/text/CoreText.h"
#include "foundation/String.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kestrano {

class FileSystem;
class ProcessStarter;

inline constexpr const char* StandardInputName = "-";
inline constexpr const char* JournalPrefix = "journal:";

// What a source is made with.
struct SourceContext {
    explicit SourceContext(FileSystem& files, std::vector<std::string> journalFiles = {},
        ProcessStarter* processes = nullptr, bool readOnce = false)
        : files(files)
        , journalFiles(std::move(journalFiles))
        , processes(processes)
        , readOnce(readOnce)
    { }

    FileSystem& files;
    // Journal files read instead of the local journal (empty: the local journal).
    std::vector<std::string> journalFiles;
    // Starts the ssh client of a remote log (nullptr: remote logs can't be read).
    ProcessStarter* processes;
    // A remote log is read once, to its end, rather than followed.
    bool readOnce;
};

struct SourceKind {
    // Whether a name, as given or as the log's name, is of this kind (the last row takes any name).
    bool (*recognises)(const char* name);
    // The name is a path, made full (absolute, lexically normal) to name the log.
    bool isPath;
    // The source of the log named (by its log name).
    std::unique_ptr<LogSource> (*make)(const char* logName, const SourceContext& context);
    // The window title of the log named.
    ShownText (*title)(const char* logName);
    // The name kestrano-tail prints for the log in headers and notices; nullptr: the name as given.
    const char* terminalName;
    // The log's switches are kept in its workspace entry.
    bool stored;
    // The log is a file that can be deleted.
    bool deletable;
    // A stream (standard input), read once to its end.
    bool stream;
    // A plain file whose whole content can be indexed and read back: its window may show its history.
    bool history = false;
};

// The row of a name's kind.
const SourceKind& sourceKindOf(const char* name);
// The name a log is known by (its workspace section): a file's full path, a source's name as it stands.
haspel::String logName(const char* name);

// Takes a stream another process handed over (its descriptor, now this process's) and names it, "-:N":
// the first source made by that name reads it and closes it at its end.
std::string adoptStream(int descriptor);

// Whether the name is the journal's; unit gets the unit named (empty: all entries).
bool isJournalName(const char* name, std::string* unit = nullptr);
std::string journalName(const std::string& unit);
// Journal files given without a journal among the logs mean: all the entries they hold.
void addJournalOfFiles(std::vector<std::string>& logNames, const std::vector<std::string>& journalFiles);

} // namespace kestrano
