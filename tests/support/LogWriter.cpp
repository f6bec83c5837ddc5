// kestrano_log_writer PATH COUNT RATE MODE: appends COUNT numbered lines ("000000042 error line\n")
// to PATH at RATE lines a second, as a program writing its log does. MODE says how it holds the file:
// "reopen" opens it by name for each line, "hold" keeps one descriptor, "hup" keeps one and opens the
// name again after SIGHUP. Used by the rotation tests; exits 0 when all lines were written.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t reopenAsked = 0;

void askReopen(int)
{
    reopenAsked = 1;
}

int openLog(const char* path)
{
    int fd;
    do {
        fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        std::perror(path);
        std::exit(1);
    }
    return fd;
}

void writeAll(int fd, const char* bytes, size_t n)
{
    while (n > 0) {
        const ssize_t written = write(fd, bytes, n);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            std::perror("write");
            std::exit(1);
        }
        bytes += written;
        n -= static_cast<size_t>(written);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fputs("usage: kestrano_log_writer PATH COUNT RATE reopen|hold|hup\n", stderr);
        return 2;
    }
    const char* path = argv[1];
    const long count = std::atol(argv[2]);
    const long rate = std::atol(argv[3]);
    const bool reopenEachLine = std::strcmp(argv[4], "reopen") == 0;
    if (std::strcmp(argv[4], "hup") == 0) {
        struct sigaction action { };
        action.sa_handler = askReopen;
        sigaction(SIGHUP, &action, nullptr);
    }
    int fd = reopenEachLine ? -1 : openLog(path);
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (long i = 0; i < count; ++i) {
        // Line i is due at start + i / rate; a writer that fell behind catches up without sleeping.
        const long long due
            = static_cast<long long>(start.tv_sec) * 1000000000LL + start.tv_nsec + i * 1000000000LL / rate;
        const timespec at {static_cast<time_t>(due / 1000000000LL), static_cast<long>(due % 1000000000LL)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) { }
        if (reopenAsked) {
            reopenAsked = 0;
            close(fd);
            fd = openLog(path);
        }
        if (reopenEachLine)
            fd = openLog(path);
        char line[64];
        const int n = std::snprintf(line, sizeof line, "%09ld error line\n", i);
        writeAll(fd, line, static_cast<size_t>(n));
        if (reopenEachLine)
            close(fd);
    }
    if (fd >= 0)
        close(fd);
    return 0;
}
