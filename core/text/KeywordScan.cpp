#include "core/text/KeywordScan.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#define KESTRANO_X86 1
#endif

namespace kestrano {
namespace {

int32_t countBitsPortably(const uint64_t* words, int32_t count)
{
    int32_t total = 0;
    for (int32_t i = 0; i < count; ++i) {
        uint64_t bits = words[i];
        bits -= (bits >> 1) & 0x5555555555555555ull;
        bits = (bits & 0x3333333333333333ull) + ((bits >> 2) & 0x3333333333333333ull);
        bits = (bits + (bits >> 4)) & 0x0f0f0f0f0f0f0f0full;
        total += static_cast<int32_t>((bits * 0x0101010101010101ull) >> 56);
    }
    return total;
}

#ifdef KESTRANO_X86
__attribute__((target("popcnt"))) int32_t countBitsByInstruction(const uint64_t* words, int32_t count)
{
    int32_t total = 0;
    for (int32_t i = 0; i < count; ++i)
        total += static_cast<int32_t>(_mm_popcnt_u64(words[i]));
    return total;
}
#endif

} // namespace

int32_t countBits(const uint64_t* words, int32_t count)
{
#ifdef KESTRANO_X86
    static const bool instruction = __builtin_cpu_supports("popcnt");
    if (instruction)
        return countBitsByInstruction(words, count);
#endif
    return countBitsPortably(words, count);
}

void ScanKeys::add(const char* keyword, int32_t length)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(keyword);
    const unsigned char a = fold(bytes[0]);
    if (length == 1) {
        firstKind[a] |= 2;
    } else {
        firstKind[a] |= 1;
        const auto pair = static_cast<uint16_t>(a | fold(bytes[1]) << 8);
        pairBits[pair >> 6] |= uint64_t {1} << (pair & 63);
    }
    if (keyCount > VectorKeys)
        return;
    unsigned char key[3] = {a, 0, 0};
    const int8_t keyBytesUsed = static_cast<int8_t>(length < 3 ? length : 3);
    for (int32_t i = 1; i < keyBytesUsed; ++i)
        key[i] = fold(bytes[i]);
    for (int32_t k = 0; k < keyCount && k < VectorKeys; ++k) {
        if (keyLength[k] == keyBytesUsed && std::memcmp(keyBytes[k], key, 3) == 0)
            return;
    }
    if (keyCount < VectorKeys) {
        std::memcpy(keyBytes[keyCount], key, 3);
        keyLength[keyCount] = keyBytesUsed;
    }
    if (keyCount < ShuffledKeys)
        addToNibbleTables(keyCount);
    ++keyCount;
}

bool ScanKeys::matchesKey(int32_t key, const unsigned char* at, const unsigned char* end) const
{
    for (int32_t i = 0; i < keyLength[key] && at + i < end; ++i) {
        if (fold(at[i]) != keyBytes[key][i])
            return false;
    }
    return true;
}

// A keyword may start at `at` (before end, the end of the scanned text).
bool ScanKeys::isCandidate(const unsigned char* at, const unsigned char* end) const
{
    if (keyCount <= VectorKeys) {
        for (int32_t k = 0; k < keyCount; ++k) {
            if (matchesKey(k, at, end))
                return true;
        }
        return false;
    }
    const unsigned char a = fold(at[0]);
    const uint8_t kind = firstKind[a];
    if (!kind)
        return false;
    if ((kind & 2) || at + 1 == end)
        return true;
    const auto pair = static_cast<uint16_t>(a | fold(at[1]) << 8);
    return (pairBits[pair >> 6] >> (pair & 63)) & 1;
}

void ScanKeys::addToNibbleTables(int32_t key)
{
    const auto bit = static_cast<uint8_t>(1u << key);
    for (int32_t b = 0; b < 3; ++b) {
        for (int32_t nibble = 0; nibble < 16; ++nibble) {
            const bool any = b >= keyLength[key];
            lowNibbles[b][nibble] |= any || (keyBytes[key][b] & 15) == nibble ? bit : 0;
            highNibbles[b][nibble] |= any || keyBytes[key][b] >> 4 == nibble ? bit : 0;
        }
    }
}

