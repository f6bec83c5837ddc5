// Lower-casing of log lines and keywords by the current locale's character set. ASCII takes a fast
// path; other characters are decoded whole (never split) and replaced only when their lower-case form
// has the same number of bytes, so a line and its lower-cased copy always have the same length.
#pragma once

#include <cstdint>

namespace kestrano {

// Writes the lower-cased form of in[0..n) to out[0..n); in and out may be the same buffer.
void lowerCase(const char* in, int32_t n, char* out);

} // namespace kestrano
