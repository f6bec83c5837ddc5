#include "foundation/ContainingList.h"
#include "foundation/HashMap.h"

#include <cstring>

namespace haspel {

uint32_t HashText(const char* text)
{
    if (!text)
        return 0;
    const std::size_t n = std::strlen(text);
    const std::size_t step = n / 16 > 0 ? n / 16 : 1;
    uint32_t sum = 0;
    for (std::size_t p = 0; p < n; p += step) {
        const auto value = static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(text[p])));
        sum += value * (p % 2 ? 7u : 11u);
    }
    return sum;
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
