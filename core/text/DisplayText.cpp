#include "core/text/DisplayText.h"

namespace kestrano {

int32_t displayText(const char* text, int32_t length, char* out)
{
    int32_t written = 0;
    bool afterSpace = false;
    for (int32_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n')
            c = ' ';
        if (c == ' ') {
            if (afterSpace)
                continue;
            afterSpace = true;
        } else {
            afterSpace = false;
        }
        out[written++] = c;
    }
    out[written] = '\0';
    return written;
}

int32_t rowPrefixLength(const char* text, int32_t length, int32_t bound)
{
    if (length <= bound)
        return length;
    int32_t cut = bound;
    // Back over continuation bytes (10xxxxxx) to the start of the character the bound falls in.
    for (int32_t back = 0; back < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80;
         ++back)
        --cut;
    return cut;
}

} // namespace kestrano
