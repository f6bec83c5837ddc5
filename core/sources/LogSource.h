// Where a log view's text comes from: a plain file, the journal, standard input, a compressed file.
// A source reads what is new into its sink, the view, which cuts it into messages.
#pragma once

#include "core/text/CoreText.h"
#include "foundation/Exception.h"

#include <chrono>
#include <cstdint>
#include <new>
#include <string>

namespace kestrano {

class MonitorSettings;

// Implemented by the log view: what a source hands it.
class LogSink {
public:
    virtual ~LogSink() = default;
    // What was shown is gone; the source's content follows anew. With skipFirstLine, reading starts
    // inside a line, which is dropped.
    virtual void startOver(bool skipFirstLine) = 0;
    // The log's name came to denote a new file (a rotation): what was shown stays, a last line left
    // open is ended, the notice follows and then the new file's content (skipFirstLine as above).
    virtual void followNewFile(const ShownText& notice, bool skipFirstLine) = 0;
    // Text of the log, cut into lines and messages as it arrives; NUL bytes are dropped.
    void appendText(const char* bytes, int32_t n)
    {
        takeText(bytes, n);
        cutText();
    }
    // The two halves of appendText, for a source that counts what was taken: takeText throws (out of
    // memory) before it takes any of the text, cutText after it was taken.
    virtual void takeText(const char* bytes, int32_t n) = 0;
    virtual void cutText() = 0;
    // One entry (its lines, each ending in a line end; continuations indented) whose source states the
    // severity given: it decides while the stated level does, else the message is at least of it
    // (Severity::None: as classified).
    virtual void appendEntry(const char* bytes, int32_t n, int32_t severity) = 0;
    // A notice of the program itself, shown as a message of its own; it never notifies.
    virtual void appendNotice(const ShownText& notice) = 0;
};

class LogSource {
public:
    using Deadline = std::chrono::steady_clock::time_point;
    // Larger than any file: the position of a log not read yet, or missing.
    static constexpr uint64_t UnknownPosition = UINT64_MAX;

    // What one read is given besides its sink.
    struct ReadRequest {
        const MonitorSettings& settings;
        // Reading stops once past it and reports Behind.
        Deadline deadline;
        // A change of the log reads its tail again (the view's ReloadOnChange switch).
        bool reloadOnChange = false;
    };

    enum class Result {
        Unchanged, // nothing new
        Read, // caught up
        Behind, // ran out of time with more to read
        Gone, // the source is missing
        Failed, // can't be read now (getFailureReason says why; empty: no reason known)
        Ended, // a stream reached its end; nothing will follow
        Interrupted, // stopped by a failure after it was opened: what was handed stays, the next read goes on
    };

    virtual ~LogSource() = default;
    // Reads what is new into the sink until caught up or past the deadline. The first read gives the
    // source's tail, as the settings bound it.
    virtual Result read(LogSink& sink, const ReadRequest& request) = 0;
    // The next read gives the tail again (a refresh); a stream can't and goes on.
    virtual void restart() = 0;
    // Why the last read failed.
    virtual const std::string& getFailureReason() const = 0;
    // The notice of that failure in the log.
    virtual ShownText getFailureNotice() const
    {
        const std::string& reason = getFailureReason();
        return reason.empty() ? ShownText {CoreText::ReadError, {}}
                              : ShownText {CoreText::ReadErrorBecause, reason};
    }
    // How far a log with offsets (a file) was read; 0 for the others.
    virtual uint64_t getReadPosition() const { return 0; }
    // The file a change of which the source reads (empty: none to watch, as for the journal or a stream).
    virtual std::string getWatchPath() const { return {}; }

protected:
    // Runs a read in which running out of memory keeps what was handed over: Behind, and the next read
    // goes on.
    template <typename Read> static Result keepingWhatWasRead(Read&& read)
    {
        try {
            return read();
        } catch (const haspel::Exception&) {
        } catch (const std::bad_alloc&) { }
        return Result::Behind;
    }
};

} // namespace kestrano
