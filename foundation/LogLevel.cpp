#include "foundation/LogLevel.h"

#include <cstring>

namespace haspel {

namespace {

struct LevelNames {
    const char* word;
    const char* name;
};

// Indexed by level - 1.
constexpr LevelNames kLevels[] = {
    {"Debug", "debug"},
    {"Info", "info"},
    {"Warn", "warn"},
    {"Error", "error"},
    {"Exception", "exception"},
    {"Fatal", "fatal"},
};
constexpr int32_t kLevelCount = sizeof(kLevels) / sizeof(kLevels[0]);

} // namespace

const char* GetLevelWord(LogLevel level)
{
    const int32_t value = static_cast<int32_t>(level);
    return value >= 1 && value <= kLevelCount ? kLevels[value - 1].word : "Unknown";
}

int32_t GetThresholdOfName(const char* name)
{
    for (int32_t i = 0; i < kLevelCount; ++i)
        if (std::strcmp(name, kLevels[i].name) == 0)
            return i + 1;
    return kLogOff;
}

} // namespace haspel
