#include "core/LogSources.h"

#include "core/CompressedFileSource.h"
#include "core/FullPath.h"
#include "core/JournalSource.h"
#include "core/StreamSource.h"

#include <cstring>
#include <unistd.h>

namespace kestrano {

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

haspel::String logName(const char* name)
{
    if (std::strcmp(name, StandardInputName) == 0 || isJournalName(name))
        return haspel::String(name);
    return makeFullPath(name);
}

std::unique_ptr<Document> makeDocument(
    const char* name, FileSystem& files, MessageBox& boxes, const std::vector<std::string>& journalFiles)
{
    std::string unit;
    if (std::strcmp(name, StandardInputName) == 0)
        return std::make_unique<Document>(name, std::make_unique<StreamSource>(STDIN_FILENO), files, boxes);
    if (isJournalName(name, &unit)) {
        auto source
            = std::make_unique<JournalSource>(unit, journalFiles, JournalSource::readsOnlyOwnEntries());
        return std::make_unique<Document>(name, std::move(source), files, boxes);
    }
    Decompressor::Format format;
    if (Decompressor::formatOfName(name, format)) {
        const haspel::String path = logName(name);
        auto source = std::make_unique<CompressedFileSource>(path.GetText(), format, files.unaltered());
        return std::make_unique<Document>(path.GetText(), std::move(source), files, boxes);
    }
    return std::make_unique<Document>(name, files, boxes);
}

} // namespace kestrano
