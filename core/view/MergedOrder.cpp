#include "core/view/MergedOrder.h"

#include "core/text/Message.h"

#include <algorithm>

namespace kestrano {

int64_t MergedOrder::orderTime(const Message& message, int64_t previous)
{
    const int64_t time = message.getTime();
    return time == LogTime::None ? previous : LogTime::microseconds(time);
}

int32_t MergedOrder::insert(int32_t log, Message* message, int64_t time)
{
    // New messages belong near the end: a few steps back from there before a binary search.
    auto place = entries.end();
    for (int steps = 0; steps < 8 && place != entries.begin() && (place - 1)->getTime() > time; ++steps)
        --place;
    if (place != entries.begin() && (place - 1)->getTime() > time)
        place = std::upper_bound(entries.begin(), place, time,
            [](int64_t value, const Entry& entry) { return value < entry.getTime(); });
    const auto index = place - entries.begin();
    entries.insert(place, {message, stampOf(log, time)});
    return static_cast<int32_t>(index);
}

void MergedOrder::sort()
{
    std::stable_sort(entries.begin(), entries.end(),
        [](const Entry& a, const Entry& b) { return a.getTime() < b.getTime(); });
}

int32_t MergedOrder::findFromStart(const Message* message) const
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].message == message)
            return static_cast<int32_t>(i);
    return -1;
}

int32_t MergedOrder::findFromEnd(const Message* message) const
{
    for (size_t i = entries.size(); i-- > 0;)
        if (entries[i].message == message)
            return static_cast<int32_t>(i);
    return -1;
}

bool MergedOrder::eraseLog(int32_t log)
{
    const size_t before = entries.size();
    std::erase_if(entries, [log](const Entry& entry) { return entry.getLog() == log; });
    return entries.size() != before;
}

} // namespace kestrano
