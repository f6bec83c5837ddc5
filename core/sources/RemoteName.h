// The names of remote logs: ssh://[USER@]HOST[:PORT]/PATH for a file, ssh://[USER@]HOST[:PORT]/?journal
// and ?journal=UNIT for that host's journal.
#pragma once

#include <string>

namespace kestrano {

inline constexpr const char* RemotePrefix = "ssh://";

struct RemoteName {
    std::string user; // empty: ssh's choice
    std::string host;
    std::string port; // empty: ssh's choice
    std::string path; // the absolute path of the file; empty for the journal
    bool journal = false;
    std::string unit; // the journal's unit; empty: all entries

    // The host as ssh takes it: [USER@]HOST.
    std::string getDestination() const;
    // The name the log is known by.
    std::string getName() const;
};

// Whether the name is a remote one (it may still be malformed).
bool isRemoteName(const char* name);
// The parts of a remote name; false when it is not one or is malformed (no host, a relative or empty
// path, a host, user or port ssh could take for an option).
bool parseRemoteName(const char* name, RemoteName& remote);

} // namespace kestrano
