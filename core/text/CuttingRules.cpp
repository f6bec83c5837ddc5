#include "core/text/CuttingRules.h"

#include "core/text/LowerCase.h"
#include "foundation/Exception.h"

#include <cstdlib>
#include <memory>

namespace kestrano {
namespace {

// A new string holding the lower-cased bytes; throws haspel::EOutOfMemory.
std::unique_ptr<haspel::String> newLowerCased(const char* bytes, int32_t length)
{
    std::unique_ptr<char, void (*)(void*)> lowered(
        static_cast<char*>(haspel::AllocateOrThrow(static_cast<std::size_t>(LoweredGrowth * length))),
        std::free);
    const int32_t loweredLength = lowerCaseForSearch(bytes, length, lowered.get());
    return std::unique_ptr<haspel::String>(new haspel::String(lowered.get(), loweredLength));
}

void copyList(const CuttingRules::KeywordList& from, CuttingRules::KeywordList& to)
{
    to.Clear();
    for (int32_t i = 0; i < from.GetCount(); ++i) {
        auto keyword = std::make_unique<haspel::String>(*from.Get(i));
        to.Add(keyword.get());
        keyword.release();
    }
}

} // namespace

CuttingRules::CuttingRules(const CuttingRules& other)
{
    *this = other;
}

CuttingRules& CuttingRules::operator=(const CuttingRules& other)
{
    if (this == &other)
        return *this;
    for (int32_t severity = 0; severity < Severity::ListCount; ++severity)
        copyList(other.keywords[severity], keywords[severity]);
    multiLine = other.multiLine;
    statedLevel = other.statedLevel;
    keepLines = other.keepLines;
    copyList(other.layouts, layouts);
    return *this;
}

void CuttingRules::ParseKeywords(const char* text, KeywordList& list)
{
    list.Clear();
    const char* position = text;
    for (;;) {
        while (*position == ' ')
            ++position;
        if (*position == '\0')
            return;
        const char* end = position;
        while (*end != ' ' && *end != '\0')
            ++end;
        std::unique_ptr<haspel::String> keyword
            = newLowerCased(position, static_cast<int32_t>(end - position));
        list.Add(keyword.get());
        keyword.release();
        position = end;
    }
}

haspel::String CuttingRules::JoinKeywords(const KeywordList& list)
{
    haspel::String joined;
    for (int32_t i = 0; i < list.GetCount(); ++i) {
        if (i > 0)
            joined.AppendChar(' ');
        joined.Append(list.Get(i)->GetText());
    }
    return joined;
}

} // namespace kestrano
