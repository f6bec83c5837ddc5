#include "core/text/KeywordLists.h"

#include "core/text/Capacity.h"
#include "core/text/CuttingRules.h"
#include "core/text/LowerCase.h"
#include "core/text/Severity.h"
#include "foundation/Exception.h"

#include <langinfo.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace kestrano {
namespace {

uint16_t pairAt(const char* bytes)
{
    return static_cast<uint16_t>(
        static_cast<unsigned char>(bytes[0]) | static_cast<unsigned char>(bytes[1]) << 8);
}

// Whether the locale keeps ASCII apart: an ASCII byte is always a character of its own, and lowering
// turns no other character into ASCII but those currentAsciiLowering lists (UTF-8, or a single-byte
// set checked byte by byte).
bool localeKeepsAsciiApart()
{
    if (MB_CUR_MAX > 1)
        return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    char bytes[128];
    for (int32_t i = 0; i < 128; ++i)
        bytes[i] = static_cast<char>(0x80 + i);
    lowerCase(bytes, 128, bytes);
    for (const char c : bytes) {
        if (!(static_cast<unsigned char>(c) & 0x80))
            return false;
    }
    return true;
}

// A keyword the scan can find: ASCII, already lower-case, without a line end. Any other keyword
// either never matches (upper-case ASCII or a line end cannot occur in a lowered line) or has a
// non-ASCII byte.
bool isPlainAscii(const char* text, int32_t length)
{
    for (int32_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80 || (c >= 'A' && c <= 'Z') || c == '\r' || c == '\n')
            return false;
    }
    return true;
}

} // namespace

KeywordLists::KeywordLists()
    : everywhereSeverity(Severity::Unknown)
    , topSeverity(Severity::Unknown)
{
    std::memset(singleByteSeverity, Severity::None, sizeof singleByteSeverity);
    std::memset(firstByteSeverity, Severity::None, sizeof firstByteSeverity);
}

KeywordLists::KeywordLists(const CuttingRules& rules)
    : KeywordLists()
{
    update(rules);
}

bool KeywordLists::holds(const CuttingRules& rules) const
{
    const char* held = texts.get();
    for (int32_t severity = 0; severity < Severity::ListCount; ++severity) {
        const CuttingRules::KeywordList& list = rules.GetKeywords(severity);
        if (list.GetCount() != listCounts[severity])
            return false;
        for (int32_t i = 0; i < list.GetCount(); ++i) {
            if (std::strcmp(list.Get(i)->GetText(), held) != 0)
                return false;
            held += std::strlen(held) + 1;
        }
    }
    return true;
}

