#include "tail/TailFileSystem.h"

#include <cerrno>

namespace kestrano::tail {

TailFileSystem::TailFileSystem(FileSystem& files, const std::atomic<bool>& stop, bool endWithLineEnd)
    : files(files)
    , stop(stop)
    , endWithLineEnd(endWithLineEnd)
{ }

FileSystem::Handle TailFileSystem::openForReading(const char* path)
{
    const Handle file = files.openForReading(path);
    if (file == NoHandle)
        noteFailure();
    return file;
}

int32_t TailFileSystem::readAt(Handle file, char* buffer, int32_t n, uint64_t offset)
{
    if (stop.load(std::memory_order_relaxed))
        return -1; // the poll ends here; what it read so far stays
    int32_t got = files.readAt(file, buffer, n, offset);
    if (got < 0) {
        noteFailure();
        return got;
    }
    // The line end one past the real end, when this read reaches it.
    uint64_t size;
    if (endWithLineEnd && got < n && files.length(file, size) && offset + static_cast<uint64_t>(got) == size)
        buffer[got++] = '\n';
    return got;
}

void TailFileSystem::noteFailure()
{
    if (!failure)
        failureError = errno;
    failure = true;
}

bool TailFileSystem::length(Handle file, uint64_t& size)
{
    if (!files.length(file, size)) {
        noteFailure();
        return false;
    }
    if (endWithLineEnd)
        ++size;
    return true;
}

} // namespace kestrano::tail
