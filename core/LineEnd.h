// Finding the end of a log line: the first carriage return or line feed, in one scan.
#pragma once

namespace kestrano {

// The first CR or LF in [begin, end), or nullptr when there is none.
const char* findLineEnd(const char* begin, const char* end);

} // namespace kestrano
