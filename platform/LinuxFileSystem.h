// The file operations on the real Linux file system, and the process's one instance of them.
#pragma once

#include "core/ports/FileSystem.h"

#include <atomic>

namespace kestrano {

// The real file system. It counts the files it holds open, so that readers keeping theirs open leave
// ReservedDescriptors of the process's limit to the rest of the program.
class LinuxFileSystem : public FileSystem {
public:
    static constexpr uint64_t ReservedDescriptors = 128;

    Handle openForReading(const char* path) override;
    int32_t readAt(Handle file, char* buffer, int32_t n, uint64_t offset) override;
    bool length(Handle file, uint64_t& size) override;
    bool identify(Handle file, Identity& identity) override;
    void close(Handle file) override;
    bool mayKeepOpen() override;
    bool remove(const char* path) override;

private:
    std::atomic<uint64_t> openFiles {0};
};

// Raises the soft limit of open descriptors to the hard one, so that many logs can be held open;
// false when the limit could not be read or set.
bool raiseDescriptorLimit();

// The process's one LinuxFileSystem.
FileSystem& systemFileSystem();

} // namespace kestrano
