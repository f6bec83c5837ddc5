// The levels of the diagnostic log, their words in a record and their names on the command line.
#pragma once

#include <cstdint>

namespace haspel {

enum class LogLevel : int32_t {
    Debug = 1,
    Info = 2,
    Warn = 3,
    Error = 4,
    Exception = 5,
    Fatal = 6,
};

// A threshold no level reaches: the log is off.
constexpr int32_t kLogOff = 127;

// "Debug" ... "Fatal"; "Unknown" for any value outside 1 to 6.
const char* GetLevelWord(LogLevel level);

// The threshold for a lower-case level name ("debug" ... "fatal"); kLogOff for any other text.
int32_t GetThresholdOfName(const char* name);

} // namespace haspel
