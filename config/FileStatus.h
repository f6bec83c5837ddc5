// haspel::FileStatus: the cached existence, times, kind and size of one file, refreshed on demand.
#pragma once

#include "foundation/String.h"

#include <cstdint>

namespace haspel {

class FileStatus {
public:
    static constexpr uint32_t kDirectory = 0x10; // attribute bit: the path is a directory
    static constexpr uint32_t kExistenceKnown = 1u << 24;
    static constexpr uint32_t kDetailsKnown = 1u << 25; // times, kind and size
    static constexpr int64_t kUnknownTime = -1;

    explicit FileStatus(const char* path);

    // Forgets everything: times unknown, not existing, no flags, size 0.
    void Reset();
    // Brings existence (and, unless existenceOnly, the details) up to date. With useCache what is
    // already known is kept; one lookup of the file answers both. Taking the details clears the
    // existence-known bit, so the refresh after one that took them tests existence again.
    void Refresh(bool existenceOnly, bool useCache);
    // Seconds since 1970 of the last write, after a cached refresh; -1 when the file doesn't exist.
    int64_t GetModificationTime();

    bool Exists() const { return exists; }
    uint64_t GetSize() const { return size; }
    uint32_t GetFlags() const { return flags; }
    bool IsDirectory() const { return (flags & kDirectory) != 0; }
    // A regular file (not a directory, FIFO, socket or device).
    bool IsRegularFile() const { return regular; }
    // The file's identity: the device and inode it lives on, 0 when it doesn't exist, and its birth in
    // nanoseconds since 1970 (-1 where the file system doesn't keep it), which tells a file created anew
    // on a freed inode from the one that had it.
    uint64_t GetDevice() const { return device; }
    uint64_t GetInode() const { return inode; }
    int64_t GetBirth() const { return birth; }
    int64_t GetAccessTime() const { return accessed; }
    int64_t GetCreationTime() const { return created; } // -1 where the file system doesn't keep it
    const char* GetPath() const { return path.GetText(); }

private:
    // Looks the file up; its details are stored only when takeDetails.
    void TestExistence(bool takeDetails);

    int64_t accessed = kUnknownTime;
    int64_t birth = kUnknownTime;
    int64_t created = kUnknownTime;
    uint64_t device = 0;
    bool directory = false;
    bool exists = false;
    uint32_t flags = 0;
    uint64_t inode = 0;
    int64_t modified = kUnknownTime;
    String path;
    bool regular = false;
    uint64_t size = 0;
};

} // namespace haspel
