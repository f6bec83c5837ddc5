// The memory of a merged window: four logs of 100,000 kept messages each (real files, read whole into
// their views), then a merged view of the four opened over them. The heap it adds, per message, is
// printed last as "merge_bytes_per_message N"; the time the opening took before it.
#include "bench/OpenLog.h"
#include "bench/SyntheticLog.h"
#include "config/Config.h"
#include "core/ports/MergedList.h"
#include "core/settings/MonitorSettings.h"
#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "core/view/MergedView.h"
#include "platform/LinuxFileSystem.h"
#include "tests/core/ViewDoubles.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
#include <vector>

using namespace kestrano;
using bench::OpenLog;

namespace {

constexpr int Logs = 4;
constexpr int MessagesPerLog = 100000;

// A list that keeps nothing of its own, so only the merged view's memory is counted.
class CountingList : public MergedList {
public:
    void rowInserted(int32_t) override { }
    void rowDeleted(int32_t) override { }
    void rowChanged(int32_t) override { }
    void rowsReset() override { }
    void scrollIntoView(int32_t) override { }
    int32_t selectedRow() const override { return -1; }
};

// Allocated bytes, those of blocks mapped on their own (large ones) included.
size_t heapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Lines a second apart in each log, the logs interleaved by a quarter of a second.
void writeLog(const std::string& path, int log)
{
    std::ofstream out(path);
    char line[128];
    for (int i = 0; i < MessagesPerLog; ++i) {
        const int seconds = i + log;
        std::snprintf(line, sizeof line, "2026-12-09 %02d:%02d:%02d.%03d INFO service %d message %d\n",
            seconds / 3600 % 24, seconds / 60 % 60, seconds % 60, log * 250, log, i);
        out << line;
    }
}

} // namespace

int main()
{
    const std::string folder = bench::makeBenchFolder();
    MonitorSettings settings;
    settings.SetKeepLines(MessagesPerLog);
    settings.SetInitiallyReadBytes(-1);
    haspel::Config config;
    test::RecordingNotifier notifier;
    test::RecordingDetails details;
    test::ScriptedMessageBox boxes;
    const ViewContext context {settings, config.GetRoot(), notifier, details};

    std::vector<std::unique_ptr<OpenLog>> logs;
    int64_t kept = 0;
    for (int log = 0; log < Logs; ++log) {
        const std::string path = folder + "/service" + std::to_string(log) + ".log";
        writeLog(path, log);
        logs.push_back(std::make_unique<OpenLog>(path, context, boxes));
        do
            logs.back()->view.pollLogFile();
        while (logs.back()->view.hasMoreToRead());
        kept += logs.back()->view.getMessages().GetCount();
    }

    CountingList list;
    test::RecordingFrame frame;
    const size_t before = heapBytes();
    const auto start = std::chrono::steady_clock::now();
    auto merged = std::make_unique<MergedView>(list, frame);
    for (int log = 0; log < Logs; ++log)
        merged->addLog(logs[static_cast<size_t>(log)]->view, "service" + std::to_string(log));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const size_t added = heapBytes() - before;

    std::printf("kept_messages %lld\n", static_cast<long long>(kept));
    std::printf("merged_rows %d\n", merged->getOrder().size());
    std::printf("merge_open_ms %.1f\n", seconds * 1000);
    std::printf("merge_bytes_per_message %.1f\n", static_cast<double>(added) / static_cast<double>(kept));
    merged.reset();
    logs.clear();
    std::filesystem::remove_all(folder);
    return 0;
}
