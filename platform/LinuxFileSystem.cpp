#include "platform/LinuxFileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace kestrano {

FileSystem::Handle LinuxFileSystem::openForReading(const char* path)
{
    // O_NONBLOCK keeps the open of a FIFO without writer from waiting; fstat then refuses it.
    int fd;
    do {
        fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return NoHandle;
    struct stat status;
    const bool statusKnown = ::fstat(fd, &status) == 0;
    if (!statusKnown || !S_ISREG(status.st_mode)) {
        const int error = !statusKnown ? errno : S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = error;
        return NoHandle;
    }
    openFiles.fetch_add(1, std::memory_order_relaxed);
    return fd;
}

int32_t LinuxFileSystem::readAt(Handle file, char* buffer, int32_t n, uint64_t offset)
{
    if (n < 0 || offset > static_cast<uint64_t>(INT64_MAX))
        return -1;
    ssize_t got;
    do {
        got = ::pread(file, buffer, static_cast<size_t>(n), static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    return got < 0 ? -1 : static_cast<int32_t>(got);
}

bool LinuxFileSystem::length(Handle file, uint64_t& size)
{
    struct stat status;
    if (::fstat(file, &status) != 0)
        return false;
    size = static_cast<uint64_t>(status.st_size);
    return true;
}

bool LinuxFileSystem::identify(Handle file, Identity& identity)
{
    struct stat status;
    if (::fstat(file, &status) != 0)
        return false;
    // As FileStatus gives it: the major number in the high half.
    identity.device = (static_cast<uint64_t>(major(status.st_dev)) << 32) | minor(status.st_dev);
    identity.inode = static_cast<uint64_t>(status.st_ino);
    identity.links = static_cast<uint64_t>(status.st_nlink);
    return true;
}

void LinuxFileSystem::close(Handle file)
{
    if (file == NoHandle)
        return;
    ::close(file);
    openFiles.fetch_sub(1, std::memory_order_relaxed);
}

bool LinuxFileSystem::mayKeepOpen()
{
    struct rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return false;
    if (limit.rlim_cur == RLIM_INFINITY)
        return true;
    const uint64_t open = openFiles.load(std::memory_order_relaxed);
    return limit.rlim_cur > ReservedDescriptors && open < limit.rlim_cur - ReservedDescriptors;
}

bool raiseDescriptorLimit()
{
    struct rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return false;
    if (limit.rlim_cur == limit.rlim_max)
        return true;
    limit.rlim_cur = limit.rlim_max;
    return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

bool LinuxFileSystem::remove(const char* path)
{
    return ::unlink(path) == 0;
}

FileSystem& systemFileSystem()
{
    static LinuxFileSystem files;
    return files;
}

} // namespace kestrano
