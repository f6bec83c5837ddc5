// The running Kestrano's side of the session socket: accepts the requests of later instances without
// blocking the window, answers and hands their requests to the program.
#pragma once

#include "platform/SessionInstance.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

namespace kestrano {

class InstanceServer : public QObject {
public:
    // Takes the request; a stream's descriptor is its own then (to close).
    using OpenFiles = std::function<void(const SessionInstance::Request&)>;

    // Serves the instance's listening socket; nothing when it has none. The instance must outlive
    // this object.
    InstanceServer(SessionInstance& instance, OpenFiles openFiles);
    // Stops.
    ~InstanceServer() override;

    // Drops every connection and stops the instance listening, so later instances wait for this one
    // to end instead of handing it files it would no longer open.
    void stop();

private:
    class Connection;

    void accept();
    void finished(Connection* connection);

    SessionInstance& instance;
    OpenFiles openFiles;
    std::unique_ptr<QSocketNotifier> notifier;
    std::vector<std::unique_ptr<Connection>> connections;
};

} // namespace kestrano
