// The keyword lists of the monitoring settings prepared for searching. A line's severity is the
// highest one whose list has a keyword occurring anywhere in the lower-cased line, Unknown if none.
#pragma once

#include <cstdint>

namespace kestrano {

class MonitorSettings;

class KeywordLists {
public:
    KeywordLists(); // no keywords: every line is Unknown
    explicit KeywordLists(const MonitorSettings& settings);
    ~KeywordLists();
    KeywordLists(const KeywordLists&) = delete;
    KeywordLists& operator=(const KeywordLists&) = delete;

    // Takes over the settings' keywords when they differ from those held; cheap when they don't.
    // Throws haspel::EOutOfMemory (the lists held before stay in place).
    void update(const MonitorSettings& settings);

    // Classifies a raw line of length bytes. Uses a scratch buffer of this object, so one object
    // serves one thread.
    int32_t classify(const char* line, int32_t length) const;

private:
    struct Keyword {
        const char* text;
        int32_t length;
        int32_t severity;
        uint16_t pair; // the first two bytes
    };

    bool holds(const MonitorSettings& settings) const;
    void swap(KeywordLists& other);
    char* lowerIntoScratch(const char* line, int32_t length) const;

    char* texts = nullptr; // every keyword NUL-terminated, lists 0 to 4 in list order
    int32_t listCounts[5] = {};
    Keyword* keywords = nullptr; // those of two bytes or more, by pair, then severity descending
    int32_t keywordCount = 0;
    int32_t everywhereSeverity; // highest severity of an empty keyword (occurs in every line)
    int32_t topSeverity; // highest severity having a keyword; the search stops there
    bool hasSingleBytes = false;
    int8_t singleByteSeverity[256]; // highest severity of a one-byte keyword, per byte
    uint64_t pairBits[65536 / 64] = {}; // the pairs that start a keyword of `keywords`
    mutable char* scratch = nullptr;
    mutable int32_t scratchCapacity = 0;
};

} // namespace kestrano
