// Throughput of message analysis: a deterministic synthetic log of 200 MB or more is fed through the
// line cutter in 8192-byte pieces, as the follower reads it, with KeepLines 1000 and the default
// keywords; `grep -c -i -F` with the same nine keywords over the same file is the yardstick. The last
// line printed is "analysis_vs_grep X.XX", the ratio of the two throughputs.
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

// Processor seconds (user and system) used so far by this process or by its waited-for children.
// Other programs on a shared machine then slow neither side of the comparison.
double processorSeconds(int who)
{
    rusage usage {};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// xorshift64*: the same log on every run.
class Random {
public:
    uint32_t next(uint32_t bound)
    {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return static_cast<uint32_t>((state * 0x2545F4914F6CDD1Dull) >> 32) % bound;
    }

private:
    uint64_t state = 0x9E3779B97F4A7C15ull;
};

void writeLog(const std::string& path)
{
    static const char* const levels[] = {"DEBUG", "debug", "Debg", "INFO", "Info", "info", "NOTICE", "Notice",
        "WARN", "Warning", "warn", "ERROR", "Error", "exception", "Exception", "FATAL", "Critical", "crit"};
    static const char* const words[] = {"connection", "request", "handled", "user", "session", "timeout",
        "cache", "miss", "queue", "length", "worker", "started", "stopped", "retrying", "payload", "bytes",
        "from", "to", "the", "server", "client", "disk", "usage", "at", "percent", "job", "done"};
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        std::perror(path.c_str());
        std::exit(1);
    }
    Random random;
    std::string line;
    int64_t written = 0;
    for (int64_t n = 0; written < LogBytes; ++n) {
        const uint32_t kind = random.next(100);
        line.clear();
        if (kind < 2) {
            line += "    at com.example.Worker.run(Worker.java:";
            line += std::to_string(random.next(900) + 10);
            line += ")";
        } else {
            char stamp[40];
            std::snprintf(stamp, sizeof stamp, "2024-05-%02u %02u:%02u:%02u.%03u [%u] ", random.next(28) + 1,
                random.next(24), random.next(60), random.next(60), random.next(1000), random.next(64));
            line += stamp;
            if (kind >= 12) // about 10 % of the lines carry no keyword at all
                line += levels[random.next(sizeof levels / sizeof *levels)];
            else
                line += "TRACE";
            line += ' ';
            const uint32_t count = 6 + random.next(12);
            for (uint32_t w = 0; w < count; ++w) {
                line += words[random.next(sizeof words / sizeof *words)];
                line += w + 1 < count ? " " : "";
            }
        }
        line += kind % 7 == 0 ? "\r\n" : "\n";
        std::fwrite(line.data(), 1, line.size(), out);
        written += static_cast<int64_t>(line.size());
    }
    if (std::fclose(out) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

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

    const double start = processorSeconds(RUSAGE_SELF);
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
    const double seconds = processorSeconds(RUSAGE_SELF) - start;
    messages = counter.messages;
    continuations = counter.continuations;
    if (highest != kestrano::Severity::Fatal) {
        std::fprintf(stderr, "unexpected highest severity %d\n", highest);
        std::exit(1);
    }
    return seconds;
}

// Processor seconds taken by grep (and the shell starting it); matching lines in `lines`.
double grepTime(const std::string& path, int64_t& lines)
{
    const std::string command = "LC_ALL=C grep -c -i -F -e debug -e debg -e info -e notice -e warn -e error"
                                " -e exception -e fatal -e crit '"
        + path + "'";
    const double start = processorSeconds(RUSAGE_CHILDREN);
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe || std::fscanf(pipe, "%lld", reinterpret_cast<long long*>(&lines)) != 1) {
        std::fprintf(stderr, "grep failed\n");
        std::exit(1);
    }
    pclose(pipe);
    return processorSeconds(RUSAGE_CHILDREN) - start;
}

} // namespace

int main()
{
    namespace fs = std::filesystem;
    std::string folderTemplate = (fs::temp_directory_path() / "kestrano-bench-XXXXXX").string();
    if (!mkdtemp(folderTemplate.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path folder = folderTemplate;
    const std::string path = (folder / "synthetic.log").string();
    writeLog(path);
    const double megabytes = static_cast<double>(fs::file_size(path)) / 1e6;

    // Best of three each, interleaved, in processor time.
    double analysisSeconds = 1e9;
    double grepSeconds = 1e9;
    int64_t messages = 0;
    int64_t continuations = 0;
    int64_t grepLines = 0;
    for (int round = 0; round < 3; ++round) {
        analysisSeconds = std::min(analysisSeconds, analyse(path, messages, continuations));
        grepSeconds = std::min(grepSeconds, grepTime(path, grepLines));
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
