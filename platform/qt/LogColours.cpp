#include "platform/qt/LogColours.h"

#include <cstdint>

namespace kestrano {

int logHue(const char* logName)
{
    // FNV-1a, unlike Qt's seeded hash the same in every process.
    uint32_t hash = 2166136261u;
    for (const char* byte = logName; *byte; ++byte)
        hash = (hash ^ static_cast<unsigned char>(*byte)) * 16777619u;
    return static_cast<int>(hash % LogHueCount);
}

QColor logHueColour(int hue)
{
    static constexpr QRgb Hues[LogHueCount]
        = {0x3465a4, 0xf57900, 0x4e9a06, 0x75507b, 0xcc0000, 0x06989a, 0x8f5902, 0xd6337f};
    QColor colour(Hues[hue % LogHueCount]);
    colour.setAlpha(56); // the theme's base shows through
    return colour;
}

} // namespace kestrano
