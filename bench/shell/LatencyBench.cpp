// How soon a written line is seen, with default settings: printed by kestrano-tail (the real process on
// a real file, its output a pipe) beside tail -F, and shown as a row of the desktop program's list (the
// real program offscreen with its event loop, from the write to the row in the list's model). Lines
// are written at random moments. Then the processor share of both programs with 20 idle logs. Ends
// with "tail_latency_ms N", "tail_f_latency_ms N" and "row_latency_ms N" (medians). Runs in a
// temporary home; usage: latency_bench [writes [idle seconds]].
#include "bench/shell/BenchProgram.h"
#include "config/Config.h"
#include "core/text/Message.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/app/DocTemplate.h"
#include "shell/windows/ChildFrame.h"
#include "tests/support/TestHome.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace kestrano;
using namespace kestrano::bench;

namespace {

using Clock = std::chrono::steady_clock;

// Longer than any line may take: a sample that did not arrive counts this.
constexpr double GivenUpMilliseconds = 5000;

std::mt19937 randomness(23);

// A random moment after the last one: 20 to 200 ms.
int randomPause()
{
    return std::uniform_int_distribution<int>(20, 200)(randomness);
}

struct Latencies {
    std::vector<double> samples;
    double median() const { return samples.empty() ? GivenUpMilliseconds : sorted()[samples.size() / 2]; }
    double worst() const { return samples.empty() ? GivenUpMilliseconds : sorted().back(); }
    std::vector<double> sorted() const
    {
        std::vector<double> result = samples;
        std::sort(result.begin(), result.end());
        return result;
    }
};

// A program started with its standard output in a pipe (or to /dev/null).
class Child {
public:
    Child(const std::vector<std::string>& arguments, bool outputPipe)
    {
        int out[2] = {-1, -1};
        if (outputPipe && pipe2(out, O_CLOEXEC) != 0) {
            std::perror("pipe2");
            std::exit(1);
        }
        pid = fork();
        if (pid == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            dup2(outputPipe ? out[1] : null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            std::vector<char*> argv;
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        if (outputPipe) {
            ::close(out[1]);
            output = out[0];
        }
    }
    ~Child()
    {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        if (output >= 0)
            ::close(output);
    }

    // Reads the output until it holds the text; false after the time given.
    bool waitFor(const std::string& text, double milliseconds)
    {
        const Clock::time_point end
            = Clock::now() + std::chrono::milliseconds(static_cast<int64_t>(milliseconds));
        while (received.find(text) == std::string::npos) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
            pollfd readable {output, POLLIN, 0};
            if (left <= 0 || ::poll(&readable, 1, static_cast<int>(left)) <= 0)
                return false;
            char buffer[65536];
            const ssize_t n = ::read(output, buffer, sizeof buffer);
            if (n <= 0)
                return false;
            received.append(buffer, static_cast<size_t>(n));
        }
        received.erase(0, received.find(text) + text.size());
        return true;
    }

    // Processor nanoseconds the program ran so far.
    long long processorNanoseconds() const
    {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/schedstat");
        long long running = 0;
        stat >> running;
        return running;
    }

private:
    pid_t pid = -1;
    int output = -1;
    std::string received;
};

void append(int file, const std::string& line)
{
    if (::write(file, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        std::perror("write");
        std::exit(1);
    }
}

// From each write of a line at a random moment until the program printed it.
Latencies printLatencies(const std::vector<std::string>& command, const std::string& path, int writes)
{
    Child follower(command, true);
    const int file = ::open(path.c_str(), O_WRONLY | O_APPEND);
    // Following once a line written now is printed.
    for (int tries = 0; tries < 50; ++tries) {
        append(file, "info ready\n");
        if (follower.waitFor("info ready\n", 200))
            break;
    }
    Latencies latencies;
    for (int i = 0; i < writes; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(randomPause()));
        const std::string line = "info sample " + std::to_string(i) + "\n";
        const Clock::time_point written = Clock::now();
        append(file, line);
        latencies.samples.push_back(
            follower.waitFor(line, GivenUpMilliseconds) ? millisecondsSince(written) : GivenUpMilliseconds);
    }
    ::close(file);
    return latencies;
}

double tailIdlePercent(const std::vector<std::string>& logs, int seconds)
{
    std::vector<std::string> command = {KESTRANO_TAIL_PROGRAM};
    command.insert(command.end(), logs.begin(), logs.end());
    Child tail(command, false);
    std::this_thread::sleep_for(std::chrono::seconds(1)); // started and read the tails
    const long long before = tail.processorNanoseconds();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    return 100.0 * static_cast<double>(tail.processorNanoseconds() - before) / 1e9 / seconds;
}

// From each write at a random moment until its row is in the list's model.
Latencies rowLatencies(const std::string& path, int writes)
{
    auto program = newProgram();
    program->GetConfigRootSection().RemoveSection("Workspace");
    program->InitInstance({path});
    LogListModel& model = program->GetDocTemplate().findFrame(path.c_str())->list().model();
    const int file = ::open(path.c_str(), O_WRONLY | O_APPEND);

    Latencies latencies;
    std::string expected;
    Clock::time_point written;
    QTimer writer;
    writer.setSingleShot(true);
    QObject::connect(&writer, &QTimer::timeout, [&] {
        expected = "info sample " + std::to_string(latencies.samples.size());
        written = Clock::now();
        append(file, expected + "\n");
    });
    QObject::connect(&model, &LogListModel::flushed, [&] {
        const int rows = model.rowCount();
        if (expected.empty() || rows == 0 || model.at(rows - 1)->getText() != expected)
            return;
        latencies.samples.push_back(millisecondsSince(written));
        expected.clear();
        if (static_cast<int>(latencies.samples.size()) == writes)
            QCoreApplication::quit();
        else
            writer.start(randomPause());
    });
    QTimer::singleShot(writes * (200 + static_cast<int>(GivenUpMilliseconds)), qApp, &QCoreApplication::quit);
    writer.start(randomPause());
    QApplication::exec();
    ::close(file);
    return latencies;
}

double desktopIdlePercent(const std::vector<std::string>& logs, int seconds)
{
    auto program = newProgram();
    program->GetConfigRootSection().RemoveSection("Workspace");
    program->InitInstance(logs);
    return idlePercent(seconds);
}

void report(const char* who, const Latencies& latencies)
{
    std::printf("%s: %.1f ms at the median, %.1f ms at worst (%zu writes)\n", who, latencies.median(),
        latencies.worst(), latencies.samples.size());
}

} // namespace

int main(int argc, char** argv)
{
    kestrano::test::TestHome home;
    const int writes = argc > 1 ? std::atoi(argv[1]) : 50;
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 10;
    const std::string folder = home.folder().path();
    const std::string path = folder + "/written.log";
    writeLog(path, 0, 10);

    // The processes first, before Qt's threads exist.
    const Latencies tail = printLatencies({KESTRANO_TAIL_PROGRAM, path}, path, writes);
    report("kestrano-tail, from a write to its line printed", tail);
    const Latencies tailF = printLatencies({"tail", "-F", "-n", "0", path}, path, writes);
    report("tail -F, the same", tailF);
    const std::vector<std::string> idleLogs = twentyLogs(folder, 64 * 1024);
    const double tailIdle = tailIdlePercent(idleLogs, idleSeconds);

    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const Latencies rows = rowLatencies(path, writes);
    report("the desktop program, from a write to its row in the list", rows);
    const double desktopIdle = desktopIdlePercent(idleLogs, idleSeconds);
    std::printf("idle with 20 open, unchanged logs for %d s: kestrano-tail %.3f %% of one core, the desktop "
                "program %.3f %% (limit 0.2 %%)\n",
        idleSeconds, tailIdle, desktopIdle);

    std::printf("tail_latency_ms %.1f\ntail_f_latency_ms %.1f\nrow_latency_ms %.1f\n", tail.median(),
        tailF.median(), rows.median());
    return 0;
}
