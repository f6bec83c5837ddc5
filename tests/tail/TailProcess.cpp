#include "tests/tail/TailProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace kestrano::test {
namespace {

void closeIfOpen(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

TailProcess::TailProcess(const std::vector<std::string>& arguments, const TailLaunch& launch)
{
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    if (launch.terminal) {
        ::close(out[0]);
        ::close(out[1]);
        out[0] = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (out[0] < 0 || grantpt(out[0]) != 0 || unlockpt(out[0]) != 0)
            throw std::runtime_error("no pseudo-terminal");
        out[1] = ::open(ptsname(out[0]), O_RDWR | O_NOCTTY | O_CLOEXEC);
        struct termios mode;
        if (out[1] < 0 || tcgetattr(out[1], &mode) != 0)
            throw std::runtime_error("no pseudo-terminal");
        cfmakeraw(&mode);
        tcsetattr(out[1], TCSANOW, &mode);
    }
    int in[2] = {-1, -1};
    if (launch.inputPipe && pipe2(in, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<char*> argv;
    std::vector<std::string> copies(launch.wrapper);
    copies.push_back(KESTRANO_TAIL_PROGRAM);
    copies.insert(copies.end(), arguments.begin(), arguments.end());
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        if (in[0] >= 0)
            dup2(in[0], STDIN_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    closeIfOpen(in[0]);
    inPipe = in[1];
    outPipe = out[0];
    errPipe = err[0];
}

TailProcess::~TailProcess()
{
    if (pid > 0)
        stop(SIGKILL);
    closeIfOpen(outPipe);
    closeIfOpen(errPipe);
    closeIfOpen(inPipe);
}

void TailProcess::writeInput(const std::string& text)
{
    for (size_t done = 0; done < text.size();) {
        const ssize_t wrote = ::write(inPipe, text.data() + done, text.size() - done);
        if (wrote <= 0)
            throw std::runtime_error("cannot write to the program's input");
        done += static_cast<size_t>(wrote);
    }
}

void TailProcess::closeInput()
{
    closeIfOpen(inPipe);
}

bool TailProcess::waitForOutput(const std::string& text)
{
    return waitFor(text, "out");
}

bool TailProcess::waitForError(const std::string& text)
{
    return waitFor(text, "err");
}

bool TailProcess::waitFor(const std::string& text, const std::string& where)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    const std::string& seen = where == "out" ? output : errors;
    while (seen.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline || !readAvailable(100))
            return seen.find(text) != std::string::npos;
    }
    return true;
}

// Reads what either pipe holds, waiting up to the timeout; false when both pipes are at their end.
bool TailProcess::readAvailable(int timeoutMilliseconds)
{
    struct pollfd fds[2] = {{outPipe, POLLIN, 0}, {errPipe, POLLIN, 0}};
    if (outPipe < 0 && errPipe < 0)
        return false;
    if (poll(fds, 2, timeoutMilliseconds) < 0)
        return errno == EINTR;
    int* pipes[2] = {&outPipe, &errPipe};
    std::string* texts[2] = {&output, &errors};
    for (int i = 0; i < 2; ++i) {
        if (*pipes[i] < 0 || fds[i].revents == 0)
            continue;
        char buffer[4096];
        const ssize_t got = ::read(*pipes[i], buffer, sizeof buffer);
        if (got > 0)
            texts[i]->append(buffer, static_cast<size_t>(got));
        else
            closeIfOpen(*pipes[i]);
    }
    return outPipe >= 0 || errPipe >= 0;
}

void TailProcess::closeOutput()
{
    closeIfOpen(outPipe);
}

int TailProcess::stop(int signal)
{
    kill(pid, signal);
    return wait();
}

int TailProcess::wait()
{
    while (readAvailable(100)) { }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int TailProcess::stopWithoutReading(int signal)
{
    kill(pid, signal);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            stop(SIGKILL);
            return -1;
        }
        poll(nullptr, 0, 10);
    }
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TailResult runTail(const std::vector<std::string>& arguments, const TailLaunch& launch)
{
    TailProcess process(arguments, launch);
    TailResult result;
    result.status = process.wait();
    result.out = process.out();
    result.err = process.err();
    return result;
}

} // namespace kestrano::test
