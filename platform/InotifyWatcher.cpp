#include "platform/InotifyWatcher.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/inotify.h>
#include <unistd.h>

namespace kestrano {
namespace {

// IN_MASK_ADD: a folder that is also a watched file (or the reverse) keeps both masks.
constexpr uint32_t FileEvents = IN_MODIFY | IN_ATTRIB | IN_MASK_ADD;
constexpr uint32_t FolderEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF
    | IN_MOVE_SELF | IN_ONLYDIR | IN_MASK_ADD;

void removeId(std::vector<InotifyWatcher::Id>& ids, InotifyWatcher::Id id)
{
    ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end());
}

} // namespace

InotifyWatcher::InotifyWatcher()
    : descriptor(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{ }

InotifyWatcher::~InotifyWatcher()
{
    if (descriptor >= 0)
        ::close(descriptor);
}

int InotifyWatcher::addWatch(const std::string& path, uint32_t mask)
{
    if (descriptor < 0)
        return -1;
    const int handle = inotify_add_watch(descriptor, path.c_str(), mask);
    if (handle >= 0)
        watches.try_emplace(handle);
    return handle;
}

bool InotifyWatcher::watch(Id id, const std::string& path)
{
    if (watched.count(id) || path.empty())
        return false;
    const std::filesystem::path file(path);
    Watched entry;
    entry.path = path;
    entry.name = file.filename();
    const std::string folder = file.has_parent_path() ? file.parent_path().string() : ".";
    if (entry.name.empty())
        return false;
    entry.folder = addWatch(folder, FolderEvents);
    if (entry.folder < 0)
        return false;
    watches[entry.folder].names[entry.name].push_back(id);
    Watched& added = watched.emplace(id, std::move(entry)).first->second;
    // A missing file is watched once its name appears.
    attachFile(id, added);
    if (added.file < 0 && errno != ENOENT) {
        unwatch(id);
        return false;
    }
    return true;
}

void InotifyWatcher::unwatch(Id id)
{
    const auto found = watched.find(id);
    if (found == watched.end())
        return;
    Watched& entry = found->second;
    detachFile(id, entry);
    if (const auto folder = watches.find(entry.folder); folder != watches.end()) {
        const auto name = folder->second.names.find(entry.name);
        if (name != folder->second.names.end()) {
            removeId(name->second, id);
            if (name->second.empty())
                folder->second.names.erase(name);
        }
        release(entry.folder);
    }
    watched.erase(found);
}

void InotifyWatcher::attachFile(Id id, Watched& entry)
{
    detachFile(id, entry);
    entry.file = addWatch(entry.path, FileEvents);
    if (entry.file >= 0)
        watches[entry.file].fileIds.push_back(id);
}

void InotifyWatcher::detachFile(Id id, Watched& entry)
{
    if (entry.file < 0)
        return;
    if (const auto file = watches.find(entry.file); file != watches.end()) {
        removeId(file->second.fileIds, id);
        release(entry.file);
    }
    entry.file = -1;
}

void InotifyWatcher::release(int handle)
{
    const auto found = watches.find(handle);
    if (found == watches.end() || !found->second.fileIds.empty() || !found->second.names.empty())
        return;
    inotify_rm_watch(descriptor, handle);
    watches.erase(found);
}

void InotifyWatcher::takeChanges(const std::function<void(Id)>& changed)
{
    if (descriptor < 0)
        return;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t length = ::read(descriptor, buffer, sizeof buffer);
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            return;
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            handle(*event, changed);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

void InotifyWatcher::handle(const inotify_event& event, const std::function<void(Id)>& changed)
{
    if (event.mask & IN_Q_OVERFLOW) {
        // Events were lost: every file may have changed or been replaced.
        for (auto& [id, entry] : watched) {
            attachFile(id, entry);
            changed(id);
        }
        return;
    }
    const auto found = watches.find(event.wd);
    if (found == watches.end())
        return; // removed meanwhile
    std::vector<Id> concerned;
    if (event.len > 0) {
        // The kernel pads the name with NUL bytes.
        const std::string name(event.name, strnlen(event.name, event.len));
        const auto ids = found->second.names.find(name);
        if (ids == found->second.names.end())
            return; // another file in the folder
        concerned = ids->second;
        // The name may stand for another file now.
        for (Id id : concerned)
            attachFile(id, watched.at(id));
    } else {
        concerned = found->second.fileIds;
        if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED))
            for (const auto& [name, ids] : found->second.names)
                concerned.insert(concerned.end(), ids.begin(), ids.end());
    }
    if (event.mask & IN_IGNORED) {
        // The kernel dropped the watch (its file or folder is gone): nobody uses it any more.
        for (auto& [id, entry] : watched) {
            if (entry.file == event.wd)
                entry.file = -1;
            if (entry.folder == event.wd)
                entry.folder = -1;
        }
        watches.erase(event.wd);
    }
    for (Id id : concerned)
        changed(id);
}

} // namespace kestrano
