// Where the messages a view keeps began in a log file, told again among the log's rotated siblings
// after rotation renamed, copied or compressed that file: by its identity and its first bytes (an
// identity alone may be a freed inode given to a new file).
#pragma once

#include "core/ports/FileSystem.h"

#include <cstdint>
#include <string>

namespace kestrano {

struct KeptStart {
    static constexpr size_t HeadBytes = 64;

    uint64_t offset = 0; // the kept messages begin there, or after the line there
    bool skipFirstLine = false;
    // The messages the view made of the files before this one that were kept when it was noted (and
    // those that had left already): the first of the messages that leave the kept ones.
    int64_t messagesBefore = 0;
    FileSystem::Identity identity {};
    std::string head; // the file's first bytes, fewer while it was shorter

    // Notes the identity of the file now at path, without reading it.
    void identify(FileSystem& files, const std::string& path);
    // Notes the first bytes of the file now at path (while fewer than HeadBytes are noted), unless it is
    // another file than the one identified.
    void note(FileSystem& files, const std::string& path);
    bool isHeadComplete() const { return head.size() == HeadBytes; }
    // Whether the file at path (plain, .gz or .xz) is the one noted.
    bool isFile(FileSystem& files, const std::string& path) const;
};

} // namespace kestrano
