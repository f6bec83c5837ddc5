#include "core/text/LevelWord.h"

#include "core/text/Severity.h"

#include <cstring>

namespace kestrano {
namespace {

struct Level {
    const char* word;
    int32_t severity;
};

// Lower case; a header's word matches one of them whole.
constexpr Level Words[] = {
    {"trace", Severity::DebugInformation},
    {"debug", Severity::DebugInformation},
    {"dbg", Severity::DebugInformation},
    {"verbose", Severity::DebugInformation},
    {"fine", Severity::DebugInformation},
    {"finer", Severity::DebugInformation},
    {"finest", Severity::DebugInformation},
    {"info", Severity::Information},
    {"inf", Severity::Information},
    {"notice", Severity::Information},
    {"config", Severity::Information},
    {"warn", Severity::Warning},
    {"warning", Severity::Warning},
    {"wrn", Severity::Warning},
    {"err", Severity::Error},
    {"error", Severity::Error},
    {"eror", Severity::Error},
    {"severe", Severity::Error},
    {"failure", Severity::Error},
    {"crit", Severity::Fatal},
    {"critical", Severity::Fatal},
    {"alert", Severity::Fatal},
    {"emerg", Severity::Fatal},
    {"emergency", Severity::Fatal},
    {"fatal", Severity::Fatal},
    {"panic", Severity::Fatal},
};

constexpr int32_t LongestWord = 9;

int32_t severityOfLetter(char letter)
{
    switch (letter) {
    case 'T':
    case 'V':
    case 'D':
        return Severity::DebugInformation;
    case 'I':
    case 'N':
        return Severity::Information;
    case 'W':
        return Severity::Warning;
    case 'E':
        return Severity::Error;
    case 'F':
    case 'C':
    case 'A':
        return Severity::Fatal;
    default:
        return Severity::None;
    }
}

bool isUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool isLower(char c)
{
    return c >= 'a' && c <= 'z';
}

} // namespace

int32_t severityOfLevelWord(const char* word, int32_t length, LevelCase letterCase)
{
    if (length == 1) {
        const char letter
            = letterCase == LevelCase::Any && isLower(word[0]) ? static_cast<char>(word[0] - 32) : word[0];
        return isUpper(letter) ? severityOfLetter(letter) : Severity::None;
    }
    if (length < 3 || length > LongestWord)
        return Severity::None;
    // Written: upper case or capitalised; any case only where the caller allows it.
    bool restUpper = true;
    bool restLower = true;
    for (int32_t i = 1; i < length; ++i) {
        restUpper = restUpper && isUpper(word[i]);
        restLower = restLower && isLower(word[i]);
    }
    const bool written = isUpper(word[0]) && (restUpper || restLower);
    if (!written && letterCase == LevelCase::Written)
        return Severity::None;
    char lowered[LongestWord];
    for (int32_t i = 0; i < length; ++i) {
        if (!isUpper(word[i]) && !isLower(word[i]))
            return Severity::None;
        lowered[i] = static_cast<char>(word[i] | 0x20);
    }
    for (const Level& level : Words) {
        if (level.word[0] == lowered[0] && std::strlen(level.word) == static_cast<size_t>(length)
            && std::memcmp(level.word, lowered, static_cast<size_t>(length)) == 0)
            return level.severity;
    }
    return Severity::None;
}

int32_t severityOfLevelNumber(int64_t level)
{
    if (level < 10 || level > 60 || level % 10 != 0)
        return Severity::None;
    static constexpr int32_t Map[] = {Severity::DebugInformation, Severity::DebugInformation,
        Severity::Information, Severity::Warning, Severity::Error, Severity::Fatal};
    return Map[level / 10 - 1];
}

int32_t severityOfPriority(int32_t priority)
{
    static constexpr int32_t Map[] = {Severity::Fatal, Severity::Fatal, Severity::Fatal, Severity::Error,
        Severity::Warning, Severity::Information, Severity::Information, Severity::DebugInformation};
    return priority >= 0 && priority <= 7 ? Map[priority] : Severity::None;
}

} // namespace kestrano
