// The white space trimmed from message lines: space, tab, line feed, vertical tab, form feed and
// carriage return.
#pragma once

namespace kestrano {

inline bool isTrimmedSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Narrows [begin, end) to the text without leading and trailing white space.
inline void trimWhiteSpace(const char*& begin, const char*& end)
{
    while (begin < end && isTrimmedSpace(*begin))
        ++begin;
    while (end > begin && isTrimmedSpace(end[-1]))
        --end;
}

} // namespace kestrano
