// Finding a list's rows by the time their messages state: the rows are in order of time, except for
// messages that state none, which keep their place after the message before them.
#pragma once

#include <cstdint>

namespace kestrano {

class ListControl;

// The first row whose message states a time at or after the moment (microseconds since the epoch); a
// binary search over the timed rows. -1 when no row does.
int32_t firstRowAtOrAfter(const ListControl& list, int64_t microseconds);

// The packed time (LogTime) of the last row that states one, looking back from the row (the last row
// for -1); LogTime::None when none does.
int64_t timeAtOrBefore(const ListControl& list, int32_t row = -1);

} // namespace kestrano
