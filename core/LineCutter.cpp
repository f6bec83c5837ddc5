#include "core/LineCutter.h"

#include "core/Capacity.h"
#include "core/LineEnd.h"
#include "core/MonitorSettings.h"
#include "core/Severity.h"
#include "core/WhiteSpace.h"
#include "foundation/Exception.h"

#include <cstdlib>
#include <cstring>

namespace kestrano {

LineCutter::LineCutter(const MonitorSettings& settings, LineCutterListener& listener)
    : settings(settings)
    , listener(listener)
    , keywords(settings)
{ }

LineCutter::~LineCutter()
{
    std::free(pending);
}

void LineCutter::appendPendingText(const char* bytes, int32_t n)
{
    if (n <= 0)
        return;
    if (const void* nul = std::memchr(bytes, '\0', static_cast<std::size_t>(n)))
        n = static_cast<int32_t>(static_cast<const char*>(nul) - bytes);
    if (n == 0)
        return;

    if (pendingStart > 0) {
        std::memmove(pending, pending + pendingStart, static_cast<std::size_t>(pendingEnd - pendingStart));
        pendingEnd -= pendingStart;
        scanned -= pendingStart;
        pendingStart = 0;
    }
    if (n > INT32_MAX - pendingEnd)
        throw haspel::EOutOfMemory();
    const int32_t needed = pendingEnd + n;
    if (needed > pendingCapacity) {
        const int32_t capacity = grownCapacity(pendingCapacity, needed);
        pending = static_cast<char*>(haspel::ReallocateOrThrow(pending, static_cast<std::size_t>(capacity)));
        pendingCapacity = capacity;
    }
    std::memcpy(pending + pendingEnd, bytes, static_cast<std::size_t>(n));
    pendingEnd = needed;
}

int32_t LineCutter::splitPendingText()
{
    keywords.update(settings);
    int32_t highest = Severity::None;
    while (const char* lineEnd = findLineEnd(pending + scanned, pending + pendingEnd)) {
        const char* line = pending + pendingStart;
        const auto length = static_cast<int32_t>(lineEnd - line);
        pendingStart = scanned = static_cast<int32_t>(lineEnd - pending) + 1;
        handleLine(line, length, highest);
    }
    scanned = pendingEnd;
    if (pendingStart == pendingEnd)
        pendingStart = scanned = pendingEnd = 0;
    return highest;
}

void LineCutter::handleLine(const char* line, int32_t length, int32_t& highest)
{
    if (skipFirstLine) {
        skipFirstLine = false;
        return;
    }
    Message* last = messages.GetTail();
    if (last && settings.GetMultiLine() && length > 0 && (line[0] == ' ' || line[0] == '\t')) {
        last->appendContinuationLine(line, length);
        listener.messageContinued(last);
        return;
    }
    const char* begin = line;
    const char* end = line + length;
    trimWhiteSpace(begin, end);
    if (begin == end)
        return;

    auto* message = new Message(line, length, keywords);
    messages.Append(message);
    if (message->getSeverity() > highest)
        highest = message->getSeverity();
    listener.showMessage(message);
    listener.trimToKeepLines();
}

} // namespace kestrano
