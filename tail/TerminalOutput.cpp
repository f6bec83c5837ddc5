#include "tail/TerminalOutput.h"

#include "core/text/LogTime.h"
#include "core/text/Message.h"
#include "core/text/MessageLines.h"
#include "core/text/Severity.h"
#include "core/text/VisibleText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace kestrano::tail {
namespace {

constexpr std::size_t FlushAt = 64 * 1024;

// The SGR parameters of each tag, severity -1 to 4; empty: not coloured.
const char* const TagColors[Severity::ListCount + 1] = {"", "90", "34", "33", "31", "1;37;41"};

// Writes everything; false with errno set on failure. Once a stop is asked for, nothing waits for a
// reader that does not read: a write that would wait, or waits, fails with EINTR.
bool writeAll(int fd, const char* bytes, std::size_t n, const std::atomic<bool>& stop)
{
    while (n > 0) {
        std::size_t step = n;
        if (stop.load()) {
            struct pollfd ready = {fd, POLLOUT, 0};
            if (poll(&ready, 1, 0) != 1 || (ready.revents & POLLOUT) == 0) {
                errno = EINTR;
                return false;
            }
            step = std::min<std::size_t>(n, PIPE_BUF); // fits once the reader made room for it
        }
        const ssize_t written = ::write(fd, bytes, step);
        if (written < 0) {
            if (errno == EINTR && !stop.load())
                continue;
            return false;
        }
        bytes += written;
        n -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

TerminalOutput::TerminalOutput(bool color, bool headers, bool visibleControls, std::atomic<bool>& stop)
    : color(color)
    , headers(headers)
    , visibleControls(visibleControls)
    , stop(stop)
{
    buffer.reserve(FlushAt + 4096);
}

TerminalOutput::~TerminalOutput()
{
    flush();
}

void TerminalOutput::printMessage(const std::string& file, const Message& message, const std::string& name)
{
    startLine(file);
    if (times) {
        char stamp[32];
        const int32_t length = LogTime::formatMilliseconds(message.getTime(), stamp);
        append(stamp, static_cast<std::size_t>(length));
        append("\t", 1);
    }
    const int32_t severity = message.getSeverity();
    const char* tag = Severity::isNamed(severity) ? Severity::Table[severity].tag : Severity::UnknownTag;
    const char* tagColor = TagColors[severity - Severity::Unknown];
    if (color && tagColor[0] != '\0') {
        append("\033[", 2);
        append(tagColor, std::strlen(tagColor));
        append("m", 1);
        append(tag, std::strlen(tag));
        append("\033[0m", 4);
    } else {
        append(tag, std::strlen(tag));
    }
    if (!name.empty()) {
        append("\t", 1);
        append(name.data(), name.size());
    }
    // The first line goes after the tag, the others after a tab.
    forEachLine(message, [this](const char* line, std::size_t length) {
        append("\t", 1);
        appendLine(line, length);
    });
}

void TerminalOutput::printContinuation(const std::string& file, const Message& message)
{
    const char* text = message.getText();
    const char* last = text + message.getTextLength();
    while (last > text && last[-1] != '\n')
        --last;
    startLine(file);
    append("\t", 1);
    appendLine(last, static_cast<std::size_t>(text + message.getTextLength() - last));
}

void TerminalOutput::notice(const std::string& file, const char* what)
{
    flush();
    const std::string line = "--- " + file + ": " + what + "\n";
    writeAll(STDERR_FILENO, line.data(), line.size(), stop);
}

void TerminalOutput::startLine(const std::string& file)
{
    if (headers && lastFile != &file) {
        append("==> ", 4);
        append(file.data(), file.size());
        appendLine(" <==", 4);
    }
    lastFile = &file;
}

void TerminalOutput::append(const char* bytes, std::size_t n)
{
    buffer.append(bytes, n);
}

void TerminalOutput::appendLine(const char* bytes, std::size_t n)
{
    if (visibleControls)
        appendVisibleText(bytes, static_cast<int32_t>(n), buffer);
    else
        buffer.append(bytes, n);
    buffer.push_back('\n');
    if (buffer.size() >= FlushAt)
        flush();
}

bool TerminalOutput::flush()
{
    if (!closed() && !buffer.empty() && !writeAll(STDOUT_FILENO, buffer.data(), buffer.size(), stop)) {
        if (errno == EPIPE || errno == EINTR)
            closeQuietly(); // the reader went away, or Ctrl+C while it did not read: end quietly
        else {
            writeError = errno;
            stop = true;
        }
    }
    buffer.clear();
    return !closed();
}

void TerminalOutput::closeQuietly()
{
    closedQuietly = true;
    stop = true;
}

} // namespace kestrano::tail