void KeywordLists::update(const CuttingRules& rules)
{
    if (holds(rules))
        return;

    KeywordLists built;
    std::size_t textBytes = 0;
    int32_t multiByteCount = 0;
    for (int32_t severity = 0; severity < Severity::ListCount; ++severity) {
        const CuttingRules::KeywordList& list = rules.GetKeywords(severity);
        for (int32_t i = 0; i < list.GetCount(); ++i) {
            const int32_t length = list.Get(i)->Length();
            textBytes += static_cast<std::size_t>(length) + 1;
            multiByteCount += length >= 2;
        }
    }
    built.texts.reset(static_cast<char*>(haspel::AllocateOrThrow(textBytes)));
    built.keywords.reset(static_cast<Keyword*>(haspel::AllocateOrThrow(sizeof(Keyword) * multiByteCount)));

    char* text = built.texts.get();
    for (int32_t severity = 0; severity < Severity::ListCount; ++severity) {
        const CuttingRules::KeywordList& list = rules.GetKeywords(severity);
        built.listCounts[severity] = list.GetCount();
        for (int32_t i = 0; i < list.GetCount(); ++i) {
            const int32_t length = list.Get(i)->Length();
            std::memcpy(text, list.Get(i)->GetText(), static_cast<std::size_t>(length) + 1);
            built.topSeverity = severity;
            built.longest = length > built.longest ? length : built.longest;
            for (int32_t b = 0; b < length; ++b) {
                built.hasNonAsciiKeyword |= (static_cast<unsigned char>(text[b]) & 0x80) != 0;
                built.blankInKeyword |= text[b] == ' ' || text[b] == '\t';
            }
            if (length > 0 && isPlainAscii(text, length))
                built.scanKeys.add(text, length);
            if (length == 0) {
                built.everywhereSeverity = severity;
            } else if (length == 1) {
                built.singleByteSeverity[static_cast<unsigned char>(text[0])] = static_cast<int8_t>(severity);
                built.hasSingleBytes = true;
            } else {
                const uint16_t pair = pairAt(text);
                Keyword keyword {text, length, severity, pair, 0, 0};
                // In memory order, as the line's eight bytes are loaded.
                char head[8] = {};
                unsigned char mask[8] = {};
                for (int32_t b = 0; b < length && b < 8; ++b) {
                    head[b] = text[b];
                    mask[b] = 0xFF;
                }
                std::memcpy(&keyword.head, head, 8);
                std::memcpy(&keyword.headMask, mask, 8);
                built.keywords[built.keywordCount++] = keyword;
                int8_t& first = built.firstByteSeverity[static_cast<unsigned char>(text[0])];
                first = severity > first ? static_cast<int8_t>(severity) : first;
                built.pairBits[pair >> 6] |= uint64_t {1} << (pair & 63);
            }
            text += length + 1;
        }
    }
    std::sort(built.keywords.get(), built.keywords.get() + built.keywordCount,
        [](const Keyword& a, const Keyword& b) {
            return a.pair != b.pair ? a.pair < b.pair : a.severity > b.severity;
        });
    *this = std::move(built);
    asciiOnly = !hasNonAsciiKeyword && localeKeepsAsciiApart();
    bool lowersIntoKeyword = false;
    if (asciiOnly && topSeverity > everywhereSeverity) {
        asciiLowering = currentAsciiLowering();
        for (const char* byte = texts.get(); byte < texts.get() + textBytes; ++byte)
            lowersIntoKeyword |= asciiLowering.target[static_cast<unsigned char>(*byte) & 0x7f];
        asciiLoweringLeadCount = 0;
        for (int32_t c = 0x80; c < 0x100 && asciiLoweringLeadCount >= 0; ++c) {
            if (!asciiLowering.lead[c])
                continue;
            if (asciiLoweringLeadCount == 4)
                asciiLoweringLeadCount = -1;
            else
                asciiLoweringLeads[asciiLoweringLeadCount++] = static_cast<unsigned char>(c);
        }
    }
    // A character that lowers into ASCII may complete a keyword the scan cannot see.
    nonAsciiSearch
        = hasNonAsciiKeyword || (topSeverity > everywhereSeverity && (!asciiOnly || lowersIntoKeyword));
}

bool KeywordLists::nonAsciiNeedsSearch(const char* line, int32_t length) const
{
    if (!nonAsciiSearch)
        return false;
    if (!asciiOnly || asciiLoweringLeadCount < 0)
        return true;
    const char* const end = line + length;
    for (int32_t k = 0; k < asciiLoweringLeadCount; ++k) {
        for (const char* at = line; (at = static_cast<const char*>(std::memchr(
                                         at, asciiLoweringLeads[k], static_cast<std::size_t>(end - at))));
             ++at) {
            if (lowersIntoAscii(at, static_cast<int32_t>(end - at)))
                return true;
        }
    }
    return false;
}

const char* KeywordLists::lowerIntoScratch(const char* line, int32_t& length) const
{
    // Only the ASCII lowering keeps the copy within the line's length.
    const int32_t needed = asciiOnly ? length : LoweredGrowth * length;
    if (needed > scratchCapacity) {
        const int32_t capacity = grownCapacity(scratchCapacity, needed);
        char* grown = static_cast<char*>(
            haspel::ReallocateOrThrow(scratch.get(), static_cast<std::size_t>(capacity)));
        (void)scratch.release(); // realloc took it over
        scratch.reset(grown);
        scratchCapacity = capacity;
    }
    length = asciiOnly ? lowerCaseForAsciiSearch(line, length, scratch.get(), asciiLowering)
                       : lowerCaseForSearch(line, length, scratch.get());
    return scratch.get();
}