// Marks bytes [from, n) one at a time; a word begun before from keeps its bits below from.
void ScanKeys::scanPortable(const char* text, int32_t from, int32_t n, const ScanMarks& marks) const
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const int32_t words = (n + 63) / 64;
    for (int32_t w = (from + 63) / 64; w < words; ++w)
        marks.lineEnds[w] = marks.candidates[w] = marks.nonAscii[w] = 0;
    for (int32_t i = from; i < n; ++i) {
        const uint64_t bit = uint64_t {1} << (i & 63);
        const unsigned char c = bytes[i];
        if (c == '\r' || c == '\n')
            marks.lineEnds[i / 64] |= bit;
        if (c & 0x80)
            marks.nonAscii[i / 64] |= bit;
        if (isCandidate(bytes + i, bytes + n))
            marks.candidates[i / 64] |= bit;
    }
}

#ifdef KESTRANO_X86

// The vector paths mark whole blocks of 64 bytes while the two bytes after the block can be read, and
// return where the portable path takes over.
int32_t ScanKeys::scanSse2(const char* text, int32_t n, const ScanMarks& marks, bool& nul) const
{
    if (keyCount > VectorKeys)
        return 0;
    __m128i keys[VectorKeys][3];
    for (int32_t k = 0; k < keyCount; ++k) {
        for (int32_t b = 0; b < 3; ++b)
            keys[k][b] = _mm_set1_epi8(static_cast<char>(keyBytes[k][b]));
    }
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i caseBit = _mm_set1_epi8(0x20);
    __m128i zeros = _mm_setzero_si128();
    int32_t i = 0;
    for (; i + 66 <= n; i += 64) {
        uint64_t ends = 0;
        uint64_t candidates = 0;
        uint64_t high = 0;
        for (int32_t part = 0; part < 4; ++part) {
            const char* p = text + i + part * 16;
            const __m128i raw = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            zeros = _mm_or_si128(zeros, _mm_cmpeq_epi8(raw, _mm_setzero_si128()));
            const __m128i folded[3] = {_mm_or_si128(raw, caseBit),
                _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1)), caseBit),
                _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2)), caseBit)};
            __m128i hits = _mm_setzero_si128();
            for (int32_t k = 0; k < keyCount; ++k) {
                __m128i hit = _mm_cmpeq_epi8(folded[0], keys[k][0]);
                if (keyLength[k] == 3) {
                    hit = _mm_and_si128(hit,
                        _mm_and_si128(
                            _mm_cmpeq_epi8(folded[1], keys[k][1]), _mm_cmpeq_epi8(folded[2], keys[k][2])));
                } else if (keyLength[k] == 2) {
                    hit = _mm_and_si128(hit, _mm_cmpeq_epi8(folded[1], keys[k][1]));
                }
                hits = _mm_or_si128(hits, hit);
            }
            const int shift = part * 16;
            const __m128i end = _mm_or_si128(_mm_cmpeq_epi8(raw, cr), _mm_cmpeq_epi8(raw, lf));
            ends |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(end))) << shift;
            candidates |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(hits))) << shift;
            high |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(raw))) << shift;
        }
        marks.lineEnds[i / 64] = ends;
        marks.candidates[i / 64] = candidates;
        marks.nonAscii[i / 64] = high;
    }
    nul = _mm_movemask_epi8(zeros) != 0;
    return i;
}

