#include "core/search/TimeSearch.h"

#include "core/ports/ListControl.h"
#include "core/text/LogTime.h"
#include "core/text/Message.h"

namespace kestrano {

namespace {

int64_t rowTime(const ListControl& list, int32_t row)
{
    const Message* message = list.rowMessage(row);
    return message ? message->getTime() : LogTime::None;
}

} // namespace

int64_t timeAtOrBefore(const ListControl& list, int32_t row)
{
    if (row < 0 || row >= list.rowCount())
        row = list.rowCount() - 1;
    for (; row >= 0; --row) {
        if (const int64_t time = rowTime(list, row); time != LogTime::None)
            return time;
    }
    return LogTime::None;
}

int32_t firstRowAtOrAfter(const ListControl& list, int64_t microseconds)
{
    // Rows [0, low) are before the moment; a row without a time counts as the timed row before it (a row
    // without one before it as before any moment).
    int32_t low = 0, high = list.rowCount();
    while (low < high) {
        const int32_t middle = low + (high - low) / 2;
        const int64_t time = timeAtOrBefore(list, middle);
        if (time != LogTime::None && LogTime::microseconds(time) >= microseconds)
            high = middle;
        else
            low = middle + 1;
    }
    // The first row at the moment states it; untimed rows after an earlier message are not it.
    for (; low < list.rowCount(); ++low) {
        const int64_t time = rowTime(list, low);
        if (time != LogTime::None && LogTime::microseconds(time) >= microseconds)
            return low;
    }
    return -1;
}

} // namespace kestrano