int32_t KeywordLists::classify(const char* line, int32_t length) const
{
    int32_t best = everywhereSeverity;
    if (best >= topSeverity)
        return best;
    const auto* lowered = reinterpret_cast<const unsigned char*>(lowerIntoScratch(line, length));

    if (hasSingleBytes) {
        for (int32_t i = 0; i < length; ++i) {
            if (singleByteSeverity[lowered[i]] > best) {
                best = singleByteSeverity[lowered[i]];
                if (best >= topSeverity)
                    return best;
            }
        }
    }

    const Keyword* const begin = keywords.get();
    const Keyword* const end = begin + keywordCount;
    for (int32_t i = 0; i + 1 < length; ++i) {
        const uint16_t pair = static_cast<uint16_t>(lowered[i] | lowered[i + 1] << 8);
        if (!((pairBits[pair >> 6] >> (pair & 63)) & 1))
            continue;
        const Keyword* candidate = std::lower_bound(
            begin, end, pair, [](const Keyword& keyword, uint16_t value) { return keyword.pair < value; });
        // Candidates of one pair come highest severity first: the first that matches is the best.
        for (; candidate < end && candidate->pair == pair && candidate->severity > best; ++candidate) {
            if (candidate->length <= length - i
                && std::memcmp(
                       lowered + i + 2, candidate->text + 2, static_cast<std::size_t>(candidate->length - 2))
                    == 0) {
                best = candidate->severity;
                if (best >= topSeverity)
                    return best;
                break;
            }
        }
    }
    return best;
}

int32_t KeywordLists::classifyCandidates(
    const char* line, int32_t length, const uint64_t* candidates, int32_t firstBit) const
{
    int32_t best = everywhereSeverity;
    if (best >= topSeverity)
        return best;
    const Keyword* const begin = keywords.get();
    const Keyword* const end = begin + keywordCount;
    const int32_t lastBit = firstBit + length;
    for (int32_t word = firstBit / 64; word * 64 < lastBit; ++word) {
        for (uint64_t bits = bitsInRange(candidates, word, firstBit, lastBit); bits; bits &= bits - 1) {
            const int32_t i = word * 64 + __builtin_ctzll(bits) - firstBit;
            const char first = lowerAscii(static_cast<unsigned char>(line[i]));
            if (hasSingleBytes && singleByteSeverity[static_cast<unsigned char>(first)] > best) {
                best = singleByteSeverity[static_cast<unsigned char>(first)];
                if (best >= topSeverity)
                    return best;
            }
            if (i + 1 >= length || firstByteSeverity[static_cast<unsigned char>(first)] <= best)
                continue;
            const auto pair = static_cast<uint16_t>(static_cast<unsigned char>(first)
                | static_cast<unsigned char>(lowerAscii(static_cast<unsigned char>(line[i + 1]))) << 8);
            if (!((pairBits[pair >> 6] >> (pair & 63)) & 1))
                continue;
            const Keyword* candidate = std::lower_bound(begin, end, pair,
                [](const Keyword& keyword, uint16_t value) { return keyword.pair < value; });
            for (; candidate < end && candidate->pair == pair && candidate->severity > best; ++candidate) {
                if (candidate->length > length - i)
                    continue;
                int32_t j;
                if (length - i >= 8) {
                    uint64_t head;
                    std::memcpy(&head, line + i, 8);
                    if ((lowerAscii8(head) ^ candidate->head) & candidate->headMask)
                        continue;
                    j = 8;
                } else {
                    j = 2;
                }
                while (j < candidate->length
                    && lowerAscii(static_cast<unsigned char>(line[i + j])) == candidate->text[j])
                    ++j;
                if (j >= candidate->length) {
                    best = candidate->severity;
                    if (best >= topSeverity)
                        return best;
                    break;
                }
            }
        }
    }
    return best;
}

} // namespace kestrano
