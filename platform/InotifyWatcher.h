// The change watcher on Linux: an inotify instance watching each log's file (writes, truncation,
// attributes) and its folder (the log's name created, renamed or deleted), so a rotated log is seen
// when its name comes back as a new file. Events for other names in the folder are dropped unseen.
#pragma once

#include "core/ports/ChangeWatcher.h"

#include <string>
#include <unordered_map>
#include <vector>

struct inotify_event;

namespace kestrano {

class InotifyWatcher : public ChangeWatcher {
public:
    // Opens the inotify instance; without one (a limit reached) nothing can be watched.
    InotifyWatcher();
    ~InotifyWatcher() override;
    InotifyWatcher(const InotifyWatcher&) = delete;
    InotifyWatcher& operator=(const InotifyWatcher&) = delete;

    bool watch(Id id, const std::string& path) override;
    void unwatch(Id id) override;
    int getDescriptor() const override { return descriptor; }
    void takeChanges(const std::function<void(Id)>& changed) override;

private:
    // One watch of the kernel: who watches the object itself, and who a name in it (a folder).
    struct Watch {
        std::vector<Id> fileIds;
        std::unordered_map<std::string, std::vector<Id>> names;
    };
    struct Watched {
        std::string path;
        std::string name; // in the folder
        int folder = -1;
        int file = -1; // -1 while the file is missing
    };

    int addWatch(const std::string& path, uint32_t mask);
    // Watches the file the path names now, instead of the one watched before.
    void attachFile(Id id, Watched& watched);
    void detachFile(Id id, Watched& watched);
    // Removes the kernel's watch once nobody uses it.
    void release(int handle);
    void handle(const inotify_event& event, const std::function<void(Id)>& changed);

    int descriptor = -1;
    std::unordered_map<Id, Watched> watched;
    std::unordered_map<int, Watch> watches;
};

} // namespace kestrano
