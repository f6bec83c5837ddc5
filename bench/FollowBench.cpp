// The whole reading path: polls, one after the other, read the synthetic log, grown by 210 MB since the
// previous poll, into a view with a recording list (KeepLines 1000, default settings), against grep over the
// same file, both in processor time; then timer passes over 1000 open, unchanged logs. kestrano-tail then
// reads the whole file once (-s fatal, output to /dev/null). The last lines printed are "tail_vs_grep X.XX"
// and "follow_vs_grep X.XX", the ratios of the throughputs to grep's.
#include "bench/OpenLog.h"
#include "bench/SyntheticLog.h"
#include "config/Config.h"
#include "core/settings/MonitorSettings.h"
#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "platform/LinuxFileSystem.h"
#include "tests/core/ViewDoubles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <time.h>
#include <vector>

using namespace kestrano;
using bench::OpenLog;

namespace {

constexpr int64_t Growth = 210LL * 1000 * 1000;
constexpr int UnchangedLogs = 1000;

double wallSeconds()
{
    struct timespec time;
    clock_gettime(CLOCK_MONOTONIC, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

long maxResidentKilobytes()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main()
{
    const std::string folder = bench::makeBenchFolder();

    MonitorSettings settings;
    haspel::Config config;
    test::RecordingNotifier notifier;
    test::RecordingDetails details;
    test::ScriptedMessageBox boxes;
    const ViewContext context {settings, config.GetRoot(), notifier, details};

    // The growing log: a first poll reads its beginning, the second one the 200 MB appended since.
    const std::string path = folder + "/growing.log";
    bench::writeSyntheticLog(path, 1000);
    OpenLog log(path, context, boxes);
    log.view.rebuildList();
    const uint64_t before = log.view.getReadPosition();
    bench::writeSyntheticLog(path, Growth, true);
    const uint64_t grown = std::filesystem::file_size(path) - before;
    const long residentBefore = maxResidentKilobytes();
    const double start = bench::processorSeconds(RUSAGE_SELF);
    int polls = 0;
    do {
        log.view.pollLogFile();
        ++polls;
    } while (log.view.hasMoreToRead());
    const double seconds = bench::processorSeconds(RUSAGE_SELF) - start;
    const uint64_t read = log.view.getReadPosition() - before;
    const double megabytes = static_cast<double>(read) / 1e6;
    if (read != grown) {
        std::fprintf(stderr, "read %llu of %llu appended bytes\n", static_cast<unsigned long long>(read),
            static_cast<unsigned long long>(grown));
        return 1;
    }
    std::printf(
        "follow: %.1f MB appended, read by %d polls of at most %d ms in %.3f processor s: %.1f MB/s\n",
        megabytes, polls, ChildView::PollBudgetMilliseconds, seconds, megabytes / seconds);
    std::printf("follow: %d messages kept, %d rows, peak memory grew by %ld KiB\n",
        log.view.getMessages().GetCount(), log.list.rowCount(), maxResidentKilobytes() - residentBefore);

    int64_t matches = 0;
    const double grepSeconds = bench::grepTime(path, matches);
    const double grepMegabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    std::printf("grep -c -i -F: %lld matching lines in %.3f processor s: %.1f MB/s\n",
        static_cast<long long>(matches), grepSeconds, grepMegabytes / grepSeconds);

    const double tailSeconds
        = bench::commandTime("'" KESTRANO_TAIL_PROGRAM "' --once -c -1 -s fatal '" + path + "' > /dev/null");
    std::printf("kestrano-tail --once -c -1 -s fatal: %.1f MB in %.3f processor s: %.1f MB/s\n",
        grepMegabytes, tailSeconds, grepMegabytes / tailSeconds);

    // A timer pass over unchanged logs: each costs one status query and no open.
    std::vector<std::unique_ptr<OpenLog>> logs;
    for (int i = 0; i < UnchangedLogs; ++i) {
        const std::string name = folder + "/unchanged-" + std::to_string(i) + ".log";
        bench::writeSyntheticLog(name, 1000);
        logs.push_back(std::make_unique<OpenLog>(name, context, boxes));
        logs.back()->view.rebuildList();
    }
    constexpr int Passes = 21;
    std::vector<double> passes;
    const double processorStart = bench::processorSeconds(RUSAGE_SELF);
    for (int round = 0; round < Passes; ++round) {
        const double passStart = wallSeconds();
        for (auto& open : logs)
            open->view.pollLogFile();
        passes.push_back(wallSeconds() - passStart);
    }
    const double processorPerPass = (bench::processorSeconds(RUSAGE_SELF) - processorStart) / Passes;
    std::sort(passes.begin(), passes.end());
    const double median = passes[passes.size() / 2];
    std::printf("timer pass over %d unchanged logs: %.3f ms (median of %d), %.2f us per log; "
                "%.2f processor us per log\n",
        UnchangedLogs, median * 1e3, Passes, median * 1e6 / UnchangedLogs,
        processorPerPass * 1e6 / UnchangedLogs);

    std::filesystem::remove_all(folder);
    std::printf("tail_vs_grep %.2f\n", grepSeconds / tailSeconds);
    std::printf("follow_vs_grep %.2f\n", (megabytes / seconds) / (grepMegabytes / grepSeconds));
    return 0;
}
