// The file operations of the log view and the document: reading a log without ever blocking or locking
// anybody out, and deleting it. Failures are reported as results, never thrown.
#pragma once

#include <cstdint>

namespace kestrano {

class FileSystem {
public:
    using Handle = int;
    static constexpr Handle NoHandle = -1;

    // What an open file is: the device (as haspel::FileStatus gives it) and inode it lives on, and how
    // many names it has (0: deleted).
    struct Identity {
        uint64_t device = 0;
        uint64_t inode = 0;
        uint64_t links = 0;
    };

    virtual ~FileSystem() = default;

    // Opens a regular file read-only. NoHandle when it is missing, unreadable or not a regular file
    // (a FIFO, device or directory is refused without blocking); errno tells why.
    virtual Handle openForReading(const char* path) = 0;
    // Reads up to n bytes at offset into buffer: the number read, 0 at the end, -1 on failure.
    virtual int32_t readAt(Handle file, char* buffer, int32_t n, uint64_t offset) = 0;
    // The file's current length in size; false on failure.
    virtual bool length(Handle file, uint64_t& size) = 0;
    // The identity of an open file; false on failure.
    virtual bool identify(Handle file, Identity& identity) = 0;
    virtual void close(Handle file) = 0;
    // Whether one more file may stay open between reads without taking the descriptors other work
    // needs; a reader told no opens its file for each read.
    virtual bool mayKeepOpen() = 0;
    // Deletes the file; false on failure.
    virtual bool remove(const char* path) = 0;
    // The file system beneath this one, handing over a file's bytes as they are on the disk (a
    // decompressor reads through it); this one unless it adds to what it reads.
    virtual FileSystem& unaltered() { return *this; }
};

} // namespace kestrano
