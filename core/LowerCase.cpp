#include "core/LowerCase.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

namespace kestrano {
namespace {

constexpr uint64_t HighBits = 0x8080808080808080ull;

// Lower-cases eight ASCII bytes at once; no byte may have its high bit set, so the sums never carry
// into the next byte.
uint64_t lowerAscii8(uint64_t bytes)
{
    const uint64_t atLeastA = bytes + 0x3f3f3f3f3f3f3f3full; // high bit set where byte >= 'A'
    const uint64_t aboveZ = bytes + 0x2525252525252525ull; // high bit set where byte > 'Z'
    return bytes | ((atLeastA & ~aboveZ & HighBits) >> 2);
}

char lowerAscii(unsigned char c)
{
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
}

// Lower-cases the character that starts at in[0] (a byte of 0x80 or more) into out; returns its
// length. Undecodable bytes are kept one at a time.
int32_t lowerCharacter(const char* in, int32_t n, char* out, bool singleByte)
{
    if (singleByte) {
        *out = static_cast<char>(std::tolower(static_cast<unsigned char>(*in)));
        return 1;
    }
    std::mbstate_t state {};
    wchar_t wide = 0;
    const std::size_t length = std::mbrtowc(&wide, in, static_cast<std::size_t>(n), &state);
    if (length == 0 || length > static_cast<std::size_t>(n)) {
        *out = *in;
        return 1;
    }
    const wint_t lower = std::towlower(static_cast<wint_t>(wide));
    char encoded[MB_LEN_MAX];
    std::mbstate_t encodeState {};
    const std::size_t encodedLength = lower == static_cast<wint_t>(wide)
        ? 0
        : std::wcrtomb(encoded, static_cast<wchar_t>(lower), &encodeState);
    if (encodedLength == length)
        std::memcpy(out, encoded, length);
    else if (out != in)
        std::memmove(out, in, length);
    return static_cast<int32_t>(length);
}

} // namespace

void lowerCase(const char* in, int32_t n, char* out)
{
    const bool singleByte = MB_CUR_MAX == 1;
    int32_t i = 0;
    while (i < n) {
        if (n - i >= 8) {
            uint64_t block;
            std::memcpy(&block, in + i, 8);
            if (!(block & HighBits)) {
                block = lowerAscii8(block);
                std::memcpy(out + i, &block, 8);
                i += 8;
                continue;
            }
        }
        const auto c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) {
            out[i] = lowerAscii(c);
            ++i;
        } else {
            i += lowerCharacter(in + i, n - i, out + i, singleByte);
        }
    }
}

} // namespace kestrano
