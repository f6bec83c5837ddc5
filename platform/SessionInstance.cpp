#include "platform/SessionInstance.h"

#include "config/Path.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

namespace kestrano {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRetryMilliseconds = 20;

// A folder of the session for this user alone: created 0700 when missing, refused when another user
// owns it.
bool MakePrivateFolder(const std::string& path)
{
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat status;
    return lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == geteuid();
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('/'));
}

uint64_t HashOf(const std::string& text)
{
    uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (unsigned char c : text)
        hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

bool AddressOf(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int MillisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits until fd is ready for events; false at the deadline or on an error.
bool WaitFor(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        struct pollfd entry = {fd, events, 0};
        const int ready = poll(&entry, 1, MillisecondsUntil(deadline));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

// Sends the first bytes of a request with a descriptor of this process attached.
ssize_t SendWithDescriptor(int connection, const char* bytes, std::size_t size, int descriptor)
{
    iovec part = {const_cast<char*>(bytes), size};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message {};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = SOL_SOCKET;
    header->cmsg_type = SCM_RIGHTS;
    header->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(header), &descriptor, sizeof descriptor);
    return sendmsg(connection, &message, MSG_NOSIGNAL);
}

void Pause()
{
    const struct timespec pause = {0, kRetryMilliseconds * 1000000L};
    nanosleep(&pause, nullptr);
}

// A stream socket listening at path, or connected to the one listening there; -1 on failure.
int OpenSocket(const std::string& path, bool listening)
{
    sockaddr_un address;
    if (!AddressOf(path, address))
        return -1;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    const sockaddr* target = reinterpret_cast<const sockaddr*>(&address);
    const bool ready = listening ? bind(fd, target, sizeof address) == 0 && listen(fd, 16) == 0
                                 : connect(fd, target, sizeof address) == 0;
    if (!ready) {
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

SessionInstance::SessionInstance(const std::string& key)
    : socketFile(socketPath(key))
{ }

SessionInstance::~SessionInstance()
{
    stopListening();
    if (lock >= 0)
        close(lock);
}

std::string SessionInstance::socketPath(const std::string& key)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || runtime[0] != '/')
        return std::string();
    char name[40];
    std::snprintf(name, sizeof name, "instance-%016llx.socket", static_cast<unsigned long long>(HashOf(key)));
    const std::string path = std::string(runtime) + "/" + haspel::kVendorFolderName + "/"
        + haspel::kApplicationName + "/" + name;
    sockaddr_un address;
    return AddressOf(path, address) ? path : std::string();
}

SessionInstance::Role SessionInstance::claimOrHandOver(const Request& request)
{
    const std::string folder = FolderOf(socketFile);
    if (socketFile.empty() || !MakePrivateFolder(FolderOf(folder)) || !MakePrivateFolder(folder))
        return Role::Alone;
    const std::string lockFile = socketFile.substr(0, socketFile.rfind('.')) + ".lock";
    lock = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lock < 0)
        return Role::Alone;

    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kConnectMilliseconds);
    for (;;) {
        // The lock dies with its holder, so a free lock means a socket file is a crash's leftover.
        if (flock(lock, LOCK_EX | LOCK_NB) == 0) {
            unlink(socketFile.c_str());
            listener = OpenSocket(socketFile, true);
            return Role::Primary;
        }
        if (const int connection = OpenSocket(socketFile, false); connection >= 0) {
            const bool answered = handOver(connection, request);
            close(connection);
            if (answered) {
                close(lock);
                lock = -1;
                return Role::HandedOver;
            }
            break;
        }
        if (Clock::now() >= deadline)
            break;
        Pause();
    }
    close(lock);
    lock = -1;
    return Role::Alone;
}

bool SessionInstance::handOver(int connection, const Request& handed)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kAnswerMilliseconds);
    const std::string request = encodeRequest(handed.files, handed.activationToken);
    for (std::size_t sent = 0; sent < request.size();) {
        // The stream's descriptor goes with the first byte.
        const ssize_t count = sent == 0 && handed.stream >= 0
            ? SendWithDescriptor(connection, request.data(), request.size(), handed.stream)
            : send(connection, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (count > 0)
            sent += static_cast<std::size_t>(count);
        else if (count < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        else if (!WaitFor(connection, POLLOUT, deadline))
            return false;
    }
    const std::string expected(kAnswer);
    std::string answer;
    while (answer.size() < expected.size()) {
        char buffer[64];
        const ssize_t count = recv(connection, buffer, sizeof buffer, 0);
        if (count > 0)
            answer.append(buffer, static_cast<std::size_t>(count));
        else if (count == 0 || (errno != EAGAIN && errno != EINTR))
            return false;
        else if (!WaitFor(connection, POLLIN, deadline))
            return false;
    }
    return answer.compare(0, expected.size(), expected) == 0;
}

void SessionInstance::stopListening()
{
    if (listener < 0)
        return;
    close(listener);
    listener = -1;
    unlink(socketFile.c_str());
}

std::string SessionInstance::encodeRequest(const std::vector<std::string>& files, const std::string& token)
{
    std::string request;
    for (const std::string& file : files)
        if (!file.empty())
            request.append(file).push_back('\0');
    request.push_back('\0');
    request.append(token.c_str()).push_back('\0');
    return request;
}

bool SessionInstance::decodeRequest(
    const std::string& received, std::vector<std::string>& files, std::string* token)
{
    files.clear();
    for (std::size_t start = 0;;) {
        const std::size_t end = received.find('\0', start);
        if (end == std::string::npos)
            return false;
        if (end == start) {
            const std::size_t tokenEnd = received.find('\0', end + 1);
            if (tokenEnd == std::string::npos)
                return false;
            if (token)
                token->assign(received, end + 1, tokenEnd - end - 1);
            return true;
        }
        files.push_back(received.substr(start, end - start));
        start = end + 1;
    }
}

int SessionInstance::receive(int connection, std::string& received, std::vector<int>& descriptors)
{
    char buffer[4096];
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * 4)];
    iovec part = {buffer, sizeof buffer};
    msghdr message {};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t count = recvmsg(connection, &message, MSG_DONTWAIT | MSG_CMSG_CLOEXEC);
    if (count < 0)
        return -1;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header; header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS)
            continue;
        const std::size_t given = (header->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (std::size_t i = 0; i < given; ++i) {
            int fd;
            std::memcpy(&fd, CMSG_DATA(header) + i * sizeof(int), sizeof fd);
            descriptors.push_back(fd);
        }
    }
    received.append(buffer, static_cast<std::size_t>(count));
    return static_cast<int>(count);
}

} // namespace kestrano
