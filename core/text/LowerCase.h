// Lower-casing of log lines and keywords by the current locale's character set. ASCII takes a fast
// path; other characters are decoded whole and never split. Bytes that are no character stay as they are.
#pragma once

#include <cstdint>

namespace kestrano {

// A lowered copy is at most this many times as long as its text.
constexpr int32_t LoweredGrowth = 2;

// The byte lowered if it is an ASCII capital letter, else as it is.
inline char lowerAscii(unsigned char c)
{
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
}

// The bits that lower the ASCII capital letters among eight bytes below 0x80 (or them with the bytes).
inline uint64_t asciiCapitalBits(uint64_t bytes)
{
    const uint64_t atLeastA = bytes + 0x3f3f3f3f3f3f3f3full; // high bit set where byte >= 'A'
    const uint64_t aboveZ = bytes + 0x2525252525252525ull; // high bit set where byte > 'Z'
    return (atLeastA & ~aboveZ & 0x8080808080808080ull) >> 2;
}

// lowerAscii of each of eight bytes at once; a byte of 0x80 or more stays as it is.
inline uint64_t lowerAscii8(uint64_t bytes)
{
    return bytes | asciiCapitalBits(bytes & 0x7f7f7f7f7f7f7f7full);
}

// Writes the lower-cased form of in[0..n) to out[0..n); in and out may be the same buffer. A character
// whose lower-case form has another number of bytes stays as it is, so each position of the copy is
// the same position in the text (for marking matches).
void lowerCase(const char* in, int32_t n, char* out);

// The lower-cased form for searching only: every character is replaced by its lower-case form (the
// Kelvin sign by k, a capital A with stroke by its three-byte small letter), so the copy's length may
// differ. out has room for LoweredGrowth * n bytes and is not in; returns the copy's length.
int32_t lowerCaseForSearch(const char* in, int32_t n, char* out);

// The characters other than ASCII that a locale lowers into ASCII (in UTF-8: the Kelvin sign into k
// and the capital I with dot above into i).
struct AsciiLowering {
    bool lead[256] = {}; // the first bytes of such characters
    bool target[128] = {}; // the ASCII bytes they lower into
};

// Those of the current locale; worked out once for each locale in turn (in a multi-byte locale, a pass
// over the basic plane).
AsciiLowering currentAsciiLowering();

// As lowerCaseForSearch, but other than ASCII only the characters that begin as one of lowering's are
// lowered and the rest is copied; the copy is no longer than the text. Serves a search for ASCII keywords in
// a locale whose characters never hold an ASCII byte: no other character can be part of a match.
int32_t lowerCaseForAsciiSearch(const char* in, int32_t n, char* out, const AsciiLowering& lowering);

// Whether the character that starts at in[0], a byte of 0x80 or more, lowers into ASCII.
bool lowersIntoAscii(const char* in, int32_t n);

} // namespace kestrano
