// Finding a text in a large piece of bytes with the case of ASCII letters ignored, at memory speed:
// sixteen places are tried at once by the needle's first and last bytes before any is compared whole.
#pragma once

#include <cstddef>

namespace kestrano {

// The first place in text[0..n) where needle[0..m) occurs, ASCII letters of either case matching;
// nullptr when there is none. An empty needle occurs at the start.
const char* findCaseless(const char* text, size_t n, const char* needle, size_t m);

} // namespace kestrano