__attribute__((target("avx2"))) int32_t ScanKeys::scanAvx2(
    const char* text, int32_t n, const ScanMarks& marks, bool& nul) const
{
    if (keyCount > VectorKeys)
        return 0;
    __m256i keys[VectorKeys][3];
    for (int32_t k = 0; k < keyCount; ++k) {
        for (int32_t b = 0; b < 3; ++b)
            keys[k][b] = _mm256_set1_epi8(static_cast<char>(keyBytes[k][b]));
    }
    const bool shuffled = keyCount <= ShuffledKeys;
    __m256i low[3];
    __m256i highNibble[3];
    if (shuffled) {
        for (int32_t b = 0; b < 3; ++b) {
            low[b] = _mm256_broadcastsi128_si256(
                _mm_load_si128(reinterpret_cast<const __m128i*>(lowNibbles[b])));
            highNibble[b] = _mm256_broadcastsi128_si256(
                _mm_load_si128(reinterpret_cast<const __m128i*>(highNibbles[b])));
        }
    }
    const __m256i nibbleMask = _mm256_set1_epi8(0x0F);
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i caseBit = _mm256_set1_epi8(0x20);
    __m256i zeros = _mm256_setzero_si256();
    int32_t i = 0;
    for (; i + 66 <= n; i += 64) {
        uint64_t ends = 0;
        uint64_t candidates = 0;
        uint64_t high = 0;
        for (int32_t part = 0; part < 2; ++part) {
            const char* p = text + i + part * 32;
            const __m256i raw = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
            zeros = _mm256_or_si256(zeros, _mm256_cmpeq_epi8(raw, _mm256_setzero_si256()));
            const __m256i folded[3] = {_mm256_or_si256(raw, caseBit),
                _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1)), caseBit),
                _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 2)), caseBit)};
            __m256i hits = _mm256_setzero_si256();
            if (shuffled) {
                __m256i buckets
                    = _mm256_and_si256(_mm256_shuffle_epi8(low[0], _mm256_and_si256(folded[0], nibbleMask)),
                        _mm256_shuffle_epi8(
                            highNibble[0], _mm256_and_si256(_mm256_srli_epi16(folded[0], 4), nibbleMask)));
                buckets = _mm256_and_si256(
                    buckets, _mm256_shuffle_epi8(low[1], _mm256_and_si256(folded[1], nibbleMask)));
                buckets = _mm256_and_si256(buckets,
                    _mm256_shuffle_epi8(
                        highNibble[1], _mm256_and_si256(_mm256_srli_epi16(folded[1], 4), nibbleMask)));
                buckets = _mm256_and_si256(
                    buckets, _mm256_shuffle_epi8(low[2], _mm256_and_si256(folded[2], nibbleMask)));
                buckets = _mm256_and_si256(buckets,
                    _mm256_shuffle_epi8(
                        highNibble[2], _mm256_and_si256(_mm256_srli_epi16(folded[2], 4), nibbleMask)));
                hits = _mm256_xor_si256(
                    _mm256_cmpeq_epi8(buckets, _mm256_setzero_si256()), _mm256_set1_epi8(-1));
            }
            for (int32_t k = 0; k < keyCount && !shuffled; ++k) {
                __m256i hit = _mm256_cmpeq_epi8(folded[0], keys[k][0]);
                if (keyLength[k] == 3) {
                    hit = _mm256_and_si256(hit,
                        _mm256_and_si256(_mm256_cmpeq_epi8(folded[1], keys[k][1]),
                            _mm256_cmpeq_epi8(folded[2], keys[k][2])));
                } else if (keyLength[k] == 2) {
                    hit = _mm256_and_si256(hit, _mm256_cmpeq_epi8(folded[1], keys[k][1]));
                }
                hits = _mm256_or_si256(hits, hit);
            }
            const int shift = part * 32;
            const __m256i end = _mm256_or_si256(_mm256_cmpeq_epi8(raw, cr), _mm256_cmpeq_epi8(raw, lf));
            ends |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(end))) << shift;
            candidates |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(hits))) << shift;
            high |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(raw))) << shift;
        }
        marks.lineEnds[i / 64] = ends;
        marks.candidates[i / 64] = candidates;
        marks.nonAscii[i / 64] = high;
    }
    nul = _mm256_movemask_epi8(zeros) != 0;
    return i;
}

// A whole block of 64 bytes per step, its marks straight from mask compares.
__attribute__((target("avx512bw"))) int32_t ScanKeys::scanAvx512(
    const char* text, int32_t n, const ScanMarks& marks, bool& nul) const
{
    if (keyCount > ShuffledKeys)
        return 0;
    __m512i low[3];
    __m512i high[3];
    for (int32_t b = 0; b < 3; ++b) {
        // Each lane shuffles within itself: the tables in all four.
        alignas(64) uint8_t lanes[2][64];
        for (int32_t lane = 0; lane < 4; ++lane) {
            std::memcpy(lanes[0] + 16 * lane, lowNibbles[b], 16);
            std::memcpy(lanes[1] + 16 * lane, highNibbles[b], 16);
        }
        low[b] = _mm512_load_si512(lanes[0]);
        high[b] = _mm512_load_si512(lanes[1]);
    }
    const __m512i nibbleMask = _mm512_set1_epi8(0x0F);
    const __m512i caseBit = _mm512_set1_epi8(0x20);
    const __m512i cr = _mm512_set1_epi8('\r');
    const __m512i lf = _mm512_set1_epi8('\n');
    __mmask64 zeros = 0;
    int32_t i = 0;
    for (; i + 66 <= n; i += 64) {
        const char* p = text + i;
        const __m512i raw = _mm512_loadu_si512(p);
        zeros |= _mm512_testn_epi8_mask(raw, raw);
        __m512i buckets = _mm512_set1_epi8(-1);
#pragma GCC unroll 3
        for (int32_t b = 0; b < 3; ++b) {
            const __m512i folded = _mm512_or_si512(_mm512_loadu_si512(p + b), caseBit);
            buckets = _mm512_and_si512(buckets,
                _mm512_and_si512(_mm512_shuffle_epi8(low[b], _mm512_and_si512(folded, nibbleMask)),
                    _mm512_shuffle_epi8(
                        high[b], _mm512_and_si512(_mm512_srli_epi16(folded, 4), nibbleMask))));
        }
        marks.lineEnds[i / 64] = _mm512_cmpeq_epi8_mask(raw, cr) | _mm512_cmpeq_epi8_mask(raw, lf);
        marks.candidates[i / 64] = _mm512_test_epi8_mask(buckets, buckets);
        marks.nonAscii[i / 64] = _mm512_movepi8_mask(raw);
    }
    nul = zeros != 0;
    return i;
}

