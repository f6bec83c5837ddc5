#include "foundation/LogClock.h"

#include <time.h>

namespace haspel {

int64_t SystemLogClock::GetTickMilliseconds() const
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

std::tm SystemLogClock::GetLocalStandardTime() const
{
    tzset();
    // timezone: seconds west of UTC of the standard (not daylight-saving) time.
    const time_t standard = time(nullptr) - timezone;
    std::tm broken {};
    gmtime_r(&standard, &broken);
    return broken;
}

} // namespace haspel
