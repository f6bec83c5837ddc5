// A deterministic synthetic log for the benchmarks, and grep over it as the yardstick.
#pragma once

#include <cstdint>

namespace kestrano::bench {

// Appends about `bytes` bytes of log lines to the file: all severities, keywords in various letter
// cases, some lines without keywords, about 2 % indented continuation lines. Returns the bytes written.
uint64_t appendSyntheticLog(const char* path, uint64_t bytes);

// Runs `grep -c -i -F` with the nine default keywords over the file; the seconds it took, or -1 when
// grep could not be run. Its count goes to matches.
double timeGrep(const char* path, long& matches);

// Seconds of a monotonic clock.
double now();

} // namespace kestrano::bench
