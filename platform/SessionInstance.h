// One Kestrano per configuration in a user session. The first instance holds an exclusive flock on a
// lock file and listens on a local socket beside it, in $XDG_RUNTIME_DIR/Tormalind/Kestrano (the
// session's private folder); a later one finds the lock taken and hands its files over the socket, with
// the launcher's activation token and, for a log read from its standard input, that descriptor.
#pragma once

#include <string>
#include <vector>

namespace kestrano {

class SessionInstance {
public:
    enum class Role {
        Primary, // this is the running instance; the socket listens
        HandedOver, // the running instance took the files
        Alone, // no session folder, or the running instance did not answer: start on its own
    };

    // How long a second instance tries to reach the first: connecting (the lock is held while the
    // first one starts, before it listens, and while it saves at exit) and waiting for the answer.
    static constexpr int kConnectMilliseconds = 2000;
    static constexpr int kAnswerMilliseconds = 5000;

    // key names what one instance owns alone: the configuration file's path.
    explicit SessionInstance(const std::string& key);
    // Stops listening and releases the lock.
    ~SessionInstance();
    SessionInstance(const SessionInstance&) = delete;
    SessionInstance& operator=(const SessionInstance&) = delete;

    // What a later instance hands over.
    struct Request {
        std::vector<std::string> files; // log names; "-" is the stream
        std::string activationToken; // the launcher's (empty: none)
        int stream = -1; // the descriptor of "-", sent along (-1: none)
    };

    // Takes the lock and listens (a socket file left by a crash is replaced), or hands the request to
    // the instance that holds it.
    Role claimOrHandOver(const Request& request);
    // The listening socket of the primary instance, else -1.
    int listeningSocket() const { return listener; }
    // Closes the socket and removes its file; the lock stays until destruction, so a new instance
    // waits while this one saves its configuration.
    void stopListening();

    // The socket's path for key, empty without a usable session folder.
    static std::string socketPath(const std::string& key);

    // The request: each file followed by a NUL, one more NUL, the activation token and a NUL.
    static std::string encodeRequest(const std::vector<std::string>& files, const std::string& token = {});
    // Reads a request received so far: true once it is complete, with its files and token.
    static bool decodeRequest(
        const std::string& received, std::vector<std::string>& files, std::string* token = nullptr);
    // Receives what has arrived on a connection without waiting: bytes to received, descriptors sent
    // along (close-on-exec, now this process's) to descriptors. The count of bytes, 0 at the peer's
    // end, -1 on an error (errno).
    static int receive(int connection, std::string& received, std::vector<int>& descriptors);
    // The running instance's answer once it has the request; it opens the files after answering.
    static constexpr const char* kAnswer = "accepted\n";

private:
    bool handOver(int connection, const Request& request);

    std::string socketFile;
    int lock = -1;
    int listener = -1;
};

} // namespace kestrano
