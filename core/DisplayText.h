// The one-line rendering of a message text for the log view's rows: every CR and LF becomes a space
// and each run of spaces becomes one space; tabs stay.
#pragma once

#include "foundation/String.h"

#include <cstdint>

namespace kestrano {

// Writes the rendering of text[0..length) to out, which has room for length + 1 bytes; returns the
// rendering's length (out is NUL-terminated).
int32_t displayText(const char* text, int32_t length, char* out);

// Throws haspel::EOutOfMemory.
haspel::String displayText(const char* messageText);

} // namespace kestrano
