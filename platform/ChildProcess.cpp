#include "platform/ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kestrano {
namespace {

class ChildProcess : public RunningProcess {
public:
    ChildProcess(pid_t pid, int output, int errors)
        : pid(pid)
        , output(output)
        , errors(errors)
    { }
    ~ChildProcess() override
    {
        ::close(output);
        ::close(errors);
        if (pid <= 0)
            return;
        // The group: a command that is a script ends with what it started.
        ::kill(-pid, SIGTERM);
        for (int tries = 0; tries < 100; ++tries) {
            if (::waitpid(pid, nullptr, WNOHANG) != 0)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ::kill(-pid, SIGKILL);
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) { }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    int getOutput() const override { return output; }
    int getErrors() const override { return errors; }
    bool hasEnded(int& status) override
    {
        if (pid <= 0) {
            status = exitStatus;
            return true;
        }
        int raw = 0;
        const pid_t got = ::waitpid(pid, &raw, WNOHANG);
        if (got == 0 || (got < 0 && errno == EINTR))
            return false;
        exitStatus = got < 0 ? 255 : WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        ::kill(-pid, SIGTERM); // what the command left behind in its group
        pid = 0;
        status = exitStatus;
        return true;
    }

private:
    pid_t pid;
    const int output;
    const int errors;
    int exitStatus = 0;
};

// The program file a name means, as execvp would find it (looked up before forking, which leaves the
// child only async-signal-safe calls).
std::string findProgram(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return name;
    const char* path = std::getenv("PATH");
    std::string folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        std::string candidate = folders.substr(start, end - start);
        candidate = (candidate.empty() ? "." : candidate) + '/' + name;
        struct stat status;
        if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode)
            && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

} // namespace

std::unique_ptr<RunningProcess> ChildProcessStarter::start(
    const std::vector<std::string>& arguments, std::string& reason)
{
    if (arguments.empty()) {
        reason = "no command";
        return nullptr;
    }
    const std::string program = findProgram(arguments[0]);
    if (program.empty()) {
        reason = arguments[0] + ": command not found";
        return nullptr;
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int output[2];
    int errors[2];
    if (::pipe2(output, O_CLOEXEC) != 0) {
        reason = std::strerror(errno);
        return nullptr;
    }
    if (::pipe2(errors, O_CLOEXEC) != 0) {
        reason = std::strerror(errno);
        ::close(output[0]);
        ::close(output[1]);
        return nullptr;
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Dies with this program, even when it is killed; its group is ended with it.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        ::setpgid(0, 0);
        const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (nothing < 0 || ::dup2(nothing, STDIN_FILENO) < 0 || ::dup2(output[1], STDOUT_FILENO) < 0
            || ::dup2(errors[1], STDERR_FILENO) < 0)
            ::_exit(127);
        ::signal(SIGPIPE, SIG_DFL);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    const int error = errno;
    ::close(output[1]);
    ::close(errors[1]);
    if (pid < 0) {
        reason = std::strerror(error);
        ::close(output[0]);
        ::close(errors[0]);
        return nullptr;
    }
    ::setpgid(pid, pid); // also here, so the group exists before the child runs
    ::fcntl(output[0], F_SETFL, O_NONBLOCK);
    ::fcntl(errors[0], F_SETFL, O_NONBLOCK);
    return std::make_unique<ChildProcess>(pid, output[0], errors[0]);
}

ProcessStarter& systemProcessStarter()
{
    static ChildProcessStarter starter;
    return starter;
}

} // namespace kestrano
