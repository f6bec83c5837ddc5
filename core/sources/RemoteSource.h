// A log of another host, read through ssh: a file's tail followed by the remote tail -F, or the remote
// journal in journalctl's export form. Read without blocking, as standard input is; a dropped
// connection is noted once and made again with backoff, resuming after the last byte received when the
// file is unchanged.
#pragma once

#include "core/sources/JournalEntry.h"
#include "core/sources/LogSource.h"
#include "core/sources/RemoteCommand.h"
#include "core/sources/RemoteName.h"

#include <memory>

namespace kestrano {

class ProcessStarter;
class RunningProcess;

class RemoteSource : public LogSource {
public:
    static constexpr std::chrono::seconds FirstRetryDelay {1};
    static constexpr std::chrono::seconds LongestRetryDelay {60};

    // name as given (ssh://...); processes nullptr: remote logs can't be read. once: read the tail,
    // then end (kestrano-tail --once): each read waits for the output up to its deadline.
    RemoteSource(const char* name, ProcessStarter* processes, bool once);
    ~RemoteSource() override;
    RemoteSource(const RemoteSource&) = delete;
    RemoteSource& operator=(const RemoteSource&) = delete;

    Result read(LogSink& sink, const ReadRequest& request) override
    {
        return keepingWhatWasRead([&] { return readNew(sink, request); });
    }
    void restart() override;
    const std::string& getFailureReason() const override { return reason; }
    ShownText getFailureNotice() const override { return notice; }

    // Where the file was read to (what a resumed connection asks for).
    const FilePlace& getPlace() const { return place; }

private:
    using Clock = std::chrono::steady_clock;

    Result readNew(LogSink& sink, const ReadRequest& request);
    bool connect(const ReadRequest& request);
    void readErrors();
    bool takeHeader(LogSink& sink, const char*& bytes, size_t& n);
    void takeData(LogSink& sink, const char* bytes, size_t n);
    Result ended(LogSink& sink, int status);
    void scheduleRetry();
    Result fail(RemoteFault fault, const std::string& why);

    RemoteName remote;
    const bool valid;
    ProcessStarter* const processes;
    const bool once;

    std::unique_ptr<RunningProcess> process;
    bool outputEnded = false;
    bool connected = false; // the running command's header arrived
    bool fresh = true; // the next connection shows the log anew
    bool done = false; // read once, and ended
    std::string header;
    size_t skippedBytes = 0; // output before the header
    std::string errors; // the running command's standard error, its end
    bool lineOpen = false;

    FilePlace place;
    std::string cursor; // the journal's last entry received
    JournalExportReader exportReader;
    std::string entry;

    Clock::time_point nextAttempt {};
    std::chrono::seconds retryDelay = FirstRetryDelay;
    bool lostShown = false; // since the last connection
    std::string reason;
    ShownText notice;
};

} // namespace kestrano
