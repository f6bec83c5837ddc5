// The one-line rendering of a message text for the log view's rows: every CR and LF becomes a space
// and each run of spaces becomes one space; tabs stay.
#pragma once

#include <cstdint>

namespace kestrano {

// Writes the rendering of text[0..length) to out, which has room for length + 1 bytes; returns the
// rendering's length (out is NUL-terminated).
int32_t displayText(const char* text, int32_t length, char* out);

// A row shows at most this many bytes of a message's text; the details show the whole text.
constexpr int32_t RowTextBytes = 4096;

// The length of the prefix of text[0..length) a row shows: at most `bound` bytes, never ending inside
// a UTF-8 character.
int32_t rowPrefixLength(const char* text, int32_t length, int32_t bound = RowTextBytes);

} // namespace kestrano
