// The keyword lists of the cutting rules prepared for searching. A line's severity is the highest one
// whose list has a keyword occurring anywhere in the lower-cased line, Unknown if none.
#pragma once

#include "core/text/KeywordScan.h"
#include "core/text/LowerCase.h"
#include "core/text/Severity.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace kestrano {

class CuttingRules;

class KeywordLists {
public:
    KeywordLists(); // no keywords: every line is Unknown
    explicit KeywordLists(const CuttingRules& rules);
    KeywordLists(const KeywordLists&) = delete;
    KeywordLists& operator=(const KeywordLists&) = delete;
    // Every part moves; the moved-from lists are left to be destroyed or assigned.
    KeywordLists(KeywordLists&&) noexcept = default;
    KeywordLists& operator=(KeywordLists&&) noexcept = default;

    // Takes over the rules' keywords when they differ from those held; cheap when they don't.
    // Throws haspel::EOutOfMemory (the lists held before stay in place).
    void update(const CuttingRules& rules);

    // Classifies a raw line of length bytes. Uses a scratch buffer of this object, so one object
    // serves one thread.
    int32_t classify(const char* line, int32_t length) const;

    // The first pass over a piece of text: marks its line ends, keyword candidates and non-ASCII bytes.
    // Whether the text holds a NUL byte.
    bool scan(const char* text, int32_t n, const ScanMarks& marks) const
    {
        return scanKeys.scan(text, n, marks);
    }
    const ScanKeys& getScanKeys() const { return scanKeys; }
    // Whether a line with a non-ASCII byte may need the exact search whatever its candidates: a keyword
    // has a non-ASCII byte, the locale may lower a non-ASCII byte into ASCII, or a letter beyond ASCII
    // lowers into a byte of a keyword (the Kelvin sign into the k of "kernel").
    bool nonAsciiNeedsSearch() const { return nonAsciiSearch; }
    // Whether this line with a non-ASCII byte needs it: where only letters that lower into ASCII call
    // for the search, when the line holds one.
    bool nonAsciiNeedsSearch(const char* line, int32_t length) const;
    // Whether no keyword holds a blank: then no match spans one, and a line's severity is the highest
    // of its blank-separated parts'.
    bool matchesStayBetweenBlanks() const { return !blankInKeyword; }
    // The length of the longest keyword.
    int32_t longestKeyword() const { return longest; }
    // The severity of a line without candidates.
    int32_t baseSeverity() const { return everywhereSeverity; }
    // The severity of a line whose only possible keyword starts are the set bits of
    // candidates[firstBit .. firstBit + length); equal to classify when the line is ASCII or
    // nonAsciiNeedsSearch(line, length) is false.
    int32_t classifyCandidates(
        const char* line, int32_t length, const uint64_t* candidates, int32_t firstBit) const;

private:
    struct Keyword {
        const char* text;
        int32_t length;
        int32_t severity;
        uint16_t pair; // the first two bytes
        uint64_t head; // the first eight bytes, zero beyond the keyword
        uint64_t headMask; // 0xFF for each byte of head in the keyword
    };

    struct Free {
        void operator()(void* block) const { std::free(block); }
    };

    bool holds(const CuttingRules& rules) const;
    // The line lowered for the search; length becomes the copy's.
    const char* lowerIntoScratch(const char* line, int32_t& length) const;

    std::unique_ptr<char[], Free> texts; // every keyword NUL-terminated, the lists in severity order
    int32_t listCounts[Severity::ListCount] = {};
    // Those of two bytes or more, by pair, then severity descending.
    std::unique_ptr<Keyword[], Free> keywords;
    int32_t keywordCount = 0;
    int32_t everywhereSeverity; // highest severity of an empty keyword (occurs in every line)
    int32_t topSeverity; // highest severity having a keyword; the search stops there
    bool hasSingleBytes = false;
    int8_t singleByteSeverity[256]; // highest severity of a one-byte keyword, per byte
    int8_t firstByteSeverity[256]; // highest severity of a keyword of two bytes or more, per first byte
    uint64_t pairBits[65536 / 64] = {}; // the pairs that start a keyword of `keywords`
    ScanKeys scanKeys;
    bool nonAsciiSearch = false;
    int32_t longest = 0;
    bool blankInKeyword = false;
    bool hasNonAsciiKeyword = false;
    bool asciiOnly = false; // the keywords are ASCII and the locale keeps ASCII apart
    AsciiLowering asciiLowering;
    unsigned char asciiLoweringLeads[4] = {}; // the first bytes of asciiLowering's characters
    int32_t asciiLoweringLeadCount = 0; // -1 when there are more
    mutable std::unique_ptr<char[], Free> scratch;
    mutable int32_t scratchCapacity = 0;
};

} // namespace kestrano
