// What a remote log runs: the ssh command line (KESTRANO_SSH_COMMAND or ssh, in batch mode), the POSIX
// shell script that reads a file's tail or the journal on the remote host, and why a run failed.
#pragma once

#include "core/sources/RemoteName.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrano {

// The words of a command as a POSIX shell splits it: blanks separate, quotes and backslashes quote.
std::vector<std::string> splitShellWords(const std::string& command);
// The text as one word of a POSIX shell.
std::string shellQuote(const std::string& text);

// The ssh command line that runs the remote command on the host of remote.
std::vector<std::string> sshArguments(const RemoteName& remote, const std::string& remoteCommand);

// Where a remote file is read from.
struct FilePlace {
    std::string identity; // "DEVICE:INODE" as the remote stat says; empty: unknown
    uint64_t offset = 0; // the byte after the last one received
};

// The first line of a remote run's output: "kestrano T|R IDENTITY OFFSET" for a file (T: from the tail,
// R: resumed), "kestrano J" for the journal.
inline constexpr const char* RemoteHeader = "kestrano ";
// The remote file's status when it is missing, and when it can't be read.
inline constexpr int MissingStatus = 66;
inline constexpr int PermissionStatus = 77;

// The remote command that reads a file: resumed at resume.offset when the file there is the same and
// not shorter, else its last tailBytes (negative: all); following it by name unless once.
std::string fileCommand(const std::string& path, int64_t tailBytes, const FilePlace& resume, bool once);
// The remote command that reads the journal in the export form: after the entry of cursor, or the last
// entries; following unless once.
std::string journalCommand(const std::string& unit, const std::string& cursor, int32_t entries, bool once);

// Why a run of the ssh command ended.
enum class RemoteFault {
    Lost, // it had connected
    Unreachable,
    KeyRefused,
    Missing,
    Permission,
    Other,
};
RemoteFault classifyRemoteFault(int status, const std::string& errors, bool connected);
// The line of ssh's (or the remote command's) standard error that says why, without "ssh: ".
std::string remoteFaultReason(const std::string& errors, int status);
// Whether a line of the remote tail's standard error says it now follows another file, or the file
// from its start.
bool tailSwitchedFile(const std::string& line);

} // namespace kestrano
