#include "bench/shell/BenchProgram.h"

#include "platform/qt/AlertSound.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <sys/resource.h>

namespace kestrano::bench {
namespace {

class SilentSound : public AlertSound {
public:
    void play() override { }
};

} // namespace

std::unique_ptr<Kestrano> newProgram()
{
    return std::make_unique<Kestrano>(std::make_unique<SilentSound>());
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void writeLog(const std::string& path, int64_t bytes, int lines)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    int64_t written = 0;
    for (int i = 0; lines < 0 ? written < bytes : i < lines; ++i) {
        char line[96];
        const int n = std::snprintf(
            line, sizeof line, "2026-12-07 12:00:00 %s line number %d\n", i % 10 == 0 ? "warn" : "info", i);
        out.write(line, n);
        written += n;
    }
}

std::vector<std::string> twentyLogs(const std::string& folder, int64_t bytes)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 20; ++i) {
        paths.push_back(folder + "/log" + std::to_string(i) + ".log");
        writeLog(paths.back(), bytes);
    }
    return paths;
}

double idlePercent(int seconds)
{
    QCoreApplication::processEvents();
    const double before = cpuSeconds();
    QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    QApplication::exec();
    return 100.0 * (cpuSeconds() - before) / seconds;
}

} // namespace kestrano::bench
