#include "config/FileStatus.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace haspel {

FileStatus::FileStatus(const char* path)
    : path(path)
{
    Reset();
}

void FileStatus::Reset()
{
    accessed = birth = created = modified = kUnknownTime;
    exists = false;
    directory = regular = false;
    flags = 0;
    device = inode = size = 0;
}

void FileStatus::Refresh(bool existenceOnly, bool useCache)
{
    const bool detailsWanted = !existenceOnly && (!useCache || !(flags & kDetailsKnown));
    if (!useCache || !(flags & kExistenceKnown))
        TestExistence(detailsWanted || !(flags & kDetailsKnown));
    if (!detailsWanted)
        return;
    // The details come from the existence test's lookup. Taking them replaces the flags by the file's
    // kind, which clears the existence-known bit: the next refresh tests existence again.
    if (exists)
        flags = directory ? kDirectory : 0;
    flags |= kDetailsKnown;
}

void FileStatus::TestExistence(bool takeDetails)
{
    struct statx found;
    if (statx(AT_FDCWD, path.GetText(), 0, STATX_BASIC_STATS | STATX_BTIME, &found) != 0) {
        Reset();
        flags = kExistenceKnown;
        return;
    }
    exists = true;
    flags |= kExistenceKnown;
    if (!takeDetails)
        return; // the cached details stay
    directory = S_ISDIR(found.stx_mode);
    regular = S_ISREG(found.stx_mode);
    device = (static_cast<uint64_t>(found.stx_dev_major) << 32) | found.stx_dev_minor;
    inode = found.stx_ino;
    size = found.stx_size;
    accessed = found.stx_atime.tv_sec;
    modified = found.stx_mtime.tv_sec;
    created = (found.stx_mask & STATX_BTIME) ? found.stx_btime.tv_sec : kUnknownTime;
    birth = (found.stx_mask & STATX_BTIME) ? found.stx_btime.tv_sec * 1000000000LL + found.stx_btime.tv_nsec
                                           : kUnknownTime;
}

int64_t FileStatus::GetModificationTime()
{
    Refresh(false, true);
    return exists ? modified : kUnknownTime;
}

} // namespace haspel
