// Throughput of message analysis: a deterministic synthetic log of 200 MB or more is fed through the
// line cutter in 8192-byte pieces, as the follower reads it, with KeepLines 1000 and the default
// keywords; `grep -c -i -F` with the same nine keywords over the same file is the yardstick. The last
// line printed is "analysis_vs_grep X.XX", the ratio of the two throughputs.
#include "bench/SyntheticLog.h"
#include "core/LineCutter.h"
#include "core/MonitorSettings.h"
#include "core/Severity.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int64_t LogBytes = 210LL * 1000 * 1000;
constexpr int32_t PieceSize = 8192;

class Counter : public kestrano::LineCutterListener {
public:
    explicit Counter(const kestrano::MonitorSettings& settings)
        : settings(settings)
    { }
    void showMessage(kestrano::Message*) override { ++messages; }
    void trimToKeepLines() override
    {
        while (cutter->getMessages().GetCount() > settings.GetKeepLines())
            delete cutter->getMessages().RemoveFirst();
    }
    void messageContinued(kestrano::Message*) override { ++continuations; }

    const kestrano::MonitorSettings& settings;
    kestrano::LineCutter* cutter = nullptr;
    int64_t messages = 0;
    int64_t continuations = 0;
};

// Processor seconds taken to read and cut the whole file.
double analyse(const std::string& path, int64_t& messages, int64_t& continuations)
{
    kestrano::MonitorSettings settings;
    settings.SetKeepLines(1000);
    Counter counter(settings);
    kestrano::LineCutter cutter(settings, counter);
    counter.cutter = &cutter;

    const double start = kestrano::bench::processorSeconds(RUSAGE_SELF);
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
    char piece[PieceSize];
    int32_t highest = kestrano::Severity::None;
    for (ssize_t n; (n = read(file, piece, sizeof piece)) > 0;) {
        cutter.appendPendingText(piece, static_cast<int32_t>(n));
        highest = std::max(highest, cutter.splitPendingText());
    }
    close(file);
    const double seconds = kestrano::bench::processorSeconds(RUSAGE_SELF) - start;
    messages = counter.messages;
    continuations = counter.continuations;
    if (highest != kestrano::Severity::Fatal) {
        std::fprintf(stderr, "unexpected highest severity %d\n", highest);
        std::exit(1);
    }
    return seconds;
}

} // namespace

int main()
{
    namespace fs = std::filesystem;
    const fs::path folder = kestrano::bench::makeBenchFolder();
    const std::string path = (folder / "synthetic.log").string();
    kestrano::bench::writeSyntheticLog(path, LogBytes);
    const double megabytes = static_cast<double>(fs::file_size(path)) / 1e6;

    // Best of three each, interleaved, in processor time.
    double analysisSeconds = 1e9;
    double grepSeconds = 1e9;
    int64_t messages = 0;
    int64_t continuations = 0;
    int64_t grepLines = 0;
    for (int round = 0; round < 3; ++round) {
        analysisSeconds = std::min(analysisSeconds, analyse(path, messages, continuations));
        grepSeconds = std::min(grepSeconds, kestrano::bench::grepTime(path, grepLines));
    }
    fs::remove_all(folder);

    const double analysisRate = megabytes / analysisSeconds;
    const double grepRate = megabytes / grepSeconds;
    std::printf("log: %.1f MB; throughput per processor second, best of 3\n", megabytes);
    std::printf("analysis: %.1f MB/s (%lld messages, %lld continuation lines)\n", analysisRate,
        static_cast<long long>(messages), static_cast<long long>(continuations));
    std::printf("grep: %.1f MB/s (%lld matching lines)\n", grepRate, static_cast<long long>(grepLines));
    std::printf("analysis_vs_grep %.2f\n", analysisRate / grepRate);
    return 0;
}
