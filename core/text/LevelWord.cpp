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
    // The first sixteen bytes as two words (little-endian, zeros past the end); a byte is a letter when,
    // lowered and below 0x80, it lies in a..z. Decided with masks, as level words come in any order.
    static_assert(std::endian::native == std::endian::little);
    constexpr uint64_t Ones = 0x0101010101010101ull;
    constexpr uint64_t Highs = 0x80 * Ones;
    constexpr uint64_t Cases = 0x20 * Ones;
    uint64_t head = 0;
    uint64_t tail = 0;
    if (const auto available = end - word; available >= 16) {
        std::memcpy(&head, word, 8);
        std::memcpy(&tail, word + 8, 8);
    } else if (available > 0) {
        char padded[16] = {};
        std::memcpy(padded, word, static_cast<size_t>(available));
        std::memcpy(&head, padded, 8);
        std::memcpy(&tail, padded + 8, 8);
    }
    const auto letters = [](uint64_t bytes) {
        const uint64_t low = (bytes | Cases) & 0x7F * Ones;
        return (low + (0x80 - 'a') * Ones) & ~(low + (0x80 - 'z' - 1) * Ones) & ~bytes & Highs;
    };
    const int32_t headLength = std::countr_zero(~letters(head) & Highs) >> 3; // 8: all letters
    const int32_t tailLength = std::countr_zero(~letters(tail) & Highs) >> 3;
    const int32_t length = headLength + (headLength == 8 ? tailLength : 0);
    if (length == 16) {
        // Longer than any level word.
        const char* p = word + 16;
        while (p < end && (isUpper(*p) || isLower(*p)))
            ++p;
        wordEnd = p;
        return Severity::None;
    }
    wordEnd = word + length;
    if (length == 1) {
        const char letter
            = letterCase == LevelCase::Any && isLower(word[0]) ? static_cast<char>(word[0] - 32) : word[0];
        return severityOfLetter(letter);
    }
    // The bytes of the word in each half, and the case bits of its letters after the first.
    const uint64_t headKept = headLength == 8 ? ~uint64_t(0) : (uint64_t(1) << (8 * headLength)) - 1;
    const uint64_t tailKept = length > 8 ? (uint64_t(1) << (8 * (length - 8))) - 1 : 0;
    const uint64_t restCases = (headKept & ~uint64_t(0xFF) & Cases) | ((tailKept & Cases) << 1);
    const uint64_t caseBits = (head & headKept & ~uint64_t(0xFF) & Cases) | ((tail & tailKept & Cases) << 1);
    // Written: upper case or capitalised; any case only where the caller allows it.
    const bool written = isUpper(word[0]) && (caseBits == 0 || caseBits == restCases);
    const bool allowed = length >= 3 && length <= LongestWord && (written || letterCase == LevelCase::Any);
    const uint64_t lowered = (head | Cases) & headKept;
    if (length == LongestWord)
        return allowed && lowered == packed("emergenc") && ((tail | 0x20) & 0xFF) == 'y' ? Severity::Fatal
                                                                                         : Severity::None;
    const int32_t slot = slotOf(lowered);
    return allowed && Table.words[slot] == lowered ? Table.severities[slot] : Severity::None;
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
