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
    keywords.scan(text, n, marks);
    const bool hasNul = std::memchr(text, '\0', static_cast<size_t>(n)) != nullptr;
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

int32_t MessageStarts::skipLongLine(const char* text, int32_t n)
{
    int32_t length = 0;
    while (length < n && text[length] != '\n' && text[length] != '\r')
        ++length;
    skippingLine = length == n;
    return length;
}

// As the cutter handles a line cut from text[start..end).
void MessageStarts::takeLine(
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

// Whether a bit of marks[from, to) outside [skipFrom, skipTo) is set: a line of up to three words without
// a loop whose turns vary from line to line.
bool MessageStarts::anyMarked(
    const uint64_t* marks, int32_t from, int32_t to, int32_t skipFrom, int32_t skipTo)
{
    const int32_t first = from / 64;
    uint64_t any = 0;
    if (to - first * 64 <= 3 * 64) {
        for (int32_t w = first; w < first + 3; ++w)
            any |= marks[w] & rangeMask(w, from, to) & ~rangeMask(w, skipFrom, skipTo);
        return any != 0;
    }
    for (int32_t w = first; w * 64 < to; ++w)
        any |= marks[w] & rangeMask(w, from, to) & ~rangeMask(w, skipFrom, skipTo);
    return any != 0;
}

int32_t MessageStarts::classify(
    const char* line, int32_t length, int32_t firstBit, const HeaderReader::WordSeen& word) const
{
    const int32_t lastBit = firstBit + length;
    if (keywords.nonAsciiNeedsSearch() && anyMarked(marks.nonAscii, firstBit, lastBit, 0, 0)
        && keywords.nonAsciiNeedsSearch(line, length))
        return keywords.classify(line, length);
    // A level word lately seen with its keywords' severity: the rest of the line needs a look only where
    // a keyword may start there.
    if (word.at >= 0 && keywords.matchesStayBetweenBlanks()
        && !anyMarked(
            marks.candidates, firstBit, lastBit, firstBit + word.at, firstBit + word.at + word.length))
        return word.keywordSeverity;
    return keywords.classifyCandidates(line, length, marks.candidates, firstBit);
}

} // namespace kestrano
