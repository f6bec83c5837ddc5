#include "core/text/VisibleText.h"

#include <cstdio>

namespace kestrano {
namespace {

// C1 controls, the Arabic letter mark, the left-to-right and right-to-left marks, the line and
// paragraph separators, the embeddings, overrides and their end, and the isolates.
bool isHidden(char32_t code)
{
    return (code >= 0x80 && code <= 0x9f) || code == 0x61c || code == 0x200e || code == 0x200f
        || (code >= 0x2028 && code <= 0x202e) || (code >= 0x2066 && code <= 0x2069);
}

} // namespace

void appendVisibleText(const char* text, int32_t length, std::string& out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* const end = p + (length > 0 ? length : 0);
    const unsigned char* run = p; // the start of the bytes not yet appended, kept as they are
    const auto flush = [&](const unsigned char* upTo) {
        out.append(reinterpret_cast<const char*>(run), static_cast<size_t>(upTo - run));
    };
    while (p < end) {
        const unsigned char c = *p;
        if (c == '\t' || (c >= 0x20 && c < 0x7f)) {
            ++p;
        } else if (c == '\r' && p + 1 < end && p[1] == '\n') {
            p += 2;
        } else if (c < 0x80) {
            flush(p);
            out += '^';
            out += c == 0x7f ? '?' : static_cast<char>(c + '@');
            run = ++p;
        } else {
            int n;
            const char32_t code = decodeUtf8(p, end, n);
            if (n > 0 && !isHidden(code)) {
                p += n;
            } else if (n > 0 || c <= 0x9f) {
                flush(p);
                char shown[12];
                if (n > 0)
                    std::snprintf(shown, sizeof shown, "<U+%04X>", static_cast<unsigned>(code));
                else
                    std::snprintf(shown, sizeof shown, "<%02X>", static_cast<unsigned>(c));
                out += shown;
                p += n > 0 ? n : 1;
                run = p;
            } else {
                ++p; // not UTF-8: shown as the byte's own character
            }
        }
    }
    flush(p);
}

char32_t decodeUtf8(const unsigned char* p, const unsigned char* end, int& length)
{
    const unsigned char lead = *p;
    char32_t least;
    char32_t code;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        least = 0x80;
        code = lead & 0x1f;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        least = 0x800;
        code = lead & 0x0f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        least = 0x10000;
        code = lead & 0x07;
    } else {
        length = 0;
        return 0;
    }
    if (end - p < length) {
        length = 0;
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xc0) != 0x80) {
            length = 0;
            return 0;
        }
        code = (code << 6) | (p[i] & 0x3f);
    }
    if (code < least || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
        length = 0;
    return code;
}

std::string visibleText(const char* text, int32_t length)
{
    std::string out;
    out.reserve(static_cast<size_t>(length > 0 ? length : 0));
    appendVisibleText(text, length, out);
    return out;
}

} // namespace kestrano
