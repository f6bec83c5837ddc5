#include "core/text/LowerCase.h"

#include <cctype>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <mutex>

namespace kestrano {
namespace {

constexpr uint64_t HighBits = 0x8080808080808080ull;

enum class Mode { SameLength, Search, AsciiSearch };

// Lower-cases the character that starts at in[0] (a byte of 0x80 or more) into out; returns its
// length and sets written to the bytes written. Undecodable bytes are kept one at a time.
template <Mode mode>
int32_t lowerCharacter(const char* in, int32_t n, char* out, bool singleByte, int32_t& written)
{
    written = 1;
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
    // For an ASCII search a longer form (never ASCII) is of no use, and the copy stays within the text.
    const bool replace = mode == Mode::SameLength ? encodedLength == length
        : mode == Mode::AsciiSearch               ? encodedLength > 0 && encodedLength <= length
                                    : encodedLength > 0 && encodedLength <= LoweredGrowth * length;
    if (replace) {
        std::memcpy(out, encoded, encodedLength);
        written = static_cast<int32_t>(encodedLength);
    } else {
        if (out != in)
            std::memmove(out, in, length);
        written = static_cast<int32_t>(length);
    }
    return static_cast<int32_t>(length);
}

AsciiLowering findAsciiLowering()
{
    AsciiLowering found;
    if (MB_CUR_MAX == 1) {
        for (int c = 0x80; c < 0x100; ++c) {
            const int lower = std::tolower(c);
            if (lower < 0x80) {
                found.lead[c] = true;
                found.target[lower] = true;
            }
        }
        return found;
    }
    // Beyond the basic plane, letters lower within their own planes.
    for (wint_t c = 0x80; c < 0x10000; ++c) {
        const wint_t lower = std::towlower(c);
        if (lower >= 0x80 || lower == c)
            continue;
        char encoded[MB_LEN_MAX];
        std::mbstate_t state {};
        const std::size_t length = std::wcrtomb(encoded, static_cast<wchar_t>(c), &state);
        if (length == 0 || length > MB_LEN_MAX)
            continue;
        found.lead[static_cast<unsigned char>(encoded[0])] = true;
        found.target[lower] = true;
    }
    return found;
}

template <Mode mode> int32_t lowerInto(const char* in, int32_t n, char* out, const AsciiLowering* lowering)
{
    const bool singleByte = MB_CUR_MAX == 1;
    int32_t i = 0;
    int32_t j = 0;
    while (i < n) {
        if (n - i >= 8) {
            uint64_t block;
            std::memcpy(&block, in + i, 8);
            if (!(block & HighBits)) {
                block |= asciiCapitalBits(block);
                std::memcpy(out + j, &block, 8);
                i += 8;
                j += 8;
                continue;
            }
        }
        const auto c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) {
            out[j++] = lowerAscii(c);
            ++i;
        } else if (mode == Mode::AsciiSearch && !lowering->lead[c]) {
            out[j++] = in[i++];
        } else {
            int32_t written;
            i += lowerCharacter<mode>(in + i, n - i, out + j, singleByte, written);
            j += written;
        }
    }
    return j;
}

} // namespace

void lowerCase(const char* in, int32_t n, char* out)
{
    lowerInto<Mode::SameLength>(in, n, out, nullptr);
}

int32_t lowerCaseForSearch(const char* in, int32_t n, char* out)
{
    return lowerInto<Mode::Search>(in, n, out, nullptr);
}

int32_t lowerCaseForAsciiSearch(const char* in, int32_t n, char* out, const AsciiLowering& lowering)
{
    return lowerInto<Mode::AsciiSearch>(in, n, out, &lowering);
}

bool lowersIntoAscii(const char* in, int32_t n)
{
    char out[MB_LEN_MAX];
    int32_t written;
    lowerCharacter<Mode::Search>(in, n, out, MB_CUR_MAX == 1, written);
    return written == 1 && !(static_cast<unsigned char>(out[0]) & 0x80);
}

AsciiLowering currentAsciiLowering()
{
    static std::mutex mutex;
    static char locale[256];
    static AsciiLowering lowering;
    static bool known = false;
    const char* name = std::setlocale(LC_CTYPE, nullptr);
    std::lock_guard<std::mutex> lock(mutex);
    if (!known || !name || std::strncmp(locale, name, sizeof locale) != 0) {
        lowering = findAsciiLowering();
        std::strncpy(locale, name ? name : "", sizeof locale - 1);
        known = true;
    }
    return lowering;
}

} // namespace kestrano
