#include "tests/support/MadeLogs.h"

#include "tests/support/TempDir.h"

#include <cstdint>
#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrano::test {
namespace {

// 2026-12-08T04:00:00Z in microseconds.
constexpr uint64_t Start = 1796702400ULL * 1000000;

void appendField(std::string& text, const std::string& name, const std::string& value)
{
    if (value.find('\n') == std::string::npos) {
        text += name + "=" + value + "\n";
        return;
    }
    // The export format's binary form: the name, a line end, the length (64 bits, little endian).
    text += name + "\n";
    uint64_t length = value.size();
    for (int i = 0; i < 8; ++i, length >>= 8)
        text += static_cast<char>(length & 0xff);
    text += value + "\n";
}

} // namespace

JournalEntry journalEntry(int seconds, const std::string& message, const JournalEntry& fields)
{
    const uint64_t at = Start + static_cast<uint64_t>(seconds) * 1000000;
    JournalEntry entry = {{"__REALTIME_TIMESTAMP", std::to_string(at)},
        {"__MONOTONIC_TIMESTAMP", std::to_string(1000 + seconds)},
        {"_BOOT_ID", "0123456789abcdef0123456789abcdef"}, {"_HOSTNAME", "host1"}, {"MESSAGE", message}};
    entry.insert(entry.end(), fields.begin(), fields.end());
    return entry;
}

void runFilter(const std::vector<std::string>& command, const std::string& in, const std::string& out)
{
    std::vector<std::string> copies(command);
    std::vector<char*> argv;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int input = ::open(in.c_str(), O_RDONLY);
        const int output = out.empty() ? ::open("/dev/null", O_WRONLY)
                                       : ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int quiet = ::open("/dev/null", O_WRONLY);
        if (input < 0 || output < 0 || quiet < 0)
            _exit(126);
        dup2(input, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) { }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(command[0] + " failed");
}

void writeJournal(const std::string& path, const std::vector<JournalEntry>& entries)
{
    std::string text;
    for (const JournalEntry& entry : entries) {
        for (const auto& [name, value] : entry)
            appendField(text, name, value);
        text += "\n";
    }
    const std::string exported = path + ".export";
    writeFile(exported, text);
    runFilter({"/lib/systemd/systemd-journal-remote", "-o", path, exported}, "/dev/null", "");
    ::unlink(exported.c_str());
}

void writeCompressed(const std::string& path, const std::string& program, const std::string& text)
{
    const std::string plain = path + ".plain";
    writeFile(plain, text);
    runFilter({"/usr/bin/" + program, "-c"}, plain, path);
    ::unlink(plain.c_str());
}

} // namespace kestrano::test
