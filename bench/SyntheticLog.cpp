#include "bench/SyntheticLog.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace kestrano::bench {

namespace {

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

FILE* openLog(const std::string& path, bool append)
{
    FILE* out = std::fopen(path.c_str(), append ? "ab" : "wb");
    if (!out) {
        std::perror(path.c_str());
        std::exit(1);
    }
    return out;
}

void closeLog(FILE* out, const std::string& path)
{
    if (std::fclose(out) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

} // namespace

double processorSeconds(int who)
{
    rusage usage {};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void writeSyntheticLog(const std::string& path, int64_t bytes, bool append)
{
    static const char* const levels[] = {"DEBUG", "debug", "Debg", "INFO", "Info", "info", "NOTICE", "Notice",
        "WARN", "Warning", "warn", "ERROR", "Error", "exception", "Exception", "FATAL", "Critical", "crit"};
    static const char* const words[] = {"connection", "request", "handled", "user", "session", "timeout",
        "cache", "miss", "queue", "length", "worker", "started", "stopped", "retrying", "payload", "bytes",
        "from", "to", "the", "server", "client", "disk", "usage", "at", "percent", "job", "done"};
    FILE* out = openLog(path, append);
    Random random;
    std::string line;
    int64_t written = 0;
    for (int64_t n = 0; written < bytes; ++n) {
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
    closeLog(out, path);
}

void writeJsonLog(const std::string& path, int64_t bytes)
{
    static const char* const levels[]
        = {"10", "20", "30", "30", "30", "40", "50", "60", "\"debug\"", "\"info\"", "\"warn\"", "\"error\""};
    static const char* const words[] = {"connection", "request", "handled", "user", "session", "timeout",
        "cache", "miss", "queue", "length", "worker", "started", "retrying", "after", "error", "0", "errors",
        "warning", "payload", "bytes", "from", "client", "disk", "usage", "job", "done"};
    FILE* out = openLog(path, false);
    Random random;
    std::string line;
    int64_t written = 0;
    for (int64_t n = 0; written < bytes; ++n) {
        line.clear();
        char head[160];
        if (random.next(2) == 0)
            std::snprintf(head, sizeof head,
                "{\"level\":%s,\"time\":%lld,\"pid\":%u,\"hostname\":\"web-%u\",\"msg\":\"",
                levels[random.next(sizeof levels / sizeof *levels)], 1765237542000LL + n * 7,
                random.next(60000), random.next(9));
        else
            std::snprintf(head, sizeof head,
                "{\"time\":\"2026-12-09T%02u:%02u:%02u.%03uZ\",\"level\":%s,\"logger\":\"svc.%u\",\"msg\":\"",
                random.next(24), random.next(60), random.next(60), random.next(1000),
                levels[random.next(sizeof levels / sizeof *levels)], random.next(40));
        line += head;
        const uint32_t count = 5 + random.next(12);
        for (uint32_t w = 0; w < count; ++w) {
            line += words[random.next(sizeof words / sizeof *words)];
            line += w + 1 < count ? " " : "";
        }
        line += "\",\"req\":{\"id\":";
        line += std::to_string(random.next(1000000));
        line += ",\"path\":\"/api/v1/items\"}}\n";
        std::fwrite(line.data(), 1, line.size(), out);
        written += static_cast<int64_t>(line.size());
    }
    closeLog(out, path);
}

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

double commandTime(const std::string& command)
{
    const double start = processorSeconds(RUSAGE_CHILDREN);
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    return processorSeconds(RUSAGE_CHILDREN) - start;
}

std::string makeBenchFolder()
{
    std::string folder = (std::filesystem::temp_directory_path() / "kestrano-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return folder;
}

} // namespace kestrano::bench
