// What the desktop program's benchmarks share: the real program with a silent alert sound, logs of
// numbered lines, processor time, and the processor share of an idle run with open logs.
#pragma once

#include "shell/app/Kestrano.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrano::bench {

std::unique_ptr<Kestrano> newProgram();
double millisecondsSince(std::chrono::steady_clock::time_point start);
// Processor seconds of this process (user and system).
double cpuSeconds();
// Writes lines "2026-12-07 12:00:00 info line number N" (every tenth a warning) until the bytes, or
// the lines when given, are written.
void writeLog(const std::string& path, int64_t bytes, int lines = -1);
// Twenty such logs of the size in the folder.
std::vector<std::string> twentyLogs(const std::string& folder, int64_t bytes);
// The percentage of one core the running program uses over the seconds while its open logs stay
// unchanged (the event loop runs meanwhile).
double idlePercent(int seconds);

} // namespace kestrano::bench
