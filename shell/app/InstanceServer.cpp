#include "shell/app/InstanceServer.h"

#include "platform/SessionInstance.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace kestrano {

namespace {

// A request holds paths; one larger than this is no request of ours.
constexpr std::size_t kMostRequestBytes = 1 << 20;
// A peer that connects and goes quiet is dropped after this.
constexpr int kQuietMilliseconds = 10000;

} // namespace

// One accepted connection: reads the request as it arrives, answers that it is taken and has the
// files opened.
class InstanceServer::Connection {
public:
    Connection(InstanceServer& server, int fd)
        : server(server)
        , fd(fd)
        , readable(fd, QSocketNotifier::Read)
    {
        QObject::connect(&readable, &QSocketNotifier::activated, &server, [this] { read(); });
        quiet.setSingleShot(true);
        QObject::connect(&quiet, &QTimer::timeout, &server, [this] { end(); });
        quiet.start(kQuietMilliseconds);
    }
    ~Connection()
    {
        close(fd);
        for (int descriptor : descriptors)
            close(descriptor);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

private:
    void read()
    {
        bool gone = false; // the peer closed, or an error
        for (;;) {
            const int count = SessionInstance::receive(fd, received, descriptors);
            if (count > 0)
                continue;
            gone = count == 0 || (errno != EAGAIN && errno != EINTR);
            break;
        }
        SessionInstance::Request request;
        if (SessionInstance::decodeRequest(received, request.files, &request.activationToken)) {
            // The answer comes first: opening may show an error box, and the later instance must not
            // give up waiting and start a copy of its own meanwhile.
            const char* answer = SessionInstance::kAnswer;
            (void)!send(fd, answer, std::strlen(answer), MSG_DONTWAIT | MSG_NOSIGNAL);
            end();
            // The first descriptor is the stream's; a request sends no more.
            if (!descriptors.empty()) {
                request.stream = descriptors.front();
                descriptors.erase(descriptors.begin());
            }
            QTimer::singleShot(0, &server, [owner = &server, request] { owner->openFiles(request); });
        } else if (gone || received.size() > kMostRequestBytes) {
            end();
        }
    }

    // Deletes this object once Qt is done with the notifier's signal.
    void end()
    {
        readable.setEnabled(false);
        quiet.stop();
        QTimer::singleShot(0, &server, [server = &server, self = this] { server->finished(self); });
    }

    InstanceServer& server;
    int fd;
    QSocketNotifier readable;
    QTimer quiet;
    std::string received;
    std::vector<int> descriptors; // sent along, not yet handed on
};

InstanceServer::InstanceServer(SessionInstance& serving, OpenFiles open)
    : instance(serving)
    , openFiles(std::move(open))
{
    if (instance.listeningSocket() < 0)
        return;
    notifier = std::make_unique<QSocketNotifier>(instance.listeningSocket(), QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this, [this] { accept(); });
}

InstanceServer::~InstanceServer()
{
    stop();
}

void InstanceServer::stop()
{
    notifier.reset();
    connections.clear();
    instance.stopListening();
}

void InstanceServer::accept()
{
    for (;;) {
        const int fd = accept4(instance.listeningSocket(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        connections.push_back(std::make_unique<Connection>(*this, fd));
    }
}

void InstanceServer::finished(Connection* connection)
{
    const auto found = std::find_if(connections.begin(), connections.end(),
        [connection](const std::unique_ptr<Connection>& entry) { return entry.get() == connection; });
    if (found != connections.end())
        connections.erase(found);
}

} // namespace kestrano
