// The first pass of classification: one scan over a whole piece of text marks its line ends, the
// positions where a keyword may start (ASCII case folded in the scan) and its non-ASCII bytes, so only
// lines with a mark need the exact keyword search.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace kestrano {

// Bit i of word i / 64 stands for byte i of the scanned text.
struct ScanMarks {
    uint64_t* lineEnds; // CR or LF
    uint64_t* candidates; // a keyword may start here
    uint64_t* nonAscii; // a byte of 0x80 or more
};

// LowBits[n]: the n lowest bits of a word set, for n from 0 to 64; a load where a shift would need a branch.
inline constexpr auto LowBits = [] {
    std::array<uint64_t, 65> masks {};
    for (int32_t n = 1; n <= 64; ++n)
        masks[static_cast<size_t>(n)] = ~uint64_t {0} >> (64 - n);
    return masks;
}();

// The bits of word `word` of a bit array that stand for positions [from, to), which may lie anywhere.
inline uint64_t rangeMask(int32_t word, int32_t from, int32_t to)
{
    const auto below = [word](int32_t position) {
        return LowBits[static_cast<size_t>(std::clamp(position - word * 64, 0, 64))];
    };
    return below(to) & ~below(from);
}

// Word `word` of a bit array, keeping only the bits of positions [from, to).
inline uint64_t bitsInRange(const uint64_t* bits, int32_t word, int32_t from, int32_t to)
{
    return bits[word] & rangeMask(word, from, to);
}

// The number of bits set in words[0..count).
int32_t countBits(const uint64_t* words, int32_t count);

// What the scan looks for: the first three bytes of every keyword that can match an ASCII text (all
// of a shorter one), folded by setting bit 0x20, so both letter cases of a letter fold together; other
// bytes fold in pairs, which only adds candidates. Bytes beyond the scanned text count as matching.
// Beyond VectorKeys keys only the first two bytes are compared, a byte at a time.
class ScanKeys {
public:
    static constexpr int32_t VectorKeys = 16;

    // A keyword of length bytes (at least 1).
    void add(const char* keyword, int32_t length);

    // The marks for text[0..n); every word the text touches is written (bits beyond n are 0). Returns
    // whether the text holds a NUL byte.
    bool scan(const char* text, int32_t n, const ScanMarks& marks) const;

    enum class Path { Portable, Sse2, Avx2, Avx512 };
    // The paths this processor can run, and the one scan uses.
    static bool supports(Path path);
    static Path bestPath();
    // As scan, by the given path (tests compare the paths).
    bool scanBy(Path path, const char* text, int32_t n, const ScanMarks& marks) const;

private:
    bool isCandidate(const unsigned char* at, const unsigned char* end) const;
    bool matchesKey(int32_t key, const unsigned char* at, const unsigned char* end) const;
    void scanPortable(const char* text, int32_t from, int32_t n, const ScanMarks& marks) const;
    int32_t scanSse2(const char* text, int32_t n, const ScanMarks& marks, bool& nul) const;
    int32_t scanAvx2(const char* text, int32_t n, const ScanMarks& marks, bool& nul) const;
    int32_t scanAvx512(const char* text, int32_t n, const ScanMarks& marks, bool& nul) const;
    // Up to eight keys: per key byte, bit k of a nibble's entry when key k's byte has that nibble (every
    // nibble where the key is shorter); a byte matches key k when both its nibbles have bit k.
    static constexpr int32_t ShuffledKeys = 8;
    void addToNibbleTables(int32_t key);

    static unsigned char fold(unsigned char c) { return static_cast<unsigned char>(c | 0x20); }

    int32_t keyCount = 0; // distinct keys while they fit VectorKeys, VectorKeys + 1 beyond
    unsigned char keyBytes[VectorKeys][3] = {}; // folded
    int8_t keyLength[VectorKeys] = {}; // 1 to 3
    uint8_t firstKind[256] = {}; // per folded byte: 1 starts a longer key, 2 a one-byte key
    uint64_t pairBits[65536 / 64] = {}; // folded first pairs, first byte in the low half
    alignas(16) uint8_t lowNibbles[3][16] = {};
    alignas(16) uint8_t highNibbles[3][16] = {};
};

} // namespace kestrano