bool ScanKeys::supports(Path path)
{
    switch (path) {
    case Path::Avx2:
        return __builtin_cpu_supports("avx2");
    case Path::Avx512:
        return __builtin_cpu_supports("avx512bw");
    default:
        return true;
    }
}

ScanKeys::Path ScanKeys::bestPath()
{
    static const Path best = supports(Path::Avx512) ? Path::Avx512
        : supports(Path::Avx2)                      ? Path::Avx2
                                                    : Path::Sse2;
    return best;
}

#else

int32_t ScanKeys::scanSse2(const char*, int32_t, const ScanMarks&, bool&) const
{
    return 0;
}

int32_t ScanKeys::scanAvx2(const char*, int32_t, const ScanMarks&, bool&) const
{
    return 0;
}

int32_t ScanKeys::scanAvx512(const char*, int32_t, const ScanMarks&, bool&) const
{
    return 0;
}

bool ScanKeys::supports(Path path)
{
    return path == Path::Portable;
}

ScanKeys::Path ScanKeys::bestPath()
{
    return Path::Portable;
}

#endif

bool ScanKeys::scanBy(Path path, const char* text, int32_t n, const ScanMarks& marks) const
{
    if (path == Path::Portable || keyCount > VectorKeys) {
        scanPortable(text, 0, n, marks);
        return n > 0 && std::memchr(text, '\0', static_cast<std::size_t>(n)) != nullptr;
    }
    if (path == Path::Avx512 && keyCount > ShuffledKeys)
        path = Path::Avx2; // compares key by key
    const auto vector = path == Path::Avx512 ? &ScanKeys::scanAvx512
        : path == Path::Avx2                 ? &ScanKeys::scanAvx2
                                             : &ScanKeys::scanSse2;
    bool nul = false;
    int32_t done = (this->*vector)(text, n, marks, nul);
    const int32_t rest = n - done;
    nul = nul || (rest > 0 && std::memchr(text + done, '\0', static_cast<std::size_t>(rest)) != nullptr);
    if (rest >= 3) {
        // The last block through a padded copy; the two last bytes' candidates need the bytes after
        // them, which are not known yet.
        char padded[66] = {};
        const int32_t block = rest < 64 ? rest : 64;
        std::memcpy(padded, text + done, static_cast<std::size_t>(rest < 66 ? rest : 66));
        const int32_t word = done / 64;
        const ScanMarks last {marks.lineEnds + word, marks.candidates + word, marks.nonAscii + word};
        bool paddedNul = false;
        (this->*vector)(padded, 66, last, paddedNul);
        const uint64_t inside = block == 64 ? ~uint64_t {0} : (uint64_t {1} << block) - 1;
        last.lineEnds[0] &= inside;
        last.nonAscii[0] &= inside;
        last.candidates[0] &= inside;
        const auto* bytes = reinterpret_cast<const unsigned char*>(text);
        for (int32_t j = rest - 2; j < block; ++j) {
            const uint64_t bit = uint64_t {1} << j;
            last.candidates[0]
                = (last.candidates[0] & ~bit) | (isCandidate(bytes + done + j, bytes + n) ? bit : 0);
        }
        done += block;
    }
    scanPortable(text, done, n, marks);
    return nul;
}

bool ScanKeys::scan(const char* text, int32_t n, const ScanMarks& marks) const
{
    return scanBy(bestPath(), text, n, marks);
}

} // namespace kestrano
