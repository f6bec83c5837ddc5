// A message's text as it is written out, by kestrano-tail and by copying and saving in the desktop
// program: the first line, then each continuation line after one tab (the text holds them joined by
// CR LF, each trimmed), so a trace reads as a trace.
#pragma once

#include "core/text/Message.h"

#include <cstddef>
#include <cstring>
#include <string>

namespace kestrano {

// Calls line(bytes, length) for each line of the message's text, first to last, without its line end.
template <class Line> void forEachLine(const Message& message, Line&& line)
{
    const char* start = message.getText();
    const char* const end = start + message.getTextLength();
    for (;;) {
        const auto* lineEnd
            = static_cast<const char*>(std::memchr(start, '\r', static_cast<std::size_t>(end - start)));
        if (!lineEnd) {
            line(start, static_cast<std::size_t>(end - start));
            return;
        }
        line(start, static_cast<std::size_t>(lineEnd - start));
        start = lineEnd + 2;
    }
}

// Appends the lines, each continuation line after a tab, each line ended by a line feed.
inline void appendMessageLines(std::string& out, const Message& message)
{
    bool first = true;
    forEachLine(message, [&out, &first](const char* line, std::size_t length) {
        if (!first)
            out += '\t';
        first = false;
        out.append(line, length);
        out += '\n';
    });
}

} // namespace kestrano
