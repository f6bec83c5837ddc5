#include "tests/support/LogRotation.h"

#include "tests/support/MadeLogs.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrano::test {

namespace fs = std::filesystem;

const char* nameOf(RotationMode mode)
{
    switch (mode) {
    case RotationMode::Create:
        return "create";
    case RotationMode::CopyTruncate:
        return "copytruncate";
    case RotationMode::DelayCompress:
        return "delaycompress";
    case RotationMode::DateExt:
        return "dateext";
    case RotationMode::OldDir:
        return "olddir";
    case RotationMode::CreateHup:
        return "createhup";
    }
    return "?";
}

std::string nameOfCase(const testing::TestParamInfo<RotationCase>& info)
{
    return std::string(nameOf(std::get<0>(info.param))) + "_" + std::to_string(std::get<1>(info.param));
}

pid_t startLogWriter(const std::string& path, long count, long rate, const char* mode)
{
    const std::string countText = std::to_string(count);
    const std::string rateText = std::to_string(rate);
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        execl(KESTRANO_LOG_WRITER, KESTRANO_LOG_WRITER, path.c_str(), countText.c_str(), rateText.c_str(),
            mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

std::thread runLogrotate(const std::string& dir, const std::string& log, pid_t writer, int times)
{
    const std::string config = dir + "/logrotate.conf";
    writeFile(config,
        log
            + " {\n  rotate 10\n  compress\n  delaycompress\n  create\n  missingok\n  postrotate\n    kill "
              "-HUP "
            + std::to_string(writer) + "\n  endscript\n}\n");
    return std::thread([dir, config, times] {
        for (int i = 0; i < times; ++i) {
            usleep(350000);
            runFilter({"/usr/sbin/logrotate", "-s", dir + "/state", "-f", config}, "/dev/null", "");
        }
    });
}

bool waitForLogWriter(pid_t writer)
{
    int status = 0;
    while (waitpid(writer, &status, 0) < 0) { }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

RotatedLog::RotatedLog(const std::string& dir, RotationMode mode)
    : dir(dir)
    , log(dir + "/app.log")
    , mode(mode)
{ }

RotatedLog::~RotatedLog()
{
    if (writer > 0) {
        kill(writer, SIGKILL);
        waitForLogWriter(writer);
    }
    if (rotations.joinable())
        rotations.join();
}

void RotatedLog::start(long count, long rate, int times)
{
    const char* writerMode = mode == RotationMode::CopyTruncate ? "hold"
        : mode == RotationMode::CreateHup                       ? "hup"
                                                                : "reopen";
    writer = startLogWriter(log, count, rate, writerMode);
    const auto period = std::chrono::microseconds(count * 1000000 / rate / (times + 1));
    rotations = std::thread([this, period, times] {
        for (int n = 1; n <= times; ++n) {
            std::this_thread::sleep_for(period);
            rotate(n);
        }
    });
}

bool RotatedLog::finish()
{
    rotations.join();
    const bool written = waitForLogWriter(writer);
    writer = -1;
    return written;
}

namespace {

void createEmpty(const std::string& path)
{
    // As logrotate's "create": a new file under the name, unless the writer made one already.
    if (!fs::exists(path))
        appendFile(path, "");
}

// app.log.N (and .gz) moved one up, the highest first.
void shift(const std::string& log, int highest, const std::string& suffix)
{
    for (int i = highest; i >= 1; --i) {
        const std::string from = log + "." + std::to_string(i) + suffix;
        if (fs::exists(from))
            fs::rename(from, log + "." + std::to_string(i + 1) + suffix);
    }
}

} // namespace

void RotatedLog::rotate(int n)
{
    switch (mode) {
    case RotationMode::Create:
    case RotationMode::CreateHup:
        shift(log, n, "");
        fs::rename(log, log + ".1");
        createEmpty(log);
        if (mode == RotationMode::CreateHup)
            kill(writer, SIGHUP);
        break;
    case RotationMode::CopyTruncate:
        shift(log, n, "");
        fs::copy_file(log, log + ".1");
        fs::resize_file(log, 0);
        break;
    case RotationMode::DelayCompress:
        shift(log, n, ".gz");
        if (fs::exists(log + ".1")) {
            runFilter({"/usr/bin/gzip", "-c"}, log + ".1", log + ".2.gz");
            fs::remove(log + ".1");
        }
        fs::rename(log, log + ".1");
        createEmpty(log);
        break;
    case RotationMode::DateExt:
        fs::rename(log, log + "-2026120" + std::to_string(n));
        createEmpty(log);
        break;
    case RotationMode::OldDir:
        fs::create_directories(dir + "/old");
        shift(dir + "/old/app.log", n, "");
        fs::rename(log, dir + "/old/app.log.1");
        createEmpty(log);
        break;
    }
}

std::set<long> linesOnDisk(const std::string& dir)
{
    std::set<long> lines;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file())
            continue;
        const std::string file = entry.path().string();
        if (file.find("app.log") == std::string::npos)
            continue;
        std::string text;
        if (entry.path().extension() == ".gz") {
            const std::string plain = file + ".plain";
            runFilter({"/usr/bin/gzip", "-dc"}, file, plain);
            text = readFile(plain);
            fs::remove(plain);
        } else {
            text = readFile(file);
        }
        for (long number : lineNumbers(text))
            lines.insert(number);
    }
    return lines;
}

std::string writtenLine(long number)
{
    char line[64];
    std::snprintf(line, sizeof line, "%09ld error line\n", number);
    return line;
}

std::vector<long> lineNumbers(const std::string& text)
{
    static const std::string tail = " error line";
    std::vector<long> numbers;
    for (size_t at = text.find(tail); at != std::string::npos; at = text.find(tail, at + 1)) {
        if (at < 9)
            continue;
        long number = 0;
        bool digits = true;
        for (size_t i = at - 9; i < at; ++i) {
            digits &= text[i] >= '0' && text[i] <= '9';
            number = number * 10 + (text[i] - '0');
        }
        if (digits)
            numbers.push_back(number);
    }
    return numbers;
}

std::string LineCount::describe() const
{
    return "lost " + std::to_string(lost) + " in " + std::to_string(gaps) + " gaps, repeated "
        + std::to_string(repeated) + ", reordered " + std::to_string(reordered);
}

LineCount countLines(const std::vector<long>& seen, const std::set<long>& onDisk)
{
    LineCount count;
    std::set<long> shown;
    long highest = -1;
    for (long number : seen) {
        if (!shown.insert(number).second)
            ++count.repeated;
        else if (number < highest)
            ++count.reordered;
        highest = std::max(highest, number);
    }
    bool inGap = false;
    for (long number : onDisk) {
        const bool lost = !shown.count(number);
        count.lost += lost;
        count.gaps += lost && !inGap;
        inGap = lost;
    }
    return count;
}

} // namespace kestrano::test
