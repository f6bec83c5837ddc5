#include "core/sources/RemoteSource.h"

#include "core/ports/ProcessStarter.h"
#include "core/settings/MonitorSettings.h"
#include "core/text/Severity.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <poll.h>
#include <sstream>
#include <unistd.h>

namespace kestrano {
namespace {

// A read this large says more is on its way: the read waits for it, up to its deadline.
constexpr ssize_t BusyReadBytes = 16384;
constexpr size_t KeptErrorBytes = 8192;
constexpr size_t LongestGreeting = 65536;

// Waits for the descriptor to be readable until the deadline; whether it is.
bool waitReadable(int descriptor, LogSource::Deadline deadline)
{
    const auto left
        = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    struct pollfd ready = {descriptor, POLLIN, 0};
    return ::poll(&ready, 1, static_cast<int>(std::max<int64_t>(left.count(), 0))) > 0;
}

} // namespace

RemoteSource::RemoteSource(const char* name, ProcessStarter* processes, bool once)
    : valid(parseRemoteName(name, remote))
    , processes(processes)
    , once(once)
{ }

RemoteSource::~RemoteSource() = default;

void RemoteSource::restart()
{
    process.reset();
    fresh = true;
    done = false;
    place = {};
    cursor.clear();
    nextAttempt = {};
    retryDelay = FirstRetryDelay;
}

LogSource::Result RemoteSource::readNew(LogSink& sink, const ReadRequest& request)
{
    if (done)
        return Result::Unchanged;
    if (!valid)
        return fail(
            RemoteFault::Other, "not a remote log name: ssh://[USER@]HOST[:PORT]/PATH or /?journal[=UNIT]");
    if (!process) {
        if (Clock::now() < nextAttempt)
            return Result::Unchanged;
        if (!connect(request)) {
            scheduleRetry();
            return fail(RemoteFault::Other, reason);
        }
    }
    Result result = Result::Unchanged;
    bool busy = once;
    char buffer[65536];
    while (true) {
        readErrors();
        if (outputEnded) {
            int status = 0;
            if (process->hasEnded(status)) {
                readErrors();
                return ended(sink, status);
            }
            // Its output closed, the process ends in a moment.
            if (!once || Clock::now() >= request.deadline)
                return once ? Result::Behind : result;
            waitReadable(process->getErrors(),
                std::min(request.deadline, Clock::now() + std::chrono::milliseconds(2)));
            continue;
        }
        const ssize_t got = ::read(process->getOutput(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (busy && Clock::now() < request.deadline
                && waitReadable(process->getOutput(), request.deadline))
                continue;
            // Read once: more is to come until the process ends.
            if (once)
                return Result::Behind;
            return busy && Clock::now() >= request.deadline ? Result::Behind : result;
        }
        if (got <= 0) {
            outputEnded = true;
            continue;
        }
        busy = once || got >= BusyReadBytes;
        const char* bytes = buffer;
        size_t n = static_cast<size_t>(got);
        if (!connected && !takeHeader(sink, bytes, n)) {
            if (!outputEnded)
                continue;
            process.reset();
            scheduleRetry();
            return fail(RemoteFault::Other, "unexpected output: " + header.substr(0, 80));
        }
        if (connected)
            result = Result::Read;
        if (n > 0)
            takeData(sink, bytes, n);
        if (Clock::now() >= request.deadline)
            return Result::Behind;
    }
}

bool RemoteSource::connect(const ReadRequest& request)
{
    if (!processes) {
        reason = "remote logs can't be read here";
        return false;
    }
    const std::string command = remote.journal
        ? journalCommand(remote.unit, fresh ? std::string() : cursor, request.settings.GetKeepLines(), once)
        : fileCommand(
            remote.path, request.settings.GetInitiallyReadBytes(), fresh ? FilePlace() : place, once);
    process = processes->start(sshArguments(remote, command), reason);
    if (!process)
        return false;
    outputEnded = connected = false;
    header.clear();
    skippedBytes = 0;
    errors.clear();
    exportReader.reset();
    return true;
}

void RemoteSource::readErrors()
{
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(process->getErrors(), buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
        if (got < 0)
            continue;
        const size_t lineStart = errors.rfind('\n') + 1; // npos + 1 is 0
        errors.append(buffer, static_cast<size_t>(got));
        // The remote tail now reads another file, or its file from the start: a resumed read can't
        // rely on the place received.
        std::istringstream lines(errors.substr(lineStart));
        std::string line;
        while (std::getline(lines, line) && !lines.eof())
            if (tailSwitchedFile(line))
                place.identity.clear();
        if (errors.size() > KeptErrorBytes)
            errors.erase(0, errors.size() - KeptErrorBytes);
    }
}

// The header line says where the reading starts; lines before it (a login script's greeting) are
// skipped. False while it has not come, and when too much came without it (the output ended then).
bool RemoteSource::takeHeader(LogSink& sink, const char*& bytes, size_t& n)
{
    const size_t prefix = std::strlen(RemoteHeader);
    const char* lineEnd;
    while ((lineEnd = static_cast<const char*>(std::memchr(bytes, '\n', n)))) {
        header.append(bytes, lineEnd);
        n -= static_cast<size_t>(lineEnd - bytes) + 1;
        bytes = lineEnd + 1;
        if (header.compare(0, prefix, RemoteHeader) == 0)
            break;
        skippedBytes += header.size() + 1;
        header.clear();
    }
    if (!lineEnd) {
        header.append(bytes, n);
        n = 0;
        if (skippedBytes + header.size() > LongestGreeting)
            outputEnded = true;
        return false;
    }

    std::istringstream fields(header.substr(prefix));
    std::string mode, identity;
    uint64_t offset = 0;
    fields >> mode >> identity >> offset;
    if (mode != "J" && ((mode != "T" && mode != "R") || fields.fail())) {
        outputEnded = true;
        return false;
    }
    connected = true;
    retryDelay = FirstRetryDelay;
    lostShown = false;
    if (mode == "J") {
        if (fresh)
            sink.startOver(false);
    } else {
        // From the tail: the view shows the file anew, its first line dropped unless it starts there.
        if (mode == "T") {
            sink.startOver(offset > 0);
            lineOpen = false;
        }
        place = {identity, offset};
    }
    fresh = false;
    return true;
}

void RemoteSource::takeData(LogSink& sink, const char* bytes, size_t n)
{
    if (!remote.journal) {
        sink.appendText(bytes, static_cast<int32_t>(n));
        place.offset += n;
        lineOpen = bytes[n - 1] != '\n';
        return;
    }
    exportReader.feed(bytes, n, [&](const JournalExportReader::Fields& fields) {
        const auto field = [&fields](const char* key, std::string_view& value) {
            return JournalExportReader::find(fields, key, value);
        };
        std::string_view value;
        uint64_t realtime = 0;
        if (field("__REALTIME_TIMESTAMP", value))
            std::from_chars(value.data(), value.data() + value.size(), realtime);
        int32_t severity = Severity::None;
        if (formatJournalEntry(field, realtime, entry, severity))
            sink.appendEntry(entry.data(), static_cast<int32_t>(entry.size()), severity);
        if (field("__CURSOR", value))
            cursor.assign(value);
    });
}

LogSource::Result RemoteSource::ended(LogSink& sink, int status)
{
    process.reset();
    const bool wasConnected = connected;
    connected = false;
    if (once) {
        done = true;
        if (wasConnected && status == 0) {
            if (lineOpen)
                sink.appendText("\n", 1); // the last line is complete: nothing more is read
            return Result::Read;
        }
    }
    const RemoteFault fault = classifyRemoteFault(status, errors, wasConnected);
    const std::string why = remoteFaultReason(errors, status);
    scheduleRetry();
    if (fault == RemoteFault::Lost && !once) {
        sink.appendNotice({CoreText::RemoteLost, remote.host, why});
        lostShown = true;
        return Result::Interrupted;
    }
    return fail(fault, why);
}

void RemoteSource::scheduleRetry()
{
    nextAttempt = Clock::now() + retryDelay;
    retryDelay = std::min(retryDelay * 2, LongestRetryDelay);
}

LogSource::Result RemoteSource::fail(RemoteFault fault, const std::string& why)
{
    switch (fault) {
    case RemoteFault::Unreachable:
        reason = "cannot reach " + remote.host + ": " + why;
        notice = {CoreText::RemoteUnreachable, remote.host, why};
        // After a drop, the notice of the lost connection says so already.
        if (lostShown)
            return Result::Unchanged;
        break;
    case RemoteFault::KeyRefused:
        reason = remote.host + " refused the login (" + why + "): set up a key or an agent for it";
        notice = {CoreText::RemoteKeyRefused, remote.host, why};
        break;
    case RemoteFault::Missing:
        reason = std::strerror(ENOENT);
        notice = {CoreText::RemoteMissing, remote.path, remote.host};
        break;
    case RemoteFault::Permission:
        reason = std::strerror(EACCES);
        notice = {CoreText::RemotePermission, remote.path, remote.host};
        break;
    case RemoteFault::Lost:
    case RemoteFault::Other:
        reason = why;
        notice = {CoreText::ReadErrorBecause, why};
        break;
    }
    return Result::Failed;
}

} // namespace kestrano
