#include "core/LineEnd.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kestrano {

const char* findLineEnd(const char* begin, const char* end)
{
    const char* p = begin;
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int hits
            = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
        if (hits)
            return p + __builtin_ctz(static_cast<unsigned>(hits));
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        if (*p == '\r' || *p == '\n')
            return p;
    }
    return nullptr;
}

} // namespace kestrano
