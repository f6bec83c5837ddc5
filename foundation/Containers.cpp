#include "foundation/ContainingList.h"
#include "foundation/HashMap.h"

#include <cstring>

namespace haspel {

uint32_t HashText(const char* text)
{
    if (!text)
        return 0;
    // FNV-1a over every byte, then mixed, so that similar names (Item1, Item2, ...) spread over the
    // buckets whatever their count.
    uint32_t hash = 2166136261u;
    for (const char* c = text; *c; ++c)
        hash = (hash ^ static_cast<unsigned char>(*c)) * 16777619u;
    hash ^= hash >> 16;
    hash *= 0x85ebca6bu;
    hash ^= hash >> 13;
    hash *= 0xc2b2ae35u;
    hash ^= hash >> 16;
    return hash;
}

namespace {

int FoldAsciiCapital(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
}

} // namespace

int CompareTextsIgnoringCase(const PointeredListItem* a, const PointeredListItem* b)
{
    const auto* left = static_cast<const char*>(a->GetPointer());
    const auto* right = static_cast<const char*>(b->GetPointer());
    if (!left || !right)
        return (left != nullptr) - (right != nullptr);
    for (;; ++left, ++right) {
        const int difference = FoldAsciiCapital(*left) - FoldAsciiCapital(*right);
        if (difference != 0 || *left == '\0')
            return difference;
    }
}

} // namespace haspel
