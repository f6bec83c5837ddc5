#include "core/text/LogLayout.h"

#include "core/text/LevelWord.h"
#include "core/text/StructuredFields.h"
#include "core/text/UserLayout.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kestrano {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The first blank at or after p, or end; eight bytes at a time, as a header's words are of any length.
const char* findBlank(const char* p, const char* end)
{
    static_assert(std::endian::native == std::endian::little);
    constexpr uint64_t Ones = 0x0101010101010101ull;
    constexpr uint64_t Highs = 0x8080808080808080ull;
    for (; end - p >= 8; p += 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        // A byte is zero after the XOR with a blank; the lowest flagged byte is always a true one.
        const uint64_t spaces = word ^ (' ' * Ones);
        const uint64_t tabs = word ^ ('\t' * Ones);
        const uint64_t found = (((spaces - Ones) & ~spaces) | ((tabs - Ones) & ~tabs)) & Highs;
        if (found)
            return p + __builtin_ctzll(found) / 8;
    }
    while (p < end && !isBlank(*p))
        ++p;
    return p;
}

// <N> at the line's start (a syslog priority), then the version of RFC 5424 ("1 "); the priority or -1.
int32_t readPriority(const char*& p, const char* end)
{
    if (p >= end || *p != '<')
        return -1;
    const char* q = p + 1;
    int32_t value = 0;
    int32_t digits = 0;
    for (; q < end && *q >= '0' && *q <= '9' && digits < 3; ++q, ++digits)
        value = value * 10 + (*q - '0');
    if (digits == 0 || q >= end || *q != '>' || value > 191)
        return -1;
    p = q + 1;
    if (end - p >= 2 && p[0] >= '1' && p[0] <= '9' && p[1] == ' ')
        p += 2;
    return value;
}

// The severity a structured field's value states: a level word or a Node logger's number.
int32_t severityOfValue(const Field& field)
{
    const int32_t word = severityOfLevelWord(field.value, field.valueLength, LevelCase::Any);
    if (word != Severity::None || field.quoted || field.valueLength > 3)
        return word;
    int64_t number = 0;
    for (int32_t i = 0; i < field.valueLength; ++i) {
        if (field.value[i] < '0' || field.value[i] > '9')
            return Severity::None;
        number = number * 10 + (field.value[i] - '0');
    }
    return severityOfLevelNumber(number);
}

} // namespace

int32_t severityOfHeaderWord(const char* word, const char* end)
{
    if (word >= end)
        return Severity::None;
    const char open = *word;
    if (open == '[' || open == '<' || open == '(') {
        const char close = open == '[' ? ']' : open == '<' ? '>' : ')';
        const char* inner = word + 1;
        const char* innerEnd = inner;
        while (innerEnd < end && *innerEnd != close && !isBlank(*innerEnd))
            ++innerEnd;
        if (innerEnd == end || *innerEnd != close)
            return Severity::None;
        // [core:error]: the level is the last part.
        for (const char* p = innerEnd; p > inner; --p) {
            if (p[-1] == ':') {
                inner = p;
                break;
            }
        }
        return severityOfLevelWord(inner, static_cast<int32_t>(innerEnd - inner), LevelCase::Any);
    }
    const char* wordEnd = word;
    const int32_t severity = severityOfLettersAt(word, end, LevelCase::Written, wordEnd);
    if (wordEnd < end && !isBlank(*wordEnd) && *wordEnd != ':' && *wordEnd != '/' && *wordEnd != '|'
        && *wordEnd != ']')
        return Severity::None;
    return severity;
}

void LogLayout::read(const char* line, int32_t length, LineHeader& header, bool deferTime) const
{
    header = {};
    switch (kind) {
    case Kind::None:
        return;
    case Kind::Json:
    case Kind::Logfmt:
        readFields(line, length, header);
        return;
    case Kind::Text:
        readText(line, line + length, header, deferTime);
        return;
    case Kind::User:
        readUser(line, length, header);
        return;
    }
}

