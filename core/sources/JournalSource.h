// The systemd journal as a log (libsystemd's sd-journal): every entry, or one unit's, as one message in
// the short-iso form "TIME HOST IDENT[PID]: MESSAGE", its severity at least its PRIORITY's. The local
// journal or journal files named as with journalctl --file.
#pragma once

#include "core/sources/LogSource.h"

#include <string>
#include <vector>

struct sd_journal;

namespace kestrano {

class JournalSource : public LogSource {
public:
    // unit empty: all entries. files empty: the local journal. ownOnly: this user reads only their own
    // entries (the notice is shown at the top).
    JournalSource(std::string unit, std::vector<std::string> files, bool ownOnly);
    ~JournalSource() override;
    JournalSource(const JournalSource&) = delete;
    JournalSource& operator=(const JournalSource&) = delete;

    Result read(LogSink& sink, const ReadRequest& request) override
    {
        return keepingWhatWasRead([&] { return readNew(sink, request); });
    }
    void restart() override;
    const std::string& getFailureReason() const override { return reason; }

    // Whether this user reads only their own entries of the local journal.
    static bool readsOnlyOwnEntries();
    // The units named in the local journal, sorted.
    static std::vector<std::string> units();
    // The severity of a PRIORITY value (0 to 7), Severity::None for anything else.
    static int32_t severityOfPriority(const char* value, size_t length);
    // The unit a name means, as journalctl -u takes it: "foo" is "foo.service".
    static std::string unitName(const std::string& name);

private:
    Result readNew(LogSink& sink, const ReadRequest& request);
    bool open();
    void close();
    void appendEntry(LogSink& sink);

    const std::string unit;
    const std::vector<std::string> files;
    const bool ownOnly;
    sd_journal* journal = nullptr;
    bool watched = false; // the journal's change detection is set up
    bool positioned = false;
    bool behind = false;
    std::string reason;
    std::string entry;
};

} // namespace kestrano
