// The level words and letters logs state in their headers, and the severity each stands for.
#pragma once

#include <cstdint>

namespace kestrano {

enum class LevelCase : uint8_t {
    Written, // a bare word counts in upper case (INFO) or capitalised (Info); a letter in upper case
    Any, // bracketed or a structured field: any case
};

// The severity of a level word or one-letter level; Severity::None when it is none.
int32_t severityOfLevelWord(const char* word, int32_t length, LevelCase letterCase);

// The same for the letters from word on, up to end or the first byte that is not a letter (wordEnd).
int32_t severityOfLettersAt(const char* word, const char* end, LevelCase letterCase, const char*& wordEnd);

// The severity of a numeric level as Node loggers write it (10 trace to 60 fatal); None otherwise.
int32_t severityOfLevelNumber(int64_t level);

// The severity of a syslog or journal priority, 0 (emergency) to 7 (debug).
int32_t severityOfPriority(int32_t priority);

} // namespace kestrano
