#include "core/sources/KeptStart.h"

#include "core/sources/HistoryReading.h"

namespace kestrano {
namespace {

bool sameFile(const FileSystem::Identity& a, const FileSystem::Identity& b)
{
    return a.device == b.device && a.inode == b.inode;
}

} // namespace

void KeptStart::identify(FileSystem& files, const std::string& path)
{
    const FileSystem::Handle file = files.openForReading(path.c_str());
    if (file == FileSystem::NoHandle)
        return;
    if (!files.identify(file, identity))
        identity = {};
    files.close(file);
}

void KeptStart::note(FileSystem& files, const std::string& path)
{
    const FileSystem::Handle file = files.openForReading(path.c_str());
    if (file == FileSystem::NoHandle)
        return;
    FileSystem::Identity now;
    const bool identified = identity.inode != 0 || identity.device != 0;
    if (files.identify(file, now) && (!identified || sameFile(now, identity))) {
        identity = now;
        std::string bytes(HeadBytes, '\0');
        const int32_t got = files.readAt(file, bytes.data(), static_cast<int32_t>(HeadBytes), 0);
        if (got >= static_cast<int32_t>(head.size()) && bytes.compare(0, head.size(), head) == 0)
            head = bytes.substr(0, static_cast<size_t>(got)); // a file rewritten meanwhile keeps its old head
    }
    files.close(file);
}

bool KeptStart::isFile(FileSystem& files, const std::string& path) const
{
    HistoryFileReader reader(files, path);
    std::string reason;
    if (!reader.open(0, reason))
        return false;
    FileSystem::Identity now;
    const bool plain = !reader.isCompressed();
    if (plain && !(files.identify(reader.getHandle(), now) && sameFile(now, identity)))
        return false;
    if (!plain && head.empty())
        return false; // nothing to tell it by
    std::string bytes(head.size(), '\0');
    return reader.readFully(bytes.data(), static_cast<int32_t>(bytes.size()), reason)
        == static_cast<int32_t>(bytes.size())
        && bytes == head;
}

} // namespace kestrano
