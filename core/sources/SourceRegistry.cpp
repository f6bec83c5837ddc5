#include "core/sources/SourceRegistry.h"

#include "core/CompressedFileSource.h"
#include "core/FullPath.h"
#include "core/JournalSource.h"
#include "core/StreamSource.h"
#include "core/sources/FileSource.h"

#include <cstring>
#include <iterator>
#include <unistd.h>

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

bool isCompressed(const char* name)
{
    Decompressor::Format format;
    return Decompressor::formatOfName(name, format);
}

const SourceKind kinds[] = {
    {
        isStandardInput,
        false,
        [](const char*, const SourceContext&) -> std::unique_ptr<LogSource> {
            return std::make_unique<StreamSource>(STDIN_FILENO);
        },
        [](const char*) {
            return ShownText {CoreText::StandardInputTitle, {}};
        },
        "standard input",
        false,
        false,
        true,
    },
    {
        [](const char* name) { return isJournalName(name); },
        false,
        [](const char* name, const SourceContext& context) -> std::unique_ptr<LogSource> {
            std::string unit;
            isJournalName(name, &unit);
            return std::make_unique<JournalSource>(
                unit, context.journalFiles, JournalSource::readsOnlyOwnEntries());
        },
        [](const char* name) {
            std::string unit;
            isJournalName(name, &unit);
            return unit.empty() ? ShownText {CoreText::JournalTitle, {}}
                                : ShownText {CoreText::UnitJournalTitle, unit};
        },
        nullptr,
        true,
        false,
        false,
    },
    {
        isCompressed,
        true,
        [](const char* path, const SourceContext& context) -> std::unique_ptr<LogSource> {
            Decompressor::Format format = Decompressor::Format::Gzip;
            Decompressor::formatOfName(path, format);
            return std::make_unique<CompressedFileSource>(path, format, context.files.unaltered());
        },
        fileTitle,
        nullptr,
        true,
        true,
        false,
    },
    {
        [](const char*) { return true; },
        true,
        [](const char* path, const SourceContext& context) -> std::unique_ptr<LogSource> {
            return std::make_unique<FileSource>(path, context.files);
        },
        fileTitle,
        nullptr,
        true,
        true,
        false,
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

} // namespace kestrano