void LogLayout::readText(
    const char* line, const char* end, LineHeader& header, bool deferTime, Reach* reach) const
{
    const char* p = line;
    const int32_t priority = readPriority(p, end);
    if (priority >= 0) {
        header.present = true;
        header.severity = severityOfPriority(priority & 7);
    }
    bool byShape = priority < 0;
    int32_t timeLooked = 0; // the bytes the time's reading looked at, those after it included
    if (timeForm != TimeForm::None) {
        int32_t taken = deferTime ? measureLocalDateTime(timeForm, p, end) : 0;
        if (taken > 0) {
            header.time = LogTime::unread(timeForm, static_cast<int32_t>(p - line));
        } else {
            LocalClock::Civil civil;
            taken = readTimeText(timeForm, p, end, civil);
            if (taken == 0)
                return;
            header.time = clock.pack(civil);
            byShape = false;
        }
        header.present = true;
        if (timeForm == TimeForm::Glog && header.severity == Severity::None)
            header.severity = severityOfLevelWord(p, 1, LevelCase::Written);
        p += taken;
        // The byte after the time; after a point or comma also the next (a fraction's digit?), after a
        // sign the next two (an offset's?).
        const char after = p < end ? *p : '\0';
        timeLooked = static_cast<int32_t>(p - line) + 1 + (after == '.' || after == ',' ? 1 : 0)
            + (after == '+' || after == '-' ? 2 : 0);
    }
    if (levelToken < 0 || header.severity != Severity::None) {
        if (reach && byShape && levelToken < 0 && timeForm != TimeForm::None)
            *reach = {timeLooked, -1, header.present};
        return;
    }
    for (int32_t token = 0;; ++token) {
        while (p < end && isBlank(*p))
            ++p;
        if (p >= end)
            return;
        if (token == levelToken) {
            if (reach && byShape)
                *reach = {std::max(static_cast<int32_t>(p - line), timeLooked),
                    static_cast<int32_t>(p - line), header.present};
            header.severity = severityOfHeaderWord(p, end);
            header.present = header.present || header.severity != Severity::None;
            return;
        }
        p = findBlank(p, end);
    }
}

void LogLayout::readFields(const char* line, int32_t length, LineHeader& header) const
{
    const bool json = kind == Kind::Json;
    if (json) {
        int32_t at = 0;
        while (at < length && isBlank(line[at]))
            ++at;
        if (at == length || line[at] != '{')
            return;
    } else if (!startsWithLogfmtField(line, length)) {
        return;
    }
    header.present = true;
    FieldReader reader(json ? FieldReader::Syntax::Json : FieldReader::Syntax::Logfmt, line, length);
    bool needLevel = levelKey >= 0;
    bool needTime = timeKey >= 0;
    Field field;
    while ((needLevel || needTime) && reader.next(field)) {
        if (needLevel && keyIs(field, LevelKeys[levelKey])) {
            header.severity = severityOfValue(field);
            needLevel = false;
        } else if (needTime && keyIs(field, TimeKeys[timeKey])) {
            const char* value = field.value;
            const char* valueEnd = value + field.valueLength;
            LocalClock::Civil civil;
            if (readTimeText(TimeForm::Iso, value, valueEnd, civil) > 0)
                header.time = clock.pack(civil);
            else if (!field.quoted)
                header.time = epochTime(value, valueEnd);
            needTime = false;
        }
    }
}

void LogLayout::readUser(const char* line, int32_t length, LineHeader& header) const
{
    UserLayout::Match groups;
    if (!user->match(line, length, groups))
        return;
    header.present = true;
    if (groups.level) {
        Field level;
        level.value = groups.level;
        level.valueLength = groups.levelLength;
        header.severity = severityOfValue(level);
    }
    if (groups.time) {
        const char* end = groups.time + groups.timeLength;
        for (int32_t form = 1; form < static_cast<int32_t>(TimeForm::Count); ++form) {
            LocalClock::Civil civil;
            if (readTimeText(static_cast<TimeForm>(form), groups.time, end, civil) > 0) {
                header.time = clock.pack(civil);
                return;
            }
        }
        header.time = epochTime(groups.time, end);
    }
}

} // namespace kestrano
