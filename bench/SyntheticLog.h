// What the benchmarks share: a deterministic synthetic log, grep over it as the yardstick, and
// processor time, so that other programs on a shared machine slow neither side of a comparison.
#pragma once

#include <cstdint>
#include <string>

namespace kestrano::bench {

// Writes (or appends) lines until at least `bytes` bytes are written: all severities with keywords in
// various letter cases, about 10 % of lines without a keyword, about 2 % indented continuation lines,
// some CR LF line ends. The same bytes on every run. Exits on failure.
void writeSyntheticLog(const std::string& path, int64_t bytes, bool append = false);

// The same for JSON lines as Node and Go loggers write them: level as a number or a word, time as
// epoch milliseconds or text, a message with keywords that contradict the level now and then.
void writeJsonLog(const std::string& path, int64_t bytes);

// Processor seconds (user and system) used so far by this process (RUSAGE_SELF) or by its waited-for
// children (RUSAGE_CHILDREN).
double processorSeconds(int who);

// Processor seconds taken by `grep -c -i -F` with the nine default keywords over the file; its count
// of matching lines goes to lines. Exits when grep fails.
double grepTime(const std::string& path, int64_t& lines);

// Processor seconds taken by a shell command line and its children; exits when it fails.
double commandTime(const std::string& command);

// A new temporary folder for the benchmark's files. Exits on failure.
std::string makeBenchFolder();

} // namespace kestrano::bench
