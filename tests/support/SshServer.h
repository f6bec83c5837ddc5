// An OpenSSH server for one test: sshd on 127.0.0.1 on a free port, with a host key and a client key
// made for it, and KESTRANO_SSH_COMMAND pointing the ssh client at them. Commands run there find the
// programs of binFolder() first.
#pragma once

#include "tests/support/TempDir.h"

#include <string>
#include <sys/types.h>

namespace kestrano::test {

class SshServer {
public:
    // Throws std::runtime_error when sshd does not come up.
    SshServer();
    ~SshServer();
    SshServer(const SshServer&) = delete;
    SshServer& operator=(const SshServer&) = delete;

    int port() const { return port_; }
    // "ssh://USER@127.0.0.1:PORT" + rest.
    std::string name(const std::string& rest) const;
    // A folder searched first by the commands run through the server.
    std::string binFolder() const { return dir.file("bin"); }
    // The client's key, and a key the server does not know.
    std::string clientKey() const { return dir.file("client"); }
    std::string strangerKey() const { return dir.file("stranger"); }
    // The ssh command of KESTRANO_SSH_COMMAND with the key given.
    std::string sshCommand(const std::string& key) const;
    // Kills the server's processes of every connection (the listener stays); how many there were.
    int killConnections();
    // Whether a process runs whose command line holds text.
    static bool processRunning(const std::string& text);
    // A port on 127.0.0.1 nobody listens on.
    static int freePort();

private:
    TempDir dir;
    int port_ = 0;
    pid_t pid = -1;
};

} // namespace kestrano::test
