#include "core/sources/MessageStarts.h"

#include "core/text/CuttingRules.h"
#include "core/text/WhiteSpace.h"

#include <algorithm>
#include <cstring>

namespace kestrano {

MessageStarts::MessageStarts(const CuttingRules& rules, const LogLayout& layout)
    : rules(rules)
    , keywords(rules)
    , headers(layout, &keywords)
{ }

int32_t MessageStarts::scan(const char* text, int32_t n, std::vector<Start>& starts)
{
    if (n <= 0)
        return 0;
    const size_t words = (static_cast<size_t>(n) + 63) / 64;
    const size_t stride = words + 2; // a line's three words can be read from any word
    if (bits.size() < 3 * stride)
        bits.resize(3 * stride);
    marks = ScanMarks {bits.data(), bits.data() + stride, bits.data() + 2 * stride};
    const bool hasNul = keywords.scan(text, n, marks);
    int32_t start = 0;
    for (size_t word = 0; word < words; ++word) {
        for (uint64_t ends = marks.lineEnds[word]; ends; ends &= ends - 1) {
            const int32_t end = static_cast<int32_t>(word * 64) + __builtin_ctzll(ends);
            takeLine(text, start, end, hasNul, starts);
            start = end + 1;
        }
    }
    classifyPending(text, starts);
    return start;
}

int32_t MessageStarts::scanBlock(char* text, int32_t n, bool full, std::vector<Start>& starts)
{
    const int32_t judged = scan(text, n, starts);
    if (judged > 0 || !full)
        return judged;
    text[n] = '\n';
    scan(text, n + 1, starts);
    skippingLine = true;
    longLineClassified = !starts.empty() && starts.back().byKeywords;
    return n;
}

int32_t MessageStarts::judgeNext(
    char* text, int32_t& n, int32_t blockBytes, bool endsFile, std::vector<Start>& starts, int32_t& raise)
{
    raise = Severity::None;
    int32_t from = 0;
    if (skippingLine) {
        // Nothing in the rest of a long line starts a message; its keywords count when it began a
        // message its header gave no level.
        const int32_t part = skipLongLine(text, n);
        if (longLineClassified)
            raise = keywords.classify(text, part);
        if (skippingLine)
            return n;
        from = part + 1;
    }
    if (endsFile && n > from)
        text[n++] = '\n';
    const size_t first = starts.size();
    const int32_t judged = from + scanBlock(text + from, n - from, n - from == blockBytes, starts);
    for (size_t i = first; from > 0 && i < starts.size(); ++i)
        starts[i].offset += from;
    return judged;
}

int32_t MessageStarts::skipLongLine(const char* text, int32_t n)
{
    int32_t length = 0;
    while (length < n && text[length] != '\n' && text[length] != '\r')
        ++length;
    skippingLine = length == n;
    return length;
}

// As the cutter handles a line cut from text[start..end).
[[gnu::always_inline]] inline void MessageStarts::takeLine(
    const char* text, int32_t start, int32_t end, bool hasNul, std::vector<Start>& starts)
{
    const char* line = text + start;
    int32_t length = end - start;
    bool exact = false;
    if (hasNul && std::memchr(line, '\0', static_cast<size_t>(length))) {
        withoutNul.assign(line, static_cast<size_t>(length));
        withoutNul.erase(std::remove(withoutNul.begin(), withoutNul.end(), '\0'), withoutNul.end());
        line = withoutNul.data();
        length = static_cast<int32_t>(withoutNul.size());
        exact = true; // the scan's marks are of the bytes with NUL
    }
    // The header decides only with the stated level; its time is not needed here.
    LineHeader header;
    if (roleOfLine(line, length, hasMessage && rules.GetMultiLine(), headers, rules.GetStatedLevel(),
            rules.GetStatedLevel(), header)
        != LineRole::Starts)
        return;
    const bool byKeywords = header.severity == Severity::None;
    if (byKeywords && exact) [[unlikely]] {
        starts.push_back({start, keywords.classify(line, length), true});
        hasMessage = true;
        return;
    }
    // A line to classify by its keywords is noted whether it is one or not, and classified once the
    // text's lines are judged: which lines need it steers no branch here.
    if (pendingCount == pending.size()) [[unlikely]]
        pending.resize(2 * pending.size() + 64);
    pending[pendingCount] = {static_cast<int32_t>(starts.size()), length, headers.getLastWord()};
    pendingCount += byKeywords;
    starts.push_back({start, header.severity, byKeywords});
    hasMessage = true;
}

void MessageStarts::classifyPending(const char* text, std::vector<Start>& starts)
{
    for (size_t i = 0; i < pendingCount; ++i) {
        const Pending& line = pending[i];
        Start& start = starts[static_cast<size_t>(line.start)];
        start.severity = classify(text + start.offset, line.length, start.offset, line.word);
    }
    pendingCount = 0;
}

// The marks of a line's bytes [from, to): whether any is not ASCII, and whether a keyword may start
// outside [skipFrom, skipTo). A line of up to three words is looked at without a loop whose turns vary.
MessageStarts::LineMarks MessageStarts::marksOf(
    int32_t from, int32_t to, int32_t skipFrom, int32_t skipTo) const
{
    const int32_t first = from / 64;
    const int32_t last = to - first * 64 <= 3 * 64 ? first + 3 : (to + 63) / 64;
    uint64_t nonAscii = 0;
    uint64_t others = 0;
    for (int32_t w = first; w < last; ++w) {
        const uint64_t inLine = rangeMask(w, from, to);
        nonAscii |= marks.nonAscii[w] & inLine;
        others |= marks.candidates[w] & inLine & ~rangeMask(w, skipFrom, skipTo);
    }
    return {nonAscii != 0, others != 0};
}

int32_t MessageStarts::classify(
    const char* line, int32_t length, int32_t firstBit, const HeaderReader::WordSeen& word) const
{
    const bool known = word.at >= 0 && keywords.matchesStayBetweenBlanks();
    const int32_t wordStart = known ? firstBit + word.at : 0;
    const LineMarks lineMarks
        = marksOf(firstBit, firstBit + length, wordStart, known ? wordStart + word.length : 0);
    if (lineMarks.nonAscii && keywords.nonAsciiNeedsSearch() && keywords.nonAsciiNeedsSearch(line, length))
        return keywords.classify(line, length);
    // A level word lately seen with its keywords' severity: the rest of the line needs a look only where
    // a keyword may start there.
    if (known && !lineMarks.otherCandidates)
        return word.keywordSeverity;
    return keywords.classifyCandidates(line, length, marks.candidates, firstBit);
}

} // namespace kestrano
