// The logger's time source: a monotonic millisecond tick and the current local standard time.
// Tests hand the logger a fixed clock; the program uses the system one.
#pragma once

#include <cstdint>
#include <ctime>

namespace haspel {

class LogClock {
public:
    virtual ~LogClock() = default;
    virtual int64_t GetTickMilliseconds() const = 0;
    // Broken-down local standard time: UTC minus the standard offset, never daylight-saving time.
    virtual std::tm GetLocalStandardTime() const = 0;
};

// CLOCK_MONOTONIC, and UTC shifted by the standard offset that tzset() finds.
class SystemLogClock : public LogClock {
public:
    int64_t GetTickMilliseconds() const override;
    std::tm GetLocalStandardTime() const override;
};

} // namespace haspel
