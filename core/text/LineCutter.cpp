#include "core/text/LineCutter.h"

#include "core/text/Capacity.h"
#include "core/text/CuttingRules.h"
#include "core/text/Severity.h"
#include "core/text/UserLayout.h"
#include "core/text/WhiteSpace.h"
#include "foundation/Exception.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace kestrano {
namespace {

// How far an incomplete line may outgrow the kept length before it is bounded again.
constexpr int32_t ReadSlack = 64 * 1024;

} // namespace

LineCutter::LineCutter(const CuttingRules& rules, LineCutterListener& listener)
    : rules(rules)
    , listener(listener)
    , keywords(rules)
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
        if (bitsInRange(bits, word, from, to))
            return true;
    }
    return false;
}

} // namespace

void LineCutter::discardPendingText()
{
    pendingStart = scanned = pendingEnd = 0;
    pendingCandidate = pendingNonAscii = false;
    longCut = 0;
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

void LineCutter::forgetLayout(int64_t referenceSeconds)
{
    layout = LogLayout();
    layoutSettled = false;
    layoutReference = referenceSeconds;
    layoutSamples.clear();
}

// Adds the complete lines of the pending text to the samples and recognises the layout from them.
void LineCutter::sampleLayout()
{
    const char* begin = pending + pendingStart;
    const char* end = pending + pendingEnd;
    while (end > begin && end[-1] != '\n' && end[-1] != '\r')
        --end;
    if (end == begin)
        return;
    const auto room = static_cast<size_t>(SampleBytes) - layoutSamples.size();
    layoutSamples.append(begin, std::min(room, static_cast<size_t>(end - begin)));
    const auto lines = std::count(layoutSamples.begin(), layoutSamples.end(), '\n');
    const bool settled = lines >= SampleLines || layoutSamples.size() >= static_cast<size_t>(SampleBytes);

    const CuttingRules::KeywordList& expressions = rules.GetLayouts();
    userLayouts.clear();
    for (int32_t i = 0; i < expressions.GetCount(); ++i) {
        auto user = std::make_shared<const UserLayout>(expressions.Get(i)->GetText());
        if (user->isValid())
            userLayouts.push_back(std::move(user));
    }
    layout = recognizeLayout(layoutSamples.data(), static_cast<int32_t>(layoutSamples.size()), userLayouts,
        layoutReference != 0 ? layoutReference : static_cast<int64_t>(std::time(nullptr)));
    if (settled) {
        layoutSettled = true;
        std::string().swap(layoutSamples);
    }
}

int32_t LineCutter::splitPendingText()
{
    keywords.update(rules);
    int32_t highest = Severity::None;
    const int32_t regionStart = scanned;
    const int32_t n = pendingEnd - regionStart;
    if (n > 0) {
        reserveMarks(n);
        keywords.scan(pending + regionStart, n, marks);
        if (!layoutSettled)
            sampleLayout();
    }
    doomed = countDoomed(regionStart, n);
    lastDropped = false;
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
    else
        boundLongLine();
    return highest;
}

// How many of the new messages of this split are followed by KeepLines newer ones in it, so that
// they would be trimmed before anyone could see them: the lines are looked at as handleLine will.
int32_t LineCutter::countDoomed(int32_t regionStart, int32_t n) const
{
    const int32_t keep = rules.GetKeepLines();
    if (keep <= 0)
        return 0;
    if (n / 2 < keep || countBits(marks.lineEnds, (n + 63) / 64) <= keep)
        return 0;
    const bool multiLine = rules.GetMultiLine();
    bool skip = skipFirstLine;
    bool hasMessage = messages.GetCount() > 0;
    bool longLine = longCut > 0; // is not blank, whatever its kept part holds
    int32_t start = pendingStart;
    int32_t made = 0;
    for (int32_t word = 0; word * 64 < n; ++word) {
        for (uint64_t ends = marks.lineEnds[word]; ends; ends &= ends - 1) {
            const int32_t end = regionStart + word * 64 + __builtin_ctzll(ends);
            const char* begin = pending + start;
            const char* last = pending + end;
            const bool wasLong = longLine;
            start = end + 1;
            longLine = false;
            if (skip) {
                skip = false;
                continue;
            }
            LineHeader header;
            const LineRole role = roleOfLine(begin, static_cast<int32_t>(last - begin),
                hasMessage && multiLine, layout, rules.GetStatedLevel(), false, header);
            if (role == LineRole::Continues)
                continue;
            if (role == LineRole::Starts || wasLong) {
                ++made;
                hasMessage = true;
            }
        }
    }
    return made > keep ? made - keep : 0;
}

// Keeps an incomplete line that outgrew Message::MaxTextBytes from growing further: what lies
// beyond the kept part and a window on the line's end is classified now and dropped.
void LineCutter::boundLongLine()
{
    constexpr int32_t Kept = Message::MaxTextBytes;
    const int32_t length = pendingEnd - pendingStart;
    if (length <= Kept + ReadSlack)
        return;
    const char* line = pending + pendingStart;
    const int32_t severity
        = longCut == 0 ? keywords.classify(line, length) : keywords.classify(line + Kept, length - Kept);
    longSeverity = longCut == 0 || severity > longSeverity ? severity : longSeverity;
    // The window: enough for the longest keyword, from the start of a character.
    int32_t window = keywords.longestKeyword() + 3;
    int32_t from = length - window;
    for (int32_t step = 0; step < 3 && (static_cast<unsigned char>(line[from]) & 0xC0) == 0x80; ++step)
        ++from;
    window = length - from;
    std::memmove(pending + pendingStart + Kept, line + from, static_cast<std::size_t>(window));
    longCut += from - Kept;
    pendingEnd = scanned = pendingStart + Kept + window;
}

// Cuts the line [pendingStart, end) off the pending text, end being a line end the current split
// found, and handles it.
void LineCutter::cutLine(int32_t end, int32_t regionStart, int32_t& highest)
{
    const char* line = pending + pendingStart;
    const int32_t length = end - pendingStart;
    LineMarks lineMarks {false, pendingStart, pendingStart - regionStart, Severity::None, 0};
    if (longCut > 0) {
        // The kept part stands for the line; the rest is classified here and counted as cut.
        constexpr int32_t Kept = Message::MaxTextBytes;
        const int32_t rest = keywords.classify(line + Kept, length - Kept);
        lineMarks.severity = rest > longSeverity ? rest : longSeverity;
        lineMarks.cutBytes = longCut + (length - Kept);
        pendingStart = scanned = end + 1;
        pendingCandidate = pendingNonAscii = false;
        longCut = 0;
        handleLine(line, Kept, lineMarks, highest);
        return;
    }
    if (pendingStart < regionStart) {
        // Begun before this split: keywords may start in the part scanned before.
        lineMarks.search
            = pendingCandidate || (pendingNonAscii && keywords.nonAsciiNeedsSearch(line, length));
        lineMarks.scannedFrom = regionStart;
        lineMarks.firstBit = 0;
    }
    if (!lineMarks.search && keywords.nonAsciiNeedsSearch())
        lineMarks.search = anyBit(marks.nonAscii, lineMarks.firstBit, end - regionStart)
            && keywords.nonAsciiNeedsSearch(line, length);
    pendingStart = scanned = end + 1;
    pendingCandidate = pendingNonAscii = false;
    handleLine(line, length, lineMarks, highest);
}

int32_t LineCutter::classify(const char* line, int32_t length, const LineMarks& lineMarks) const
{
    if (lineMarks.severity != Severity::None)
        return lineMarks.severity;
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
    const bool mayContinue = (last || lastDropped) && rules.GetMultiLine();
    LineHeader header;
    const LineRole role = roleOfLine(line, length, mayContinue, layout, rules.GetStatedLevel(), true, header);
    if (role == LineRole::Continues) {
        if (lastDropped)
            return; // continues a message that was never made
        last->appendContinuationLine(line, length, lineMarks.cutBytes);
        listener.messageContinued(last);
        return;
    }
    if (role == LineRole::Blank && lineMarks.cutBytes == 0)
        return;

    const int32_t severity = rules.GetStatedLevel() && header.severity != Severity::None
        ? header.severity
        : classify(line, length, lineMarks);
    if (doomed > 0) {
        --doomed;
        if (listener.mayDropUnseen(severity)) {
            if (severity > highest)
                highest = severity;
            lastDropped = true;
            listener.messageDroppedUnseen(severity);
            return;
        }
    }
    lastDropped = false;
    Message* message = Message::create(line, length, severity, lineMarks.cutBytes, spare);
    message->setTime(header.time);
    messages.Append(message);
    if (message->getSeverity() > highest)
        highest = message->getSeverity();
    listener.messageAdded(message);
    trimToKeepLines();
}

void LineCutter::addNotice(const ShownText& notice)
{
    const std::string text = notice.english();
    Message* message
        = Message::createNotice(notice, keywords.classify(text.data(), static_cast<int32_t>(text.size())));
    messages.Append(message);
    lastDropped = false;
    listener.messageAdded(message);
    trimToKeepLines();
}

void LineCutter::trimToKeepLines()
{
    const int32_t keep = rules.GetKeepLines();
    while (messages.GetCount() > keep) {
        listener.messageDropping(messages.GetHead());
        Message::retire(messages.RemoveFirst(), spare);
    }
}

} // namespace kestrano
