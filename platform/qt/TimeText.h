// A message's stated time as the desktop shows it: the locale's short date and its time with seconds,
// and the fraction of a second the log wrote.
#pragma once

#include <QString>

#include <cstdint>

namespace kestrano {

// The packed time (LogTime) in local time; empty for LogTime::None.
QString shownTime(int64_t packed);

} // namespace kestrano
