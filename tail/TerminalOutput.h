// Standard output of kestrano-tail: buffered message lines with their severity tags (coloured on
// request) and the "==> FILE <==" headers, notices on standard error, and the end of output when
// the reader went away.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace kestrano {
class Message;
}

namespace kestrano::tail {

class TerminalOutput {
public:
    // With headers, a line naming the file precedes output from another file than the last one. With
    // visibleControls the control and bidirectional formatting characters of a text are printed in
    // caret or escaped form (for a terminal). stop is set when standard output can't be written any more.
    TerminalOutput(bool color, bool headers, bool visibleControls, std::atomic<bool>& stop);
    ~TerminalOutput();
    TerminalOutput(const TerminalOutput&) = delete;
    TerminalOutput& operator=(const TerminalOutput&) = delete;

    // Each message's stated time (or "-") and a tab before its tag.
    void showTimes(bool on) { times = on; }

    // The tag, a tab and the first line, then a tab and each continuation line held so far; with a
    // name (merged output), the name and a tab come between the tag and the first line.
    void printMessage(const std::string& file, const Message& message, const std::string& name = {});
    // A tab and the message's last continuation line.
    void printContinuation(const std::string& file, const Message& message);
    // "--- FILE: what" on standard error, after what is buffered for standard output.
    void notice(const std::string& file, const char* what);

    // Writes the buffered lines. False once standard output is closed or failed.
    bool flush();
    // Stops writing without an error: the reader went away, or a stop came while it did not read.
    void closeQuietly();
    // Standard output can't be written any more: a closed pipe (quiet) or another error (reported).
    bool closed() const { return closedQuietly || writeError != 0; }
    // The errno of a failed write other than to a closed pipe; 0 when there was none.
    int getWriteError() const { return writeError; }

private:
    void startLine(const std::string& file);
    void append(const char* bytes, std::size_t n);
    void appendLine(const char* bytes, std::size_t n);

    const bool color;
    const bool headers;
    const bool visibleControls;
    bool times = false;
    std::atomic<bool>& stop;
    const std::string* lastFile = nullptr;
    std::string buffer;
    bool closedQuietly = false;
    int writeError = 0;
};

} // namespace kestrano::tail
