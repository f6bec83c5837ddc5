#include "core/LineCutter.h"

#include "core/Capacity.h"
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
    std::free(markBits);
}

namespace {

// Whether any bit of bits[from..to) is set.
bool anyBit(const uint64_t* bits, int32_t from, int32_t to)
{
    for (int32_t word = from / 64; word * 64 < to; ++word) {
        uint64_t b = bits[word];
        if (word * 64 < from)
            b &= ~uint64_t {0} << (from - word * 64);
        if (to - word * 64 < 64)
            b &= (uint64_t {1} << (to - word * 64)) - 1;
        if (b)
            return true;
    }
    return false;
}

} // namespace

void LineCutter::discardPendingText()
{
    pendingStart = scanned = pendingEnd = 0;
    pendingCandidate = pendingNonAscii = false;
}

void LineCutter::reserveMarks(int32_t n)
{
    const int32_t words = (n + 63) / 64;
    if (words <= markWords)
        return;
    const int32_t capacity = grownCapacity(markWords, words);
    markBits = static_cast<uint64_t*>(
        haspel::ReallocateOrThrow(markBits, sizeof(uint64_t) * 3 * static_cast<std::size_t>(capacity)));
    markWords = capacity;
    marks = ScanMarks {markBits, markBits + capacity, markBits + 2 * capacity};
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
    const int32_t regionStart = scanned;
    const int32_t n = pendingEnd - regionStart;
    if (n > 0) {
        reserveMarks(n);
        keywords.scan(pending + regionStart, n, marks);
    }
    for (int32_t word = 0; word * 64 < n; ++word) {
        for (uint64_t ends = marks.lineEnds[word]; ends; ends &= ends - 1)
            cutLine(regionStart + word * 64 + __builtin_ctzll(ends), regionStart, highest);
    }
    if (pendingStart < pendingEnd) {
        const int32_t from = (pendingStart > regionStart ? pendingStart : regionStart) - regionStart;
        pendingCandidate = pendingCandidate || anyBit(marks.candidates, from, n);
        pendingNonAscii = pendingNonAscii || anyBit(marks.nonAscii, from, n);
    }
    scanned = pendingEnd;
    if (pendingStart == pendingEnd)
        discardPendingText();
    return highest;
}

// Cuts the line [pendingStart, end) off the pending text, end being a line end the current split
// found, and handles it.
void LineCutter::cutLine(int32_t end, int32_t regionStart, int32_t& highest)
{
    const char* line = pending + pendingStart;
    const int32_t length = end - pendingStart;
    LineMarks lineMarks {false, pendingStart, pendingStart - regionStart};
    if (pendingStart < regionStart) {
        // Begun before this split: keywords may start in the part scanned before.
        lineMarks.search = pendingCandidate || (pendingNonAscii && keywords.nonAsciiNeedsSearch());
        lineMarks.scannedFrom = regionStart;
        lineMarks.firstBit = 0;
    }
    if (!lineMarks.search && keywords.nonAsciiNeedsSearch())
        lineMarks.search = anyBit(marks.nonAscii, lineMarks.firstBit, end - regionStart);
    pendingStart = scanned = end + 1;
    pendingCandidate = pendingNonAscii = false;
    handleLine(line, length, lineMarks, highest);
}

int32_t LineCutter::classify(const char* line, int32_t length, const LineMarks& lineMarks) const
{
    if (lineMarks.search)
        return keywords.classify(line, length);
    const int32_t skipped = lineMarks.scannedFrom - static_cast<int32_t>(line - pending);
    return keywords.classifyCandidates(
        line + skipped, length - skipped, marks.candidates, lineMarks.firstBit);
}

void LineCutter::handleLine(const char* line, int32_t length, const LineMarks& lineMarks, int32_t& highest)
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

    Message* message = Message::create(line, length, classify(line, length, lineMarks));
    messages.Append(message);
    if (message->getSeverity() > highest)
        highest = message->getSeverity();
    listener.showMessage(message);
    listener.trimToKeepLines();
}

} // namespace kestrano
