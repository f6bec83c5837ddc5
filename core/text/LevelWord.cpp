#include "core/text/LevelWord.h"

#include "core/text/Severity.h"

#include <bit>
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
    {"fatal", Severity::Fatal},
    {"panic", Severity::Fatal},
};
constexpr int32_t WordCount = sizeof Words / sizeof *Words;

// A word of at most eight bytes as one number, its first byte lowest.
constexpr uint64_t packed(const char* word)
{
    uint64_t value = 0;
    for (int32_t i = 0; i < 8 && word[i]; ++i)
        value |= static_cast<uint64_t>(static_cast<unsigned char>(word[i])) << (8 * i);
    return value;
}

// The words in a table of 64 slots without collisions, placed by a multiplicative hash of the packed word.
constexpr uint64_t HashFactor = 0x6a17b9af5b569643ull;
constexpr int32_t slotOf(uint64_t word)
{
    return static_cast<int32_t>((word * HashFactor) >> 58);
}

struct WordTable {
    uint64_t words[64];
    int8_t severities[64];
    constexpr WordTable()
        : words {}
        , severities {}
    {
        for (int32_t i = 0; i < WordCount; ++i) {
            const int32_t slot = slotOf(packed(Words[i].word));
            if (words[slot] != 0)
                throw "two level words share a slot";
            words[slot] = packed(Words[i].word);
            severities[slot] = static_cast<int8_t>(Words[i].severity);
        }
    }
};
constexpr WordTable Table;

constexpr int32_t LongestWord = 9; // "emergency", which stands apart

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

int32_t severityOfLettersAt(const char* word, const char* end, LevelCase letterCase, const char*& wordEnd)
{
    // The first eight bytes as one word (little-endian, zeros past the end); a byte is a letter when,
    // lowered and below 0x80, it lies in a..z.
    static_assert(std::endian::native == std::endian::little);
    constexpr uint64_t Ones = 0x0101010101010101ull;
    uint64_t bytes = 0;
    const auto available = end - word;
    std::memcpy(&bytes, word, available >= 8 ? 8 : static_cast<size_t>(available > 0 ? available : 0));
    const uint64_t lowered8 = bytes | 0x20 * Ones;
    const uint64_t low = lowered8 & 0x7F * Ones;
    const uint64_t letters
        = ((low + (0x80 - 'a') * Ones) & ~(low + (0x80 - 'z' - 1) * Ones) & ~bytes) & 0x80 * Ones;
    const uint64_t notLetters = ~letters & 0x80 * Ones;
    int32_t counted = notLetters ? __builtin_ctzll(notLetters) / 8 : 8;
    const char* p = word + counted;
    if (counted == 8)
        while (p < end && (isUpper(*p) || isLower(*p)))
            ++p;
    wordEnd = p;
    // The case bits of the letters after the first (of the first eight).
    const uint64_t kept = counted >= 8 ? ~uint64_t(0) : (uint64_t(1) << (8 * counted)) - 1;
    const uint64_t rest = kept & ~uint64_t(0xFF);
    const uint64_t caseBits = bytes & rest & 0x20 * Ones;
    bool restUpper = caseBits == 0;
    bool restLower = caseBits == (rest & 0x20 * Ones);
    for (const char* q = word + 8; q < p; ++q) {
        restUpper &= isUpper(*q);
        restLower &= isLower(*q);
    }
    const uint64_t lowered = lowered8 & kept;
    const auto length = p - word;
    if (length == 1) {
        const char letter
            = letterCase == LevelCase::Any && isLower(word[0]) ? static_cast<char>(word[0] - 32) : word[0];
        return severityOfLetter(letter);
    }
    if (length < 3 || length > LongestWord)
        return Severity::None;
    // Written: upper case or capitalised; any case only where the caller allows it.
    const bool written = isUpper(word[0]) && (restUpper || restLower);
    if (!written && letterCase == LevelCase::Written)
        return Severity::None;
    if (length == LongestWord)
        return lowered == packed("emergenc") && (word[8] | 0x20) == 'y' ? Severity::Fatal : Severity::None;
    const int32_t slot = slotOf(lowered);
    return Table.words[slot] == lowered ? Table.severities[slot] : Severity::None;
}

int32_t severityOfLevelWord(const char* word, int32_t length, LevelCase letterCase)
{
    const char* end = word + length;
    const char* wordEnd = word;
    const int32_t severity = severityOfLettersAt(word, end, letterCase, wordEnd);
    return wordEnd == end ? severity : Severity::None;
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
