// Decides which logs are polled and when, for the desktop program and kestrano-tail alike: a pass over
// every log each UpdateEvery, the next pass at once while a log has more to read, and one log at once
// when the watcher reports that its file changed (at most once per CoalescePeriod). The program's own
// event loop waits for the watcher's descriptor or for the time until due, then calls takeChanges or
// runDue; each entry point returns the milliseconds until something is due next.
#pragma once

#include "core/ports/ChangeWatcher.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace kestrano {

class PollScheduler {
public:
    using Clock = std::chrono::steady_clock;
    using Id = ChangeWatcher::Id;
    // Polls one log; true when it ran out of time with more to read.
    using Poll = std::function<bool()>;

    // The shortest time between two timed passes; a shorter or negative UpdateEvery waits this long.
    static constexpr int32_t ShortestInterval = 10;
    // A log whose file keeps changing is polled at most once in this time.
    static constexpr std::chrono::milliseconds CoalescePeriod {10};

    // Without a watcher (nullptr) only the timer polls.
    explicit PollScheduler(ChangeWatcher* watcher);
    ~PollScheduler();
    PollScheduler(const PollScheduler&) = delete;
    PollScheduler& operator=(const PollScheduler&) = delete;

    // Adds a log, polled after those added before it; its file's changes wake it when watchPath is not
    // empty and the watch could be set. The id removes it.
    Id addLog(const std::string& watchPath, Poll poll);
    // Removes the log and its watch; it is not polled again, even later in a run that is going on.
    void removeLog(Id id);
    // Whether the log's changes wake it (else the timer alone polls it).
    bool isWatched(Id id) const;

    // The interval of the timed passes in milliseconds, counted from now.
    int32_t restart(int32_t updateEvery);
    // The watcher's descriptor, readable while changes wait; -1 without one.
    int getDescriptor() const;
    // Takes the watcher's changes; the logs concerned are due.
    int32_t takeChanges();
    // Polls what is due now: every log when the timed pass is due or a log had more to read, else
    // the logs whose files changed. A poll that throws ends the run; the rest stay due.
    int32_t runDue();
    // Polls every log now, whatever is due; the next timed pass comes one interval after it.
    int32_t runPass();
    // Milliseconds until something is due, 0 when it is; a wait of that long never ends early.
    int32_t getTimeUntilDue() const { return timeUntilDue(Clock::now()); }

private:
    struct Log {
        Poll poll;
        bool watched = false;
        bool changed = false;
        bool removed = false;
        Clock::time_point polledAt {};
    };
    void poll(Log& log, Clock::time_point now);
    // Calls visit on every log not removed, in the order of adding; logs may be removed meanwhile.
    template <class Visit> void forEachLog(Visit&& visit);
    int32_t timeUntilDue(Clock::time_point now) const;

    ChangeWatcher* watcher;
    std::map<Id, Log> logs;
    Id nextId = 1;
    Clock::duration interval = std::chrono::milliseconds(ShortestInterval);
    Clock::time_point passDue = Clock::now();
    bool passAtOnce = false;
    int running = 0; // nested runs: removed logs are erased when the outermost ends
};

} // namespace kestrano
