#include "core/sources/RemoteCommand.h"

#include <cstdlib>
#include <sstream>

namespace kestrano {
namespace {

bool contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

// The login shell of the remote user may be any shell: the script runs in sh, quoted once for it.
std::string inShell(const std::string& script)
{
    return "exec sh -c " + shellQuote(script);
}

} // namespace

std::vector<std::string> splitShellWords(const std::string& command)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const size_t end = command.find('\'', i + 1);
            word.append(command, i + 1, (end == std::string::npos ? command.size() : end) - i - 1);
            i = end == std::string::npos ? command.size() : end;
        } else if (c == '"') {
            for (++i; i < command.size() && command[i] != '"'; ++i) {
                // In double quotes a backslash quotes only these.
                if (command[i] == '\\' && i + 1 < command.size()
                    && std::string("$`\"\\\n").find(command[i + 1]) != std::string::npos)
                    ++i;
                word += command[i];
            }
        } else if (c == '\\' && i + 1 < command.size()) {
            word += command[++i];
        } else {
            word += c;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

std::string shellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + '\'';
}

std::vector<std::string> sshArguments(const RemoteName& remote, const std::string& remoteCommand)
{
    const char* command = std::getenv("KESTRANO_SSH_COMMAND");
    std::vector<std::string> arguments = splitShellWords(command && *command ? command : "ssh");
    if (arguments.empty())
        arguments.push_back("ssh");
    // No prompt may wait for an answer; a host that stops answering counts as lost.
    for (const char* option : {"-n", "-T", "-o", "BatchMode=yes", "-o", "ServerAliveInterval=15", "-o",
             "ServerAliveCountMax=3", "-o", "ConnectTimeout=20"})
        arguments.push_back(option);
    if (!remote.port.empty()) {
        arguments.push_back("-p");
        arguments.push_back(remote.port);
    }
    arguments.push_back("--");
    arguments.push_back(remote.getDestination());
    arguments.push_back(remoteCommand);
    return arguments;
}

std::string fileCommand(const std::string& path, int64_t tailBytes, const FilePlace& resume, bool once)
{
    std::ostringstream script;
    // A missing file in a folder that can't be searched is a permission problem.
    script << "f=" << shellQuote(path) << "; n=" << tailBytes << "; i0=" << shellQuote(resume.identity)
           << "; o=" << resume.offset << "; "
           << "if [ ! -e \"$f\" ]; then d=${f%/*}; [ -x \"${d:-/}/\" ] && exit " << MissingStatus << "; exit "
           << PermissionStatus << "; fi; "
           << "[ -r \"$f\" ] || exit " << PermissionStatus << "; "
           << "s=$(stat -L -c '%d:%i %s' \"$f\") || exit " << PermissionStatus << "; "
           << "i=${s% *}; z=${s#* }; "
           << "if [ \"$i\" = \"$i0\" ] && [ \"$z\" -ge \"$o\" ]; then b=$o; m=R; "
           << "elif [ \"$n\" -lt 0 ] || [ \"$z\" -le \"$n\" ]; then b=0; m=T; "
           << "else b=$((z - n)); m=T; fi; "
           << "echo \"" << RemoteHeader << "$m $i $b\"; "
           << "exec tail -c +$((b + 1)) " << (once ? "" : "-F ") << "\"$f\"";
    return inShell(script.str());
}

std::string journalCommand(const std::string& unit, const std::string& cursor, int32_t entries, bool once)
{
    std::string script = std::string("echo ") + RemoteHeader + "J; exec journalctl --no-pager -o export";
    if (!once)
        script += " -f";
    if (!unit.empty())
        script += " -u " + shellQuote(unit);
    if (!cursor.empty())
        script += " --after-cursor=" + shellQuote(cursor);
    else
        script += " -n " + std::to_string(entries > 0 ? entries : 0);
    return inShell(script);
}

RemoteFault classifyRemoteFault(int status, const std::string& errors, bool connected)
{
    if (connected)
        return RemoteFault::Lost;
    if (status == MissingStatus)
        return RemoteFault::Missing;
    if (status == PermissionStatus)
        return RemoteFault::Permission;
    if (status != 255)
        return RemoteFault::Other;
    if (contains(errors, "Permission denied (") || contains(errors, "Too many authentication failures")
        || contains(errors, "Host key verification failed"))
        return RemoteFault::KeyRefused;
    return RemoteFault::Unreachable;
}

std::string remoteFaultReason(const std::string& errors, int status)
{
    // The last line that is not a warning nor the remote tail's.
    std::string reason;
    std::istringstream lines(errors);
    std::string line;
    while (std::getline(lines, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '.'))
            line.pop_back();
        if (line.empty() || line.rfind("Warning: ", 0) == 0 || line.rfind("tail: ", 0) == 0)
            continue;
        reason = line.rfind("ssh: ", 0) == 0 ? line.substr(5) : line;
    }
    if (!reason.empty())
        return reason;
    if (status > 128 && status < 160)
        return "ended by signal " + std::to_string(status - 128);
    return status == 0 ? "connection closed" : "exit status " + std::to_string(status);
}

bool tailSwitchedFile(const std::string& line)
{
    return line.rfind("tail: ", 0) == 0
        && (contains(line, "has been replaced") || contains(line, "truncated")
            || contains(line, "has appeared") || contains(line, "has become accessible")
            || contains(line, "inaccessible"));
}

} // namespace kestrano
