// Fuzz target for the visible text of a log line: whatever the bytes, the result holds no control
// character but tab and the CR LF joining lines, no bidirectional formatting character and no stray
// C1 byte; text without any of them is kept as it is, so the result is its own visible text.
//
// Input: the text.
#include "core/text/VisibleText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The code point of the UTF-8 character at i, or -1 (and length 1) when the bytes there form none.
long characterAt(const std::string& text, size_t i, size_t& length)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    length = lead < 0x80 ? 1 : lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 0;
    if (length == 1)
        return lead;
    if (length == 0 || lead > 0xf4 || i + length > text.size()) {
        length = 1;
        return -1;
    }
    long code = lead & (0x7f >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xc0) != 0x80) {
            length = 1;
            return -1;
        }
        code = code * 64 + (byte(i + k) & 0x3f);
    }
    const long least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) {
        length = 1;
        return -1;
    }
    return code;
}

// Whether the text shows as it is: nothing that moves, reorders or commands.
bool isSafe(const std::string& text)
{
    for (size_t i = 0; i < text.size();) {
        size_t length;
        const long code = characterAt(text, i, length);
        if (code == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            i += 2;
            continue;
        }
        const bool control = (code >= 0 && code < 0x20 && code != '\t') || (code >= 0x7f && code <= 0x9f);
        const bool formatting = code == 0x61c || code == 0x200e || code == 0x200f
            || (code >= 0x2028 && code <= 0x202e) || (code >= 0x2066 && code <= 0x2069);
        const bool strayC1 = code < 0 && static_cast<unsigned char>(text[i]) <= 0x9f;
        if (control || formatting || strayC1)
            return false;
        i += length;
    }
    return true;
}

void fail(const char* what)
{
    std::fprintf(stderr, "visible text: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string shown = kestrano::visibleText(text.data(), static_cast<int32_t>(text.size()));
    if (!isSafe(shown))
        fail("a hidden character is left");
    if (isSafe(text) && shown != text)
        fail("safe text was changed");
    if (kestrano::visibleText(shown.data(), static_cast<int32_t>(shown.size())) != shown)
        fail("the visible text is not its own visible text");
    return 0;
}
