#include "core/KeywordLists.h"

#include "core/Capacity.h"
#include "core/LowerCase.h"
#include "core/MonitorSettings.h"
#include "core/Severity.h"
#include "foundation/Exception.h"

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

} // namespace

KeywordLists::KeywordLists()
    : everywhereSeverity(Severity::Unknown)
    , topSeverity(Severity::Unknown)
{
    std::memset(singleByteSeverity, Severity::None, sizeof singleByteSeverity);
}

KeywordLists::KeywordLists(const MonitorSettings& settings)
    : KeywordLists()
{
    update(settings);
}

KeywordLists::~KeywordLists()
{
    std::free(texts);
    std::free(keywords);
    std::free(scratch);
}

bool KeywordLists::holds(const MonitorSettings& settings) const
{
    const char* held = texts;
    for (int32_t severity = 0; severity < Severity::ListCount; ++severity) {
        const MonitorSettings::KeywordList& list = settings.GetKeywords(severity);
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

void KeywordLists::update(const MonitorSettings& settings)
{
    if (holds(settings))
        return;

    KeywordLists built;
    std::size_t textBytes = 0;
    int32_t multiByteCount = 0;
    for (int32_t severity = 0; severity < Severity::ListCount; ++severity) {
        const MonitorSettings::KeywordList& list = settings.GetKeywords(severity);
        for (int32_t i = 0; i < list.GetCount(); ++i) {
            const int32_t length = list.Get(i)->Length();
            textBytes += static_cast<std::size_t>(length) + 1;
            multiByteCount += length >= 2;
        }
    }
    built.texts = static_cast<char*>(haspel::AllocateOrThrow(textBytes));
    built.keywords = static_cast<Keyword*>(haspel::AllocateOrThrow(sizeof(Keyword) * multiByteCount));

    char* text = built.texts;
    for (int32_t severity = 0; severity < Severity::ListCount; ++severity) {
        const MonitorSettings::KeywordList& list = settings.GetKeywords(severity);
        built.listCounts[severity] = list.GetCount();
        for (int32_t i = 0; i < list.GetCount(); ++i) {
            const int32_t length = list.Get(i)->Length();
            std::memcpy(text, list.Get(i)->GetText(), static_cast<std::size_t>(length) + 1);
            built.topSeverity = severity;
            if (length == 0) {
                built.everywhereSeverity = severity;
            } else if (length == 1) {
                built.singleByteSeverity[static_cast<unsigned char>(text[0])] = static_cast<int8_t>(severity);
                built.hasSingleBytes = true;
            } else {
                const uint16_t pair = pairAt(text);
                built.keywords[built.keywordCount++] = Keyword {text, length, severity, pair};
                built.pairBits[pair >> 6] |= uint64_t {1} << (pair & 63);
            }
            text += length + 1;
        }
    }
    std::sort(built.keywords, built.keywords + built.keywordCount, [](const Keyword& a, const Keyword& b) {
        return a.pair != b.pair ? a.pair < b.pair : a.severity > b.severity;
    });
    swap(built);
}

void KeywordLists::swap(KeywordLists& other)
{
    std::swap(texts, other.texts);
    std::swap(listCounts, other.listCounts);
    std::swap(keywords, other.keywords);
    std::swap(keywordCount, other.keywordCount);
    std::swap(everywhereSeverity, other.everywhereSeverity);
    std::swap(topSeverity, other.topSeverity);
    std::swap(hasSingleBytes, other.hasSingleBytes);
    std::swap(singleByteSeverity, other.singleByteSeverity);
    std::swap(pairBits, other.pairBits);
}

char* KeywordLists::lowerIntoScratch(const char* line, int32_t length) const
{
    if (length > scratchCapacity) {
        const int32_t capacity = grownCapacity(scratchCapacity, length);
        scratch = static_cast<char*>(haspel::ReallocateOrThrow(scratch, static_cast<std::size_t>(capacity)));
        scratchCapacity = capacity;
    }
    lowerCase(line, length, scratch);
    return scratch;
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

    const Keyword* const begin = keywords;
    const Keyword* const end = keywords + keywordCount;
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

} // namespace kestrano
