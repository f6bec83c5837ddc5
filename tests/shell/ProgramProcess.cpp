#include "tests/shell/ProgramProcess.h"

#include "config/Config.h"
#include "platform/SessionInstance.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrano::test {

ProgramProcess::ProgramProcess(const std::string& program, const std::string& name,
    const std::vector<std::string>& arguments, const std::string& folder, int input)
{
    static int started = 0;
    outputFile = folder + "/.output-" + std::to_string(getpid()) + "-" + std::to_string(++started);
    std::vector<std::string> copies {name};
    copies.insert(copies.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::string path = program;

    pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || chdir(folder.c_str()) != 0)
            _exit(126);
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        if (input >= 0)
            dup2(input, STDIN_FILENO);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
}

ProgramProcess::~ProgramProcess()
{
    if (running())
        stop(SIGKILL);
    std::remove(outputFile.c_str());
}

bool ProgramProcess::running()
{
    if (pid <= 0)
        return false;
    int raw = 0;
    if (waitpid(pid, &raw, WNOHANG) != pid)
        return true;
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    pid = -1;
    return false;
}

int ProgramProcess::wait()
{
    if (!eventually([this] { return !running(); }))
        return -1;
    return status;
}

bool ProgramProcess::catches(int signal) const
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1) & 1) != 0;
    return false;
}

int ProgramProcess::stop(int signal)
{
    if (running())
        kill(pid, signal);
    return wait();
}

std::string ProgramProcess::output() const
{
    try {
        return readFile(outputFile);
    } catch (const std::exception&) {
        return std::string();
    }
}

std::string configurationFile()
{
    return std::string(std::getenv("XDG_CONFIG_HOME")) + "/Tormalind/Kestrano/kestrano.cfg";
}

std::string socketFile()
{
    return SessionInstance::socketPath(configurationFile());
}

std::vector<std::string> savedWorkspace()
{
    haspel::Config config;
    if (!config.LoadFile(configurationFile().c_str()))
        return {};
    std::vector<std::string> paths;
    haspel::ConfigSection* workspace = config.GetRoot().FindSection("Workspace");
    if (!workspace)
        return {};
    std::unique_ptr<haspel::PointeredList> names(workspace->GetSections().GetKeys());
    for (haspel::PointeredListItem* item = names->GetHead(); item; item = item->GetNext())
        paths.emplace_back(static_cast<const char*>(item->GetPointer()));
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace kestrano::test
