// Figures of the desktop program: rebuilding a list of a million kept messages and the memory each
// takes, the CPU time of an idle run with 20 open logs, the time until the main window shows with
// 20 logs of 1 MB in the workspace, the time the details dialog of a 10 MB message takes to show, and
// how late key presses are handled and how much memory is used while a writer appends to a followed
// log as fast as it can, with the file's history shown and without it in turns. Runs in a temporary
// home; usage: shell_bench [idle seconds [writer seconds [rounds]]] (idle 0: only the writer's figures).
#include "bench/shell/BenchProgram.h"
#include "config/Config.h"
#include "core/settings/MonitorSettings.h"
#include "core/text/KeywordLists.h"
#include "core/text/Message.h"
#include "core/view/ChildView.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/app/Kestrano.h"
#include "shell/dialogs/MessageDialog.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/support/TestHome.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace kestrano;
using namespace kestrano::bench;

namespace {

// Resident memory now (the high-water mark of getrusage would hold the earlier figures' peaks).
long residentKilobytes()
{
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void benchmarkMillionMessages(const std::string& folder)
{
    constexpr int32_t count = 1000000;
    const std::string path = folder + "/million.log";
    auto program = newProgram();
    program->GetSettings().SetKeepLines(count);
    program->GetSettings().SetInitiallyReadBytes(256 * 1024 * 1024);
    program->InitInstance({});

    // The window first shows the missing file; what the messages take is measured around reading them.
    ChildFrame* frame = program->OpenDocumentFile(path.c_str());
    QCoreApplication::processEvents();
    writeLog(path, 0, count);
    const size_t before = mallinfo2().uordblks;
    frame->view().refreshLog();
    while (frame->view().hasMoreToRead())
        frame->view().pollLogFile();
    frame->list().model().flush();
    QCoreApplication::processEvents();
    const size_t after = mallinfo2().uordblks;

    int64_t textBytes = 0;
    int32_t kept = 0;
    for (Message* message = frame->view().getMessages().GetHead(); message; message = message->GetNext()) {
        textBytes += message->getTextLength() + 1;
        ++kept;
    }
    const double perMessage = (static_cast<double>(after - before) - static_cast<double>(textBytes)) / kept;

    // Best of three, in processor time (the machine may be shared); the rows reach Qt too.
    double rebuild = 1e9;
    double rebuildWall = 1e9;
    double core = 1e9;
    for (int round = 0; round < 3; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const double processorStart = cpuSeconds();
        frame->view().rebuildList();
        core = std::min(core, (cpuSeconds() - processorStart) * 1e3);
        frame->list().model().flush();
        QCoreApplication::processEvents();
        rebuild = std::min(rebuild, (cpuSeconds() - processorStart) * 1e3);
        rebuildWall = std::min(rebuildWall, millisecondsSince(start));
    }

    std::printf("rebuildList with %d kept messages: %.1f processor ms, %.1f ms of them in the view, "
                "%.1f ms wall (limit 200 ms)\n",
        kept, rebuild, core, rebuildWall);
    std::printf("memory per kept message beyond its text: %.1f bytes (limit 96 bytes)\n", perMessage);
    program.reset();
    std::filesystem::remove(path);
}

void benchmarkStartUp(const std::string& folder)
{
    const std::vector<std::string> paths = twentyLogs(folder, 1024 * 1024);
    {
        auto program = newProgram();
        haspel::ConfigSection& root = program->GetConfigRootSection();
        root.RemoveSection("Sizes");
        root.RemoveSection("Workspace");
        for (const std::string& path : paths)
            root.GetSection("Workspace").GetSection(path.c_str()).GetParameter("Follow").SetBool(true);
    }
    auto start = std::chrono::steady_clock::now();
    auto program = newProgram();
    program->InitInstance({});
    const double shown = millisecondsSince(start);
    std::printf("start-up with 20 logs of 1 MB in the workspace: main window shown after %.1f ms "
                "(limit 500 ms)\n",
        shown);
}

void benchmarkIdle(const std::string& folder, int seconds)
{
    const std::vector<std::string> paths = twentyLogs(folder, 64 * 1024);
    auto program = newProgram();
    program->GetConfigRootSection().RemoveSection("Workspace");
    program->InitInstance(paths);
    const double percent = idlePercent(seconds);
    std::printf("idle with 20 open, unchanged logs for %d s: %.3f s CPU time, %.3f %% of one core "
                "(limit 1 %%)\n",
        seconds, percent * seconds / 100.0, percent);
}

void benchmarkDetailsDialog()
{
    MonitorSettings settings;
    KeywordLists keywords(settings);
    std::string line = "fatal ";
    while (line.size() < 10000000)
        line += "0123456789 abcdef ";
    Message longLine(line.data(), static_cast<int32_t>(line.size()), keywords);
    Message stack("error in thread main", 20, keywords);
    for (int i = 0; i < 50000; ++i) {
        const std::string frame = "at frame " + std::to_string(i) + " (Worker.java:12)";
        stack.appendContinuationLine(frame.data(), static_cast<int32_t>(frame.size()));
    }
    for (const Message* message : {&longLine, &stack}) {
        const auto start = std::chrono::steady_clock::now();
        MessageDialog dialog(*message, nullptr);
        dialog.show();
        QCoreApplication::processEvents();
        const double shown = millisecondsSince(start);
        const auto scrolled = std::chrono::steady_clock::now();
        auto& bar = *static_cast<QAbstractScrollArea&>(dialog.textBox()).verticalScrollBar();
        for (int step = 1; step <= 10; ++step) {
            bar.setValue(bar.maximum() / 10 * step);
            dialog.textBox().repaint();
        }
        std::printf("details dialog of a message of %d bytes: shown after %.1f ms, 10 scrolls %.1f ms "
                    "(limit 1000 ms)\n",
            message->getTextLength(), shown, millisecondsSince(scrolled));
    }
}

// Notes how late key presses posted to the main window are handled.
class KeyLatency : public QObject {
public:
    std::vector<double> late;
    std::chrono::steady_clock::time_point posted;
    bool waiting = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && waiting) {
            late.push_back(millisecondsSince(posted));
            waiting = false;
        }
        return QObject::eventFilter(watched, event);
    }
};

