#include "core/search/TimeSearch.h"

#include "core/ports/ListControl.h"
#include "core/text/LogTime.h"
#include "core/text/Message.h"

namespace kestrano {

namespace {

TimeAt rowTimes(const ListControl& list)
{
    return [&list](int64_t row) {
        const Message* message = list.rowMessage(static_cast<int32_t>(row));
        return message ? message->getTime() : LogTime::None;
    };
}

} // namespace

int64_t timeBefore(const TimeAt& timeAt, int64_t to)
{
    for (int64_t at = to - 1; at >= 0; --at) {
        if (const int64_t time = timeAt(at); time != LogTime::None)
            return time;
    }
    return LogTime::None;
}

int64_t firstAtOrAfter(const TimeAt& timeAt, int64_t count, int64_t microseconds)
{
    // Positions [0, low) are before the moment; one without a time counts as the timed one before it
    // (one without one before it as before any moment).
    int64_t low = 0, high = count;
    while (low < high) {
        const int64_t middle = low + (high - low) / 2;
        const int64_t time = timeBefore(timeAt, middle + 1);
        if (time != LogTime::None && LogTime::microseconds(time) >= microseconds)
            high = middle;
        else
            low = middle + 1;
    }
    // The first position at the moment states it; untimed ones after an earlier message are not it.
    for (; low < count; ++low) {
        const int64_t time = timeAt(low);
        if (time != LogTime::None && LogTime::microseconds(time) >= microseconds)
            return low;
    }
    return -1;
}

int64_t timeAtOrBefore(const ListControl& list, int32_t row)
{
    if (row < 0 || row >= list.rowCount())
        row = list.rowCount() - 1;
    return timeBefore(rowTimes(list), int64_t {row} + 1);
}

int32_t firstRowAtOrAfter(const ListControl& list, int64_t microseconds)
{
    return static_cast<int32_t>(firstAtOrAfter(rowTimes(list), list.rowCount(), microseconds));
}

} // namespace kestrano
