#include "bench/SyntheticLog.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <time.h>

namespace kestrano::bench {

namespace {

const char* const Lines[] = {
    "2026-12-07 10:15:32.117 [worker-3] DEBUG cache lookup for key user:4711 took 3 ms",
    "2026-12-07 10:15:32.120 [worker-1] Info request GET /api/orders completed with status 200",
    "2026-12-07 10:15:32.131 [main] NOTICE configuration reloaded from /etc/app/app.conf",
    "2026-12-07 10:15:32.140 [worker-2] Warning: connection pool at 85 percent of its capacity",
    "2026-12-07 10:15:32.152 [worker-4] ERROR failed to write audit record, retrying in 5 s",
    "2026-12-07 10:15:32.160 [worker-4] java.lang.IllegalStateException: queue closed",
    "2026-12-07 10:15:32.171 [main] FATAL out of file handles, shutting down",
    "2026-12-07 10:15:32.183 [scheduler] job nightly-report started by cron",
    "2026-12-07 10:15:32.190 [worker-5] critical section held for 250 ms by thread 17",
    "2026-12-07 10:15:32.201 [worker-1] debg heartbeat sent to 10.0.0.12:7000",
    "2026-12-07 10:15:32.214 [scheduler] 1832 rows exported to /var/tmp/export.csv",
};
const char* const Continuation = "    at com.example.app.Service.handle(Service.java:214)";
constexpr int LineCount = sizeof Lines / sizeof Lines[0];

} // namespace

uint64_t appendSyntheticLog(const char* path, uint64_t bytes)
{
    FILE* file = std::fopen(path, "ab");
    if (!file)
        return 0;
    std::string block;
    uint64_t written = 0;
    uint32_t state = 12345;
    while (written < bytes) {
        block.clear();
        const uint64_t wanted = std::min<uint64_t>(1u << 20, bytes - written);
        while (block.size() < wanted) {
            state = state * 1103515245u + 12345u;
            const uint32_t pick = (state >> 8) % 1000;
            block += pick < 20 ? Continuation : Lines[pick % LineCount];
            block += '\n';
        }
        if (std::fwrite(block.data(), 1, block.size(), file) != block.size())
            break;
        written += block.size();
    }
    std::fclose(file);
    return written;
}

double timeGrep(const char* path, long& matches)
{
    const std::string command = std::string("grep -c -i -F -e debug -e debg -e info -e notice -e warn"
                                            " -e error -e exception -e fatal -e crit '")
        + path + "'";
    const double start = now();
    FILE* output = popen(command.c_str(), "r");
    if (!output)
        return -1;
    if (std::fscanf(output, "%ld", &matches) != 1)
        matches = -1;
    const int status = pclose(output);
    const double seconds = now() - start;
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) <= 1 ? seconds : -1;
}

double now()
{
    struct timespec time;
    clock_gettime(CLOCK_MONOTONIC, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

} // namespace kestrano::bench
