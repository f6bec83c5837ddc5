#include "core/search/CaselessSearch.h"

#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kestrano {
namespace {

unsigned char fold(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

bool isLetter(unsigned char c)
{
    return fold(c) >= 'a' && fold(c) <= 'z';
}

bool equalAt(const char* text, const char* needle, size_t m)
{
    for (size_t i = 0; i < m; ++i) {
        if (fold(static_cast<unsigned char>(text[i])) != fold(static_cast<unsigned char>(needle[i])))
            return false;
    }
    return true;
}

} // namespace

const char* findCaseless(const char* text, size_t n, const char* needle, size_t m)
{
    if (m == 0)
        return text;
    if (n < m)
        return nullptr;
    const size_t last = n - m; // the last place the needle may start
    size_t at = 0;
#ifdef __SSE2__
    const auto first = fold(static_cast<unsigned char>(needle[0]));
    const auto end = fold(static_cast<unsigned char>(needle[m - 1]));
    // A letter is compared with bit 0x20 set, which folds exactly its two cases together.
    const __m128i firstBit = _mm_set1_epi8(static_cast<char>(isLetter(first) ? 0x20 : 0));
    const __m128i endBit = _mm_set1_epi8(static_cast<char>(isLetter(end) ? 0x20 : 0));
    const __m128i firstByte = _mm_set1_epi8(static_cast<char>(first));
    const __m128i endByte = _mm_set1_epi8(static_cast<char>(end));
    for (; at + 16 <= last + 1; at += 16) {
        const __m128i starts
            = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at)), firstBit);
        const __m128i ends
            = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at + m - 1)), endBit);
        auto mask = static_cast<uint32_t>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(starts, firstByte), _mm_cmpeq_epi8(ends, endByte))));
        for (; mask; mask &= mask - 1) {
            const size_t place = at + static_cast<size_t>(__builtin_ctz(mask));
            if (equalAt(text + place + 1, needle + 1, m - 1))
                return text + place;
        }
    }
#endif
    for (; at <= last; ++at) {
        if (equalAt(text + at, needle, m))
            return text + at;
    }
    return nullptr;
}

} // namespace kestrano
