#include "core/sources/StreamSource.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace kestrano {

StreamSource::StreamSource(int descriptor, bool owned)
    : descriptor(descriptor)
    , owned(owned)
{ }

StreamSource::~StreamSource()
{
    if (owned)
        ::close(descriptor);
}

// Reads only what poll says is there, so neither a pipe nor a terminal blocks the caller, and the
// descriptor (shared with other processes) keeps its flags.
LogSource::Result StreamSource::readNew(LogSink& sink, const ReadRequest& request)
{
    if (ended)
        return Result::Ended;
    Result result = Result::Unchanged;
    char buffer[8192];
    while (true) {
        struct pollfd ready = {descriptor, POLLIN, 0};
        const int polled = ::poll(&ready, 1, 0);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return result;
        const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return result;
            reason = std::strerror(errno);
            return Result::Failed;
        }
        if (got == 0) {
            ended = true;
            if (lineOpen)
                sink.appendText("\n", 1); // the last line is complete: nothing more will come
            sink.appendNotice({CoreText::EndOfInput, {}});
            return Result::Ended;
        }
        sink.appendText(buffer, static_cast<int32_t>(got));
        const char last = buffer[got - 1];
        lineOpen = last != '\n' && last != '\r';
        result = Result::Read;
        if (std::chrono::steady_clock::now() >= request.deadline)
            return Result::Behind;
    }
}

} // namespace kestrano
