#include "core/text/CoreText.h"

namespace kestrano {

std::string ShownText::english() const
{
    std::string text = englishOf(id);
    const size_t first = text.find("%1");
    if (first != std::string::npos)
        text.replace(first, 2, argument);
    const size_t second = text.find("%2", first == std::string::npos ? 0 : first + argument.size());
    if (second != std::string::npos)
        text.replace(second, 2, detail);
    while (!text.empty() && text.back() == ' ')
        text.pop_back(); // an empty detail at the end
    return text;
}

} // namespace kestrano
