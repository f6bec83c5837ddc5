// recognizeLayout: each candidate layout is tried on every sample line; the one most lines fit wins.
#include "core/text/LogLayout.h"
#include "core/text/StructuredFields.h"
#include "core/text/UserLayout.h"

#include <cstring>
#include <string_view>

namespace kestrano {
namespace {

constexpr int32_t LevelTokens = 6; // the header words looked at for a level
constexpr int32_t FormCount = static_cast<int32_t>(TimeForm::Count);
constexpr int32_t LevelKeyCount = sizeof LevelKeys / sizeof *LevelKeys;
constexpr int32_t TimeKeyCount = sizeof TimeKeys / sizeof *TimeKeys;

// The lines with a level or time field, and how many hold each key.
struct FieldCounts {
    int32_t lines = 0;
    int32_t level[LevelKeyCount] = {};
    int32_t time[TimeKeyCount] = {};
};

struct Counts {
    int32_t lines = 0;
    int32_t priority = 0; // lines starting with a syslog priority
    FieldCounts json;
    FieldCounts logfmt;
    int32_t forms[FormCount] = {};
    // Level words per word position: from the line's start [0], and after the time of each form.
    int32_t levels[FormCount][LevelTokens] = {};
};

int32_t best(const int32_t* counts, int32_t n)
{
    int32_t index = -1;
    for (int32_t i = 0; i < n; ++i)
        if (counts[i] > 0 && (index < 0 || counts[i] > counts[index]))
            index = i;
    return index;
}

bool mostOf(int32_t part, int32_t whole)
{
    return part > 0 && 2 * part >= whole;
}

void countFields(FieldReader::Syntax syntax, const char* line, int32_t length, FieldCounts& counts)
{
    bool level[LevelKeyCount] = {};
    bool time[TimeKeyCount] = {};
    FieldReader reader(syntax, line, length);
    Field field;
    for (int32_t fields = 0; fields < 64 && reader.next(field); ++fields) {
        for (int32_t k = 0; k < LevelKeyCount; ++k)
            level[k] = level[k] || keyIs(field, LevelKeys[k]);
        for (int32_t k = 0; k < TimeKeyCount; ++k)
            time[k] = time[k] || keyIs(field, TimeKeys[k]);
    }
    bool any = false;
    for (int32_t k = 0; k < LevelKeyCount; ++k) {
        counts.level[k] += level[k];
        any = any || level[k];
    }
    for (int32_t k = 0; k < TimeKeyCount; ++k) {
        counts.time[k] += time[k];
        any = any || time[k];
    }
    counts.lines += any;
}

// Counts the level words at each word position from p on.
void countLevels(const char* p, const char* end, int32_t* levels)
{
    for (int32_t token = 0; token < LevelTokens; ++token) {
        while (p < end && (*p == ' ' || *p == '\t'))
            ++p;
        if (p >= end)
            return;
        const char* tokenEnd = p;
        while (tokenEnd < end && *tokenEnd != ' ' && *tokenEnd != '\t')
            ++tokenEnd;
        levels[token] += severityOfHeaderWord(p, tokenEnd) != Severity::None;
        p = tokenEnd;
    }
}

void countLine(const char* line, const char* end, Counts& counts)
{
    ++counts.lines;
    const auto length = static_cast<int32_t>(end - line);
    if (*line == '{') {
        countFields(FieldReader::Syntax::Json, line, length, counts.json);
        return;
    }
    if (startsWithLogfmtField(line, length))
        countFields(FieldReader::Syntax::Logfmt, line, length, counts.logfmt);
    const char* start = line;
    if (*start == '<') {
        // A syslog priority, and RFC 5424's version after it.
        const char* close
            = static_cast<const char*>(std::memchr(start, '>', static_cast<std::size_t>(end - start)));
        if (close && close - start <= 4) {
            ++counts.priority;
            start = close + 1;
            if (end - start >= 2 && start[0] >= '1' && start[0] <= '9' && start[1] == ' ')
                start += 2;
        }
    }
    countLevels(start, end, counts.levels[0]);
    for (int32_t form = 1; form < FormCount; ++form) {
        LocalClock::Civil civil;
        const int32_t taken = readTimeText(static_cast<TimeForm>(form), start, end, civil);
        if (taken > 0) {
            ++counts.forms[form];
            countLevels(start + taken, end, counts.levels[form]);
        }
    }
}

} // namespace

LogLayout recognizeLayout(const char* text, int32_t length,
    const std::vector<std::shared_ptr<const UserLayout>>& userLayouts, int64_t referenceSeconds)
{
    LogLayout layout;
    layout.clock.setReference(referenceSeconds);
    Counts counts;
    std::vector<int32_t> userCounts(userLayouts.size());
    const char* end = text + length;
    for (const char* line = text; line < end;) {
        const char* lineEnd = line;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        const char* first = line;
        while (first < lineEnd && (*first == ' ' || *first == '\t'))
            ++first;
        if (first < lineEnd) {
            countLine(line, lineEnd, counts);
            for (size_t u = 0; u < userLayouts.size(); ++u) {
                UserLayout::Match groups;
                userCounts[u] += userLayouts[u]->match(line, static_cast<int32_t>(lineEnd - line), groups);
            }
        }
        line = lineEnd + 1;
    }
    if (counts.lines == 0)
        return layout;

    for (size_t u = 0; u < userLayouts.size(); ++u) {
        if (mostOf(userCounts[u], counts.lines)) {
            layout.kind = LogLayout::Kind::User;
            layout.user = userLayouts[u];
            return layout;
        }
    }
    const bool json = mostOf(counts.json.lines, counts.lines);
    if (json || mostOf(counts.logfmt.lines, counts.lines)) {
        const FieldCounts& fields = json ? counts.json : counts.logfmt;
        layout.kind = json ? LogLayout::Kind::Json : LogLayout::Kind::Logfmt;
        layout.levelKey = static_cast<int8_t>(best(fields.level, LevelKeyCount));
        layout.timeKey = static_cast<int8_t>(best(fields.time, TimeKeyCount));
        return layout;
    }
    // A time at the start of a line is rare by chance: a tenth of the lines suffices (the others may
    // continue messages, as a stack trace does).
    const int32_t form = best(counts.forms, FormCount);
    if (form > 0 && 10 * counts.forms[form] >= counts.lines) {
        layout.kind = LogLayout::Kind::Text;
        layout.timeForm = static_cast<TimeForm>(form);
        const int32_t token = best(counts.levels[form], LevelTokens);
        if (form != static_cast<int32_t>(TimeForm::Glog) && token >= 0
            && mostOf(counts.levels[form][token], counts.forms[form]))
            layout.levelToken = static_cast<int8_t>(token);
        return layout;
    }
    const int32_t token = best(counts.levels[0], LevelTokens);
    if (token >= 0 && mostOf(counts.levels[0][token], counts.lines)) {
        layout.kind = LogLayout::Kind::Text;
        layout.levelToken = static_cast<int8_t>(token);
    } else if (mostOf(counts.priority, counts.lines)) {
        layout.kind = LogLayout::Kind::Text;
    }
    return layout;
}

} // namespace kestrano
