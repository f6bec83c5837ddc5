#include "core/view/PollScheduler.h"

#include <algorithm>
#include <limits>

namespace kestrano {

PollScheduler::PollScheduler(ChangeWatcher* watcher)
    : watcher(watcher)
{ }

PollScheduler::~PollScheduler()
{
    for (const auto& [id, log] : logs)
        if (log.watched)
            watcher->unwatch(id);
}

PollScheduler::Id PollScheduler::addLog(const std::string& watchPath, Poll poll)
{
    const Id id = nextId++;
    Log& log = logs[id];
    log.poll = std::move(poll);
    log.watched = watcher && !watchPath.empty() && watcher->watch(id, watchPath);
    return id;
}

void PollScheduler::removeLog(Id id)
{
    const auto found = logs.find(id);
    if (found == logs.end())
        return;
    if (found->second.watched)
        watcher->unwatch(id);
    found->second.watched = false;
    // A running poll may be this log's own: its function goes only after the run.
    if (running)
        found->second.removed = true;
    else
        logs.erase(found);
}

bool PollScheduler::isWatched(Id id) const
{
    const auto found = logs.find(id);
    return found != logs.end() && found->second.watched;
}

int32_t PollScheduler::restart(int32_t updateEvery)
{
    interval = std::chrono::milliseconds(std::max(updateEvery, ShortestInterval));
    const Clock::time_point now = Clock::now();
    passDue = now + interval;
    return timeUntilDue(now);
}

int PollScheduler::getDescriptor() const
{
    return watcher ? watcher->getDescriptor() : -1;
}

int32_t PollScheduler::takeChanges()
{
    if (watcher)
        watcher->takeChanges([this](Id id) {
            const auto found = logs.find(id);
            if (found != logs.end() && found->second.watched)
                found->second.changed = true;
        });
    return getTimeUntilDue();
}

void PollScheduler::poll(Log& log, Clock::time_point now)
{
    log.changed = false;
    log.polledAt = now;
    if (log.poll())
        passAtOnce = true;
}

template <class Visit> void PollScheduler::forEachLog(Visit&& visit)
{
    struct Running {
        PollScheduler& scheduler;
        explicit Running(PollScheduler& scheduler)
            : scheduler(scheduler)
        {
            ++scheduler.running;
        }
        ~Running()
        {
            if (--scheduler.running == 0)
                std::erase_if(scheduler.logs, [](const auto& entry) { return entry.second.removed; });
        }
    } running(*this);
    for (auto entry = logs.begin(); entry != logs.end(); entry = logs.upper_bound(entry->first))
        if (!entry->second.removed)
            visit(entry->second);
}

int32_t PollScheduler::runDue()
{
    const Clock::time_point now = Clock::now();
    if (passAtOnce || now >= passDue)
        return runPass();
    forEachLog([this, now](Log& log) {
        if (log.changed && now >= log.polledAt + CoalescePeriod)
            poll(log, now);
    });
    return getTimeUntilDue();
}

int32_t PollScheduler::runPass()
{
    passAtOnce = false;
    const Clock::time_point start = Clock::now();
    forEachLog([this, start](Log& log) { poll(log, start); });
    const Clock::time_point end = Clock::now();
    passDue = end + interval;
    return timeUntilDue(end);
}

int32_t PollScheduler::timeUntilDue(Clock::time_point now) const
{
    if (passAtOnce)
        return 0;
    Clock::time_point due = passDue;
    for (const auto& [id, log] : logs)
        if (log.changed && !log.removed)
            due = std::min(due, log.polledAt + CoalescePeriod);
    if (due <= now)
        return 0;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - now).count();
    return static_cast<int32_t>(std::min<int64_t>(wait, std::numeric_limits<int32_t>::max()));
}

} // namespace kestrano