// With the timeline shown, the lines' times advance a second per block, so its buckets grow and step up.
// Returns the median lateness of the keys.
double benchmarkSustainedWriter(const std::string& folder, int seconds, bool timeline, bool history)
{
    const std::string path = folder + "/busy.log";
    writeLog(path, 0, 10);
    auto program = newProgram();
    program->GetConfigRootSection().RemoveSection("Workspace");
    program->InitInstance({path});
    QCoreApplication::processEvents();
    MainFrame& frame = *program->GetMainFrame();
    ChildFrame& child = *program->GetDocTemplate().findFrame(path.c_str());
    ChildView& view = child.view();
    if (timeline)
        frame.dispatch(Command::ToggleTimeline, &child);
    if (view.showsHistory() != history)
        frame.dispatch(Command::ToggleHistory, &child);

    // The writer: another process appending 64 KiB blocks of lines as fast as it can.
    const pid_t writer = fork();
    if (writer == 0) {
        // Lines of one time; with the timeline, a second later each block.
        const auto blockAt = [](int64_t second) {
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "2026-12-07 %02d:%02d:%02d ",
                static_cast<int>(second / 3600 % 24), static_cast<int>(second / 60 % 60),
                static_cast<int>(second % 60));
            std::string block;
            for (int i = 0; block.size() < 65536 - 100; ++i)
                block += stamp + std::string(i % 50 == 0 ? "error" : "info") + " line " + std::to_string(i)
                    + "\n";
            return block;
        };
        std::string block = blockAt(12 * 3600);
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        for (int64_t second = 12 * 3600; std::chrono::steady_clock::now() < end; ++second) {
            if (timeline)
                block = blockAt(second);
            if (::write(fd, block.data(), block.size()) < 0)
                break;
        }
        _exit(0);
    }
    KeyLatency latency;
    frame.installEventFilter(&latency);
    QTimer keys;
    QObject::connect(&keys, &QTimer::timeout, [&] {
        if (latency.waiting)
            return;
        latency.posted = std::chrono::steady_clock::now();
        latency.waiting = true;
        QCoreApplication::postEvent(&frame, new QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier));
    });
    keys.start(50);
    const long residentBefore = residentKilobytes();
    long peak = residentBefore;
    int status = 0;
    while (waitpid(writer, &status, WNOHANG) == 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        peak = std::max(peak, residentKilobytes());
    }
    keys.stop();
    const uint64_t written = std::filesystem::file_size(path);
    const uint64_t read = view.getReadPosition();
    std::sort(latency.late.begin(), latency.late.end());
    const double median = latency.late.empty() ? 0 : latency.late[latency.late.size() / 2];
    const double worst = latency.late.empty() ? 0 : latency.late.back();
    std::printf("%s%s, writer appending for %d s: %.0f MB written, %.0f MB read meanwhile (%.0f MB/s); "
                "key presses handled %.1f ms late (median of %zu), %.1f ms at worst (limit 200 ms); "
                "%d list rows; resident memory %ld KiB before, %ld KiB at its peak\n",
        timeline ? "with the timeline shown, " : "", history ? "history shown" : "no history", seconds,
        static_cast<double>(written) / 1e6, static_cast<double>(read) / 1e6,
        static_cast<double>(read) / 1e6 / seconds, median, latency.late.size(), worst,
        child.list().model().rowCount(), residentBefore, peak);
    std::fflush(stdout);
    program.reset();
    std::filesystem::remove(path);
    return median;
}

} // namespace

int main(int argc, char** argv)
{
    kestrano::test::TestHome home;
    const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const int writerSeconds = argc > 2 ? std::atoi(argv[2]) : 10;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 2;
    QApplication application(argc, argv);
    const std::string folder = home.folder().path();
    if (idleSeconds > 0) {
        benchmarkMillionMessages(folder);
        benchmarkStartUp(folder);
        benchmarkIdle(folder, idleSeconds);
        benchmarkDetailsDialog();
    }
    // In turns, so both see the same load on a shared machine.
    std::vector<double> shown, hidden;
    for (int round = 0; round < rounds; ++round) {
        shown.push_back(benchmarkSustainedWriter(folder, writerSeconds, false, true));
        hidden.push_back(benchmarkSustainedWriter(folder, writerSeconds, false, false));
    }
    const auto median = [](std::vector<double> figures) {
        std::sort(figures.begin(), figures.end());
        return figures[figures.size() / 2];
    };
    double load = 0;
    if (FILE* loadavg = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(loadavg, "%lf", &load) != 1)
            load = 0;
        std::fclose(loadavg);
    }
    std::printf(
        "writer_key_ms_history %.1f writer_key_ms_no_history %.1f (medians of %d rounds; load %.1f)\n",
        median(shown), median(hidden), rounds, load);
    benchmarkSustainedWriter(folder, writerSeconds, true, true);
    return 0;
}
