// The names of the logs that are not plain files, and the documents read from them: "-" is standard
// input, "journal:" the journal and "journal:UNIT" one unit's entries, a path ending in ".gz" or ".xz"
// a compressed file. Any other name is a plain file's path. The name also names the workspace section.
#pragma once

#include "core/Document.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrano {

inline constexpr const char* StandardInputName = "-";
inline constexpr const char* JournalPrefix = "journal:";

// Whether the name is the journal's; unit gets the unit named (empty: all entries).
bool isJournalName(const char* name, std::string* unit = nullptr);
std::string journalName(const std::string& unit);
// The name a log is known by: a source's name as it stands, a file's full path.
haspel::String logName(const char* name);

// The document of a log named on a command line, in a dialog or in the workspace. journalFiles, when
// not empty, are read instead of the local journal.
std::unique_ptr<Document> makeDocument(const char* name, FileSystem& files, MessageBox& boxes,
    const std::vector<std::string>& journalFiles = {});

} // namespace kestrano
