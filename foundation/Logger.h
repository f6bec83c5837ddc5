// haspel::Logger: the process-wide diagnostic log. Appends timestamped records at or above a threshold
// (set by "/log LEVEL" or "--log LEVEL") to <program>.log in the state folder; the file, and the folder,
// are made only when the first record passes. While it exists, located exceptions write their records
// here.
#pragma once

#include "foundation/LogClock.h"
#include "foundation/LogLevel.h"
#include "foundation/String.h"

#include <cstdint>
#include <cstdio>

namespace haspel {

class Logger {
public:
    // Takes the threshold from the level's name (nullptr: the default) and the time from the system clock.
    explicit Logger(const char* level);
    // Reads the switches from the given vector and the time from the clock, which must outlive the logger.
    Logger(int32_t argumentCount, const char* const* arguments, const LogClock& clock);
    virtual ~Logger();
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    // Appends one record if the level reaches the threshold and the file is or can be opened.
    void Log(const char* origin, int32_t line, LogLevel level, const char* format, ...)
        __attribute__((format(printf, 5, 6)));

private:
    void Initialize(const char* level);
    bool EnsureOpen();
    void WriteRecord(const char* origin, int32_t line, LogLevel level, const char* text);
    static void ExceptionSinkFunction(const char* origin, int32_t line, int32_t level, const char* text);

    std::FILE* file = nullptr;
    String path;
    int32_t threshold = static_cast<int32_t>(LogLevel::Error);
    const LogClock& clock;
    int64_t startTick;
};

} // namespace haspel
