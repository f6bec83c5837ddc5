// The file layer as kestrano-tail's views see it: the real one, which also notes whether the last
// poll failed to open or read its file, gives up reading once the program is to stop, and, for a
// single reading, ends each file with a line end so that its last line is complete.
#pragma once

#include "core/ports/FileSystem.h"

#include <atomic>

namespace kestrano::tail {

class TailFileSystem : public FileSystem {
public:
    // stop is set from a signal handler or when output can't be written.
    TailFileSystem(FileSystem& files, const std::atomic<bool>& stop, bool endWithLineEnd);

    // Forgets the failures noted so far.
    void resetFailure()
    {
        failure = false;
        failureError = 0;
    }
    // Opening or reading failed since the last reset.
    bool failed() const { return failure; }
    // The errno of that failure.
    int getFailureError() const { return failureError; }

    Handle openForReading(const char* path) override;
    int32_t readAt(Handle file, char* buffer, int32_t n, uint64_t offset) override;
    bool length(Handle file, uint64_t& size) override;
    bool identify(Handle file, Identity& identity) override { return files.identify(file, identity); }
    void close(Handle file) override { files.close(file); }
    bool mayKeepOpen() override { return files.mayKeepOpen(); }
    bool remove(const char* path) override { return files.remove(path); }
    FileSystem& unaltered() override { return files.unaltered(); }

private:
    void noteFailure();

    FileSystem& files;
    const std::atomic<bool>& stop;
    const bool endWithLineEnd;
    bool failure = false;
    int failureError = 0;
};

} // namespace kestrano::tail
