// The history of a log file: building its index against `wc -l` over the same file, the memory the
// index holds per line, and counting the messages that hold a word (case ignored, as find does by
// default) against `grep -c -i -F` with that word, all in processor time with the page cache warm.
// Usage: history_bench [MEGABYTES [GIGABYTES]]: the log is MEGABYTES (default 1024) of the synthetic
// log with a rare word in three places; with GIGABYTES, a second log of that size is indexed alone and
// the process's peak resident memory is printed. The last lines are "history_index_vs_wc X.XX",
// "history_bytes_per_line X.XX" and "history_find_vs_grep X.XX".
#include "bench/SyntheticLog.h"
#include "core/search/TextMatcher.h"
#include "core/settings/MonitorSettings.h"
#include "core/sources/FileHistory.h"
#include "platform/LinuxFileSystem.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace kestrano;
using Clock = std::chrono::steady_clock;

constexpr const char* Word = "zebrafinch";

// Writes the synthetic log with a line holding the word after each third of it.
void writeLog(const std::string& path, int64_t bytes)
{
    for (int part = 0; part < 3; ++part) {
        bench::writeSyntheticLog(path, bytes / 3, part > 0);
        std::ofstream(path, std::ios::app)
            << "2026-12-09 08:00:00 WARN the Zebrafinch was seen " << part << "\n";
    }
}

// Processor seconds to index the whole file in slices of 25 ms; the index's bytes and messages.
double indexTime(const std::string& path, const MonitorSettings& settings, int64_t& bytes, int64_t& messages)
{
    const double start = bench::processorSeconds(RUSAGE_SELF);
    FileHistory history(path, false, systemFileSystem(), settings);
    while (history.advance(Clock::now() + std::chrono::milliseconds(25))) { }
    const double seconds = bench::processorSeconds(RUSAGE_SELF) - start;
    bytes = history.getIndexBytes();
    messages = history.getMessageCount();
    return seconds;
}

// Processor seconds to count the messages holding the word, the index built beforehand.
double findTime(const std::string& path, const MonitorSettings& settings, int64_t& found)
{
    FileHistory history(path, false, systemFileSystem(), settings);
    while (history.advance(Clock::now() + std::chrono::milliseconds(25))) { }
    const TextMatcher matcher(TextQuery {{Word}, false, false});
    HistorySearch search(matcher, HistorySearch::Kind::Count, 0);
    const double start = bench::processorSeconds(RUSAGE_SELF);
    while (!history.search(search, Clock::now() + std::chrono::milliseconds(25))) { }
    found = search.getResult();
    return bench::processorSeconds(RUSAGE_SELF) - start;
}

int64_t countOf(const std::string& command)
{
    FILE* pipe = popen(command.c_str(), "r");
    long long n = 0;
    if (!pipe || std::fscanf(pipe, "%lld", &n) != 1) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    pclose(pipe);
    return n;
}

long peakKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    const int64_t megabytes = argc > 1 ? std::atoll(argv[1]) : 1024;
    const int64_t gigabytes = argc > 2 ? std::atoll(argv[2]) : 0;
    const std::string folder = bench::makeBenchFolder();
    const std::string path = folder + "/app.log";
    MonitorSettings settings; // the defaults: multi-line and the stated level on, the default keywords
    writeLog(path, megabytes * 1000 * 1000);
    const int64_t lines = countOf("LC_ALL=C wc -l < '" + path + "'");
    bench::commandTime("cat '" + path + "' > /dev/null");

    double wc = 1e9, indexed = 1e9, grep = 1e9, find = 1e9;
    int64_t indexBytes = 0, messages = 0, found = 0, grepFound = 0;
    for (int run = 0; run < 3; ++run) {
        wc = std::min(wc, bench::commandTime("LC_ALL=C wc -l < '" + path + "' > /dev/null"));
        indexed = std::min(indexed, indexTime(path, settings, indexBytes, messages));
        const double start = bench::processorSeconds(RUSAGE_CHILDREN);
        grepFound = countOf(std::string("LC_ALL=C grep -c -i -F ") + Word + " '" + path + "'");
        grep = std::min(grep, bench::processorSeconds(RUSAGE_CHILDREN) - start);
        find = std::min(find, findTime(path, settings, found));
    }
    MonitorSettings keywordsOnly;
    keywordsOnly.SetStatedLevel(false);
    double keywordIndexed = 1e9;
    for (int run = 0; run < 3; ++run) {
        int64_t ignored = 0;
        keywordIndexed = std::min(keywordIndexed, indexTime(path, keywordsOnly, ignored, ignored));
    }
    const double mb = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    std::printf("log: %.0f MB, %lld lines, %lld messages\n", mb, static_cast<long long>(lines),
        static_cast<long long>(messages));
    std::printf("wc -l: %.0f MB/s; index: %.0f MB/s, %lld bytes\n", mb / wc, mb / indexed,
        static_cast<long long>(indexBytes));
    std::printf("index with the stated level off (keywords alone): %.0f MB/s, %.2f of wc -l\n",
        mb / keywordIndexed, wc / keywordIndexed);
    std::printf("grep -c -i -F: %.0f MB/s (%lld lines); find: %.0f MB/s (%lld messages)\n", mb / grep,
        static_cast<long long>(grepFound), mb / find, static_cast<long long>(found));
    std::filesystem::remove(path);

    if (gigabytes > 0) {
        const std::string big = folder + "/big.log";
        bench::writeSyntheticLog(big, gigabytes * 1000 * 1000 * 1000);
        const long before = peakKilobytes();
        int64_t bigBytes = 0, bigMessages = 0;
        const double seconds = indexTime(big, settings, bigBytes, bigMessages);
        std::printf("%lld GB indexed in %.1f s: %lld messages, index %lld bytes, peak resident memory %ld MB "
                    "(%ld MB before)\n",
            static_cast<long long>(gigabytes), seconds, static_cast<long long>(bigMessages),
            static_cast<long long>(bigBytes), peakKilobytes() / 1024, before / 1024);
        std::filesystem::remove(big);
    }
    std::filesystem::remove(folder);
    std::printf("history_index_vs_wc %.2f\n", wc / indexed);
    std::printf(
        "history_bytes_per_line %.2f\n", static_cast<double>(indexBytes) / static_cast<double>(lines));
    std::printf("history_find_vs_grep %.2f\n", grep / find);
    return 0;
}
