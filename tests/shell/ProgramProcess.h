// Runs a built program (kestrano, kestrano-tail) as a child process in the test's temporary HOME and
// XDG folders (offscreen unless the environment names a display platform), with its output kept in a
// file, so tests can start several at once and end them.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace kestrano::test {

class ProgramProcess {
public:
    // Starts program with argv[0] set to name and the arguments, in the working folder folder; input
    // becomes its standard input (-1: this process's).
    ProgramProcess(const std::string& program, const std::string& name,
        const std::vector<std::string>& arguments, const std::string& folder, int input = -1);
    // Kills a child still running.
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // Waits for the end, at most 30 seconds (a safety net for a broken program, not a timing); the exit
    // status, 128 + signal, or -1 when still running.
    int wait();
    bool running();
    // Whether it has a handler for the signal installed (a signal sent before would kill it).
    bool catches(int signal) const;
    // Sends the signal, then waits as wait().
    int stop(int signal);
    // What it wrote to standard output and error.
    std::string output() const;

private:
    pid_t pid = -1;
    int status = -1;
    std::string outputFile;
};

// The desktop program's configuration file in the test's folders, the socket a running one listens on,
// and the logs of the workspace saved in the file, sorted.
std::string configurationFile();
std::string socketFile();
std::vector<std::string> savedWorkspace();

// Polls condition every 20 ms until it holds; false after 30 seconds.
template <class Condition> bool eventually(Condition condition);

} // namespace kestrano::test

#include <chrono>
#include <thread>

template <class Condition> bool kestrano::test::eventually(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
