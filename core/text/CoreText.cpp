#include "core/text/CoreText.h"

#include <cstring>

namespace kestrano {

std::string ShownText::english() const
{
    const char* text = englishOf(id);
    const char* place = std::strstr(text, "%1");
    if (!place)
        return text;
    return std::string(text, place) + argument + (place + 2);
}

} // namespace kestrano
