#include "tests/support/SshServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <netinet/in.h>
#include <pwd.h>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kestrano::test {
namespace {

void run(const std::string& command)
{
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

bool accepts(int port)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return connected;
}

std::string userName()
{
    const passwd* entry = getpwuid(getuid());
    return entry ? entry->pw_name : "root";
}

// The parent of a process, from /proc/PID/stat.
pid_t parentOf(pid_t process)
{
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t end = text.rfind(')');
    if (end == std::string::npos)
        return -1;
    std::istringstream rest(text.substr(end + 2));
    char state;
    pid_t parent = -1;
    rest >> state >> parent;
    return parent;
}

template <typename Visit> void forEachProcess(Visit&& visit)
{
    DIR* proc = opendir("/proc");
    while (dirent* entry = proc ? readdir(proc) : nullptr) {
        const pid_t process = static_cast<pid_t>(std::atoi(entry->d_name));
        if (process > 0)
            visit(process);
    }
    if (proc)
        closedir(proc);
}

} // namespace

int SshServer::freePort()
{
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(socket);
    return ntohs(address.sin_port);
}

SshServer::SshServer()
{
    run("ssh-keygen -q -t ed25519 -N '' -f " + dir.file("host") + " && ssh-keygen -q -t ed25519 -N '' -f "
        + clientKey() + " && ssh-keygen -q -t ed25519 -N '' -f " + strangerKey() + " && cp " + clientKey()
        + ".pub " + dir.file("authorized_keys"));
    ::mkdir(binFolder().c_str(), 0755);
    ::mkdir("/run/sshd", 0755); // sshd's privilege separation folder, as root
    port_ = freePort();
    writeFile(dir.file("sshd_config"),
        "Port " + std::to_string(port_) + "\nListenAddress 127.0.0.1\nHostKey " + dir.file("host")
            + "\nAuthorizedKeysFile " + dir.file("authorized_keys")
            + "\nStrictModes no\nUsePAM no\nPasswordAuthentication no\nKbdInteractiveAuthentication no\n"
              "PermitRootLogin prohibit-password\nPidFile none\nMaxStartups 100\nSetEnv PATH="
            + binFolder() + ":/usr/local/bin:/usr/bin:/bin\n");
    pid = ::fork();
    if (pid == 0) {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGTERM); // a crashed test leaves no server
        const std::string config = dir.file("sshd_config");
        const std::string log = dir.file("sshd.log");
        ::execl("/usr/sbin/sshd", "/usr/sbin/sshd", "-D", "-f", config.c_str(), "-E", log.c_str(), nullptr);
        ::_exit(127);
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!accepts(port_)) {
        if (std::chrono::steady_clock::now() > until || ::waitpid(pid, nullptr, WNOHANG) != 0)
            throw std::runtime_error("sshd did not start: " + readFile(dir.file("sshd.log")));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    setenv("KESTRANO_SSH_COMMAND", sshCommand(clientKey()).c_str(), 1);
}

SshServer::~SshServer()
{
    unsetenv("KESTRANO_SSH_COMMAND");
    killConnections();
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
}

std::string SshServer::sshCommand(const std::string& key) const
{
    return "ssh -F /dev/null -i '" + key + "' -o IdentitiesOnly=yes -o UserKnownHostsFile="
        + dir.file("known_hosts") + " -o StrictHostKeyChecking=accept-new -o LogLevel=ERROR";
}

std::string SshServer::name(const std::string& rest) const
{
    return "ssh://" + userName() + "@127.0.0.1:" + std::to_string(port_) + rest;
}

int SshServer::killConnections()
{
    int killed = 0;
    forEachProcess([&](pid_t process) {
        if (parentOf(process) == pid && ::kill(process, SIGKILL) == 0)
            ++killed;
    });
    return killed;
}

bool SshServer::processRunning(const std::string& text)
{
    bool found = false;
    forEachProcess([&](pid_t process) {
        std::ifstream file("/proc/" + std::to_string(process) + "/cmdline");
        std::string line((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        std::string state;
        std::ifstream status("/proc/" + std::to_string(process) + "/stat");
        std::getline(status, state);
        const bool zombie = state.find(") Z") != std::string::npos;
        if (!zombie && line.find(text) != std::string::npos)
            found = true;
    });
    return found;
}

} // namespace kestrano::test
