#include "tail/TailFileSystem.h"

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
        failure = true;
    return file;
}

int32_t TailFileSystem::readAt(Handle file, char* buffer, int32_t n, uint64_t offset)
{
    if (stop.load(std::memory_order_relaxed))
        return -1; // the poll ends here; what it read so far stays
    int32_t got = files.readAt(file, buffer, n, offset);
    if (got < 0) {
        failure = true;
        return got;
    }
    // The line end one past the real end, when this read reaches it.
    uint64_t size;
    if (endWithLineEnd && got < n && files.length(file, size) && offset + static_cast<uint64_t>(got) == size)
        buffer[got++] = '\n';
    return got;
}

bool TailFileSystem::length(Handle file, uint64_t& size)
{
    if (!files.length(file, size)) {
        failure = true;
        return false;
    }
    if (endWithLineEnd)
        ++size;
    return true;
}

} // namespace kestrano::tail
