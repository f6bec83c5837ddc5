#include "core/sources/SourceRegistry.h"

#include "core/sources/CompressedFileSource.h"
#include "core/sources/FileSource.h"
#include "core/sources/FullPath.h"
#include "core/sources/JournalSource.h"
#include "core/sources/RemoteName.h"
#include "core/sources/RemoteSource.h"
#include "core/sources/StreamSource.h"

#include <cstring>
#include <iterator>
#include <unistd.h>
#include <utility>

namespace kestrano {
namespace {

// A file by its name, the last part of its path.
ShownText fileTitle(const char* path)
{
    const char* slash = std::strrchr(path, '/');
    return {CoreText::None, slash ? slash + 1 : path};
}

bool isStandardInput(const char* name)
{
    return std::strcmp(name, StandardInputName) == 0;
}

// The descriptors of the streams other processes handed over, by their names.
std::vector<std::pair<std::string, int>>& handedStreams()
{
    static std::vector<std::pair<std::string, int>> streams;
    return streams;
}

int handedStreamDescriptor(const char* name)
{
    for (const auto& [streamName, descriptor] : handedStreams())
        if (streamName == name)
            return descriptor;
    return -1;
}

bool isCompressed(const char* name)
{
    Decompressor::Format format;
    return Decompressor::formatOfName(name, format);
}

// A stream's row: read once to its end, never stored, titled as standard input.
constexpr SourceKind streamKind(
    bool (*recognises)(const char*), std::unique_ptr<LogSource> (*make)(const char*, const SourceContext&))
{
    return {
        .recognises = recognises,
        .isPath = false,
        .make = make,
        .title =
            [](const char*) {
                return ShownText {CoreText::StandardInputTitle, {}};
            },
        .terminalName = "standard input",
        .stored = false,
        .deletable = false,
        .stream = true,
    };
}

// The last row takes any name.
const SourceKind kinds[] = {
    // Standard input, "-".
    streamKind(isStandardInput,
        [](const char*, const SourceContext&) -> std::unique_ptr<LogSource> {
            return std::make_unique<StreamSource>(STDIN_FILENO);
        }),
    // A stream another process handed over, "-:N".
    streamKind([](const char* name) { return handedStreamDescriptor(name) >= 0; },
        [](const char* name, const SourceContext&) -> std::unique_ptr<LogSource> {
            const int descriptor = handedStreamDescriptor(name);
            std::erase_if(handedStreams(), [name](const auto& entry) { return entry.first == name; });
            return std::make_unique<StreamSource>(descriptor, true);
        }),
    // The journal, "journal:", or one unit's entries, "journal:UNIT".
    {
        .recognises = [](const char* name) { return isJournalName(name); },
        .isPath = false,
        .make = [](const char* name, const SourceContext& context) -> std::unique_ptr<LogSource> {
            std::string unit;
            isJournalName(name, &unit);
            return std::make_unique<JournalSource>(
                unit, context.journalFiles, JournalSource::readsOnlyOwnEntries());
        },
        .title =
            [](const char* name) {
                std::string unit;
                isJournalName(name, &unit);
                return unit.empty() ? ShownText {CoreText::JournalTitle, {}}
                                    : ShownText {CoreText::UnitJournalTitle, unit};
            },
        .terminalName = nullptr,
        .stored = true,
        .deletable = false,
        .stream = false,
    },
    // A file or the journal of another host, "ssh://[USER@]HOST[:PORT]/PATH" or ".../?journal[=UNIT]".
    {
        .recognises = isRemoteName,
        .isPath = false,
        .make = [](const char* name, const SourceContext& context) -> std::unique_ptr<LogSource> {
            return std::make_unique<RemoteSource>(name, context.processes, context.readOnce);
        },
        .title =
            [](const char* name) {
                RemoteName remote;
                if (!parseRemoteName(name, remote))
                    return ShownText {CoreText::None, name};
                if (remote.journal)
                    return ShownText {CoreText::RemoteJournalTitle, remote.host, remote.unit};
                return ShownText {
                    CoreText::None, remote.host + ": " + fileTitle(remote.path.c_str()).argument};
            },
        .terminalName = nullptr,
        .stored = true,
        .deletable = false,
        .stream = false,
    },
    // A compressed file, ".gz" or ".xz".
    {
        .recognises = isCompressed,
        .isPath = true,
        .make = [](const char* path, const SourceContext& context) -> std::unique_ptr<LogSource> {
            Decompressor::Format format = Decompressor::Format::Gzip;
            Decompressor::formatOfName(path, format);
            return std::make_unique<CompressedFileSource>(path, format, context.files.unaltered());
        },
        .title = fileTitle,
        .terminalName = nullptr,
        .stored = true,
        .deletable = true,
        .stream = false,
    },
    // A plain file.
    {
        .recognises = [](const char*) { return true; },
        .isPath = true,
        .make = [](const char* path, const SourceContext& context) -> std::unique_ptr<LogSource> {
            return std::make_unique<FileSource>(path, context.files);
        },
        .title = fileTitle,
        .terminalName = nullptr,
        .stored = true,
        .deletable = true,
        .stream = false,
        .history = true,
    },
};

} // namespace

const SourceKind& sourceKindOf(const char* name)
{
    for (const SourceKind& kind : kinds)
        if (kind.recognises(name))
            return kind;
    return kinds[std::size(kinds) - 1];
}

haspel::String logName(const char* name)
{
    return sourceKindOf(name).isPath ? makeFullPath(name) : haspel::String(name);
}

std::string adoptStream(int descriptor)
{
    const std::string name = std::string(StandardInputName) + ":" + std::to_string(descriptor);
    handedStreams().emplace_back(name, descriptor);
    return name;
}

bool isJournalName(const char* name, std::string* unit)
{
    const size_t prefix = std::strlen(JournalPrefix);
    if (std::strncmp(name, JournalPrefix, prefix) != 0)
        return false;
    if (unit)
        unit->assign(name + prefix);
    return true;
}

std::string journalName(const std::string& unit)
{
    return JournalPrefix + unit;
}

void addJournalOfFiles(std::vector<std::string>& logNames, const std::vector<std::string>& journalFiles)
{
    bool journal = false;
    for (const std::string& name : logNames)
        journal = journal || isJournalName(name.c_str());
    if (!journalFiles.empty() && !journal)
        logNames.push_back(journalName(""));
}

} // namespace kestrano
