// Where a log view's text comes from when it is not a plain file (the view follows those itself): the
// journal, standard input, a compressed file. A source reads what is new into its sink, the view.
#pragma once

#include <chrono>
#include <cstdint>
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
    // Text of the log, cut into lines and messages as a file's text is.
    virtual void appendText(const char* bytes, int32_t n) = 0;
    // One entry (its lines, each ending in a line end; continuations indented) whose message is at least
    // of the severity given (Severity::None: as classified).
    virtual void appendEntry(const char* bytes, int32_t n, int32_t severity) = 0;
    // A notice of the program itself, shown as a message (a line, its line end included).
    virtual void appendNotice(const char* text) = 0;
};

class LogSource {
public:
    using Deadline = std::chrono::steady_clock::time_point;
    enum class Result {
        Unchanged, // nothing new
        Read, // caught up
        Behind, // ran out of time with more to read
        Gone, // the source is missing
        Failed, // can't be read now (failureReason says why)
        Ended, // a stream reached its end; nothing will follow
    };

    virtual ~LogSource() = default;
    // Reads what is new into the sink until caught up or past the deadline. The first read gives the
    // source's tail, as the settings bound it.
    virtual Result read(LogSink& sink, const MonitorSettings& settings, Deadline deadline) = 0;
    // The next read gives the tail again (a refresh); a stream can't and goes on.
    virtual void restart() = 0;
    // Why the last read failed.
    virtual const std::string& getFailureReason() const = 0;
    // A stream (standard input) is read once, to its end.
    virtual bool isStream() const { return false; }
    // Whether the log's switches are kept in the workspace (a stream's are not).
    virtual bool stored() const { return !isStream(); }
    // Whether the log can be deleted as a file.
    virtual bool deletable() const { return false; }
};

} // namespace kestrano
