// Finding messages by the time they state, in rows or numbers that are in order of time, except for
// messages that state none, which keep their place after the message before them.
#pragma once

#include <cstdint>
#include <functional>

namespace kestrano {

class ListControl;

// The packed time (LogTime) a position states, LogTime::None when it states none.
using TimeAt = std::function<int64_t(int64_t position)>;

// The packed time of the last position before `to` that states one, looking back from to - 1;
// LogTime::None when none does.
int64_t timeBefore(const TimeAt& timeAt, int64_t to);

// The first of the positions [0, count) whose message states a time at or after the moment
// (microseconds since the epoch); a binary search over the timed positions. -1 when none does.
int64_t firstAtOrAfter(const TimeAt& timeAt, int64_t count, int64_t microseconds);

// The same for a list's rows.
int32_t firstRowAtOrAfter(const ListControl& list, int64_t microseconds);

// The packed time of the last row that states one, looking back from the row (the last row for -1);
// LogTime::None when none does.
int64_t timeAtOrBefore(const ListControl& list, int32_t row = -1);

} // namespace kestrano
