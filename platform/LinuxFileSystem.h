// The file operations on the real Linux file system, and the process's one instance of them.
#pragma once

#include "core/ports/FileSystem.h"

namespace kestrano {

// The real file system.
class LinuxFileSystem : public FileSystem {
public:
    Handle openForReading(const char* path) override;
    int32_t readAt(Handle file, char* buffer, int32_t n, uint64_t offset) override;
    bool length(Handle file, uint64_t& size) override;
    void close(Handle file) override;
    bool remove(const char* path) override;
};

// The process's one LinuxFileSystem.
FileSystem& systemFileSystem();

} // namespace kestrano
