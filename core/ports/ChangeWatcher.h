// Tells which watched log files changed: written or truncated, or their name created, renamed or
// deleted in their folder. The poll scheduler waits on its descriptor and polls those logs at once.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kestrano {

class ChangeWatcher {
public:
    using Id = uint64_t;

    virtual ~ChangeWatcher() = default;
    // Watches the file at the path and its name in its folder (the file need not exist yet), reported
    // as id. False when that can't be done (no folder, a limit reached); the log is left to the timer.
    virtual bool watch(Id id, const std::string& path) = 0;
    // Stops watching for id; nothing of it is reported any more.
    virtual void unwatch(Id id) = 0;
    // Readable while changes wait to be taken; -1 when nothing can be watched.
    virtual int getDescriptor() const = 0;
    // Takes the waiting changes without blocking and calls changed for each id concerned (an id may
    // come more than once).
    virtual void takeChanges(const std::function<void(Id)>& changed) = 0;
};

} // namespace kestrano
