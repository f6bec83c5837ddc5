// A message's stated time as the desktop shows it: the locale's short date and its time with seconds,
// and the fraction of a second the log wrote.
#pragma once

#include <QString>

#include <cstdint>

namespace kestrano {

// The packed time (LogTime) in local time; empty for LogTime::None.
QString shownTime(int64_t packed);
// A length of time in its two largest units, "4 min 12 s", "2 d 3 h", "250 ms", in the user's language.
QString spanText(int64_t microseconds);
// Where a message's time lies from the newest one's: "12 min before the end", or "at the end".
QString distanceToEndText(int64_t microseconds);

} // namespace kestrano
