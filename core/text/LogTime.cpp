#include "core/text/LogTime.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace kestrano {
namespace {

constexpr int64_t MicrosPerSecond = 1000000;
constexpr int64_t SecondsPerDay = 86400;

// How often a clock was made or given a reference (see unreadTimesClock).
std::atomic<uint32_t> clocksMade {0};

int64_t floorDivide(int64_t a, int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
int64_t daysFromCivil(int64_t year, int32_t month, int32_t day)
{
    year -= month <= 2;
    const int64_t era = floorDivide(year, 400);
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

[[gnu::always_inline]] inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether every byte of the word is a digit, for eight bytes at once: a digit's high half is 3, and
// adding 6 keeps it so (a carry out of a byte only happens where its high half is not 3 already).
[[gnu::always_inline]] inline bool allDigits(uint64_t word)
{
    constexpr uint64_t High = 0xF0F0F0F0F0F0F0F0ull;
    constexpr uint64_t Three = 0x3030303030303030ull;
    return (word & High) == Three && ((word + 0x0606060606060606ull) & High) == Three;
}

// Whether the digits of YYYY?MM?DD?HH?MM?SS (19 bytes, separators already checked) are digits.
[[gnu::always_inline]] inline bool digitsAt(const char* p)
{
    // Bytes 0-7, 8-15 and 11-18 (little-endian words); each separator's byte is made a '0' first.
    uint64_t first;
    uint64_t second;
    uint64_t third;
    std::memcpy(&first, p, 8);
    std::memcpy(&second, p + 8, 8);
    std::memcpy(&third, p + 11, 8);
    constexpr uint64_t FirstSeparators = 0xFF0000FF00000000ull; // bytes 4 and 7
    constexpr uint64_t LaterSeparators = 0x0000FF0000FF0000ull; // bytes 10 and 13, then 13 and 16
    constexpr uint64_t Zeros = 0x3030303030303030ull;
    first = (first & ~FirstSeparators) | (Zeros & FirstSeparators);
    second = (second & ~LaterSeparators) | (Zeros & LaterSeparators);
    third = (third & ~LaterSeparators) | (Zeros & LaterSeparators);
    return allDigits(first) && allDigits(second) && allDigits(third);
}

// Reads exactly n digits.
[[gnu::always_inline]] inline bool readNumber(const char*& p, const char* end, int n, int32_t& value)
{
    if (end - p < n)
        return false;
    int32_t result = 0;
    for (int i = 0; i < n; ++i) {
        if (!isDigit(p[i]))
            return false;
        result = result * 10 + (p[i] - '0');
    }
    value = result;
    p += n;
    return true;
}

[[gnu::always_inline]] inline bool readChar(const char*& p, const char* end, char c)
{
    if (p >= end || *p != c)
        return false;
    ++p;
    return true;
}

// A time ends at a space, a bracket or the line's end, not inside a longer number.
[[gnu::always_inline]] inline bool endsTime(const char* p, const char* end)
{
    return p >= end || !(isDigit(*p) || (*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z'));
}

// YYYY-MM-DD HH:MM:SS (or with T, or slashes) at text: its separators and digits.
[[gnu::always_inline]] inline bool isDateTime(TimeForm form, const char* p, const char* end)
{
    const char separator = form == TimeForm::Iso ? '-' : '/';
    if (end - p < 19 || p[4] != separator || p[7] != separator || p[13] != ':' || p[16] != ':'
        || (p[10] != ' ' && !(form == TimeForm::Iso && p[10] == 'T')))
        return false;
    return digitsAt(p);
}

// An optional fraction of a second after '.' or ','.
[[gnu::always_inline]] inline void readFraction(const char*& p, const char* end, LocalClock::Civil& civil)
{
    if (end - p >= 2 && (*p == '.' || *p == ',') && isDigit(p[1])) {
        const char* fraction = ++p;
        static constexpr int32_t Scale[] = {1000000, 100000, 10000, 1000, 100, 10, 1};
        int32_t digits = 0;
        int32_t micro = 0;
        for (; p < end && isDigit(*p) && digits < LogTime::MaxDigits; ++p, ++digits)
            micro = micro * 10 + (*p - '0');
        while (p < end && isDigit(*p) && p - fraction < 9) // digits beyond microseconds are dropped
            ++p;
        civil.digits = digits;
        civil.micro = micro * Scale[digits];
    }
}

// HH:MM:SS and an optional fraction.
[[gnu::always_inline]] inline bool readClock(const char*& p, const char* end, LocalClock::Civil& civil)
{
    if (!readNumber(p, end, 2, civil.hour) || !readChar(p, end, ':') || !readNumber(p, end, 2, civil.minute)
        || !readChar(p, end, ':') || !readNumber(p, end, 2, civil.second))
        return false;
    readFraction(p, end, civil);
    return true;
}

// Z, +HH, +HHMM or +HH:MM.
[[gnu::always_inline]] inline void readOffset(const char*& p, const char* end, LocalClock::Civil& civil)
{
    if (p < end && *p == 'Z') {
        ++p;
        civil.hasOffset = true;
        civil.offsetMinutes = 0;
        return;
    }
    if (p >= end || (*p != '+' && *p != '-'))
        return;
    const char* q = p + 1;
    int32_t hours = 0;
    int32_t minutes = 0;
    if (!readNumber(q, end, 2, hours))
        return;
    if (q < end && *q == ':') {
        const char* r = q + 1;
        if (readNumber(r, end, 2, minutes))
            q = r;
    } else {
        readNumber(q, end, 2, minutes);
    }
    civil.hasOffset = true;
    civil.offsetMinutes = (*p == '-' ? -1 : 1) * (hours * 60 + minutes);
    p = q;
}

bool readMonthName(const char*& p, const char* end, int32_t& month)
{
    static const char names[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    if (end - p < 3)
        return false;
    for (int32_t m = 0; m < 12; ++m) {
        if (std::memcmp(p, names + 3 * m, 3) == 0) {
            month = m + 1;
            p += 3;
            return true;
        }
    }
    return false;
}

bool readDayName(const char*& p, const char* end)
{
    static const char names[] = "MonTueWedThuFriSatSun";
    if (end - p < 3)
        return false;
    for (int32_t d = 0; d < 7; ++d) {
        if (std::memcmp(p, names + 3 * d, 3) == 0) {
            p += 3;
            return true;
        }
    }
    return false;
}

} // namespace

int32_t LogTime::formatMilliseconds(int64_t packed, char* out)
{
    if (packed == None) {
        std::memcpy(out, "-", 2);
        return 1;
    }
    const int64_t micros = microseconds(packed);
    const auto seconds = static_cast<time_t>(floorDivide(micros, MicrosPerSecond));
    const auto millis
        = static_cast<int32_t>((micros - static_cast<int64_t>(seconds) * MicrosPerSecond) / 1000);
    struct tm local { };
    localtime_r(&seconds, &local);
    return std::snprintf(out, 27, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", local.tm_year + 1900,
        local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, millis);
}

LocalClock::LocalClock(int64_t referenceSeconds)
{
    setReference(referenceSeconds);
}

LocalClock::LocalClock(const LocalClock& other)
{
    setReference(other.reference);
}

LocalClock& LocalClock::operator=(const LocalClock& other)
{
    if (this != &other) {
        setReference(other.reference);
        lastMonth = -1;
    }
    return *this;
}

void LocalClock::setReference(int64_t seconds)
{
    clocksMade.fetch_add(1, std::memory_order_relaxed);
    reference = seconds;
    const auto at = static_cast<time_t>(seconds);
    struct tm local { };
    localtime_r(&at, &local);
    referenceYear = local.tm_year + 1900;
    referenceMonth = local.tm_mon + 1;
    referenceDay = local.tm_mday;
    cache.reset();
    hours.reset();
    lastHour = INT64_MIN;
}

// The offset of UTC from local time at the local time given (seconds of local time since the epoch).
int64_t LocalClock::lookUpOffset(int64_t localSeconds)
{
    const auto at = static_cast<time_t>(localSeconds);
    struct tm broken { };
    gmtime_r(&at, &broken);
    broken.tm_isdst = -1;
    const time_t utc = mktime(&broken);
    return utc == static_cast<time_t>(-1) ? 0 : localSeconds - static_cast<int64_t>(utc);
}

[[gnu::always_inline]] inline int64_t LocalClock::localOffsetSeconds(int64_t localSeconds) const
{
    const int64_t day = floorDivide(localSeconds, SecondsPerDay);
    if (!cache)
        cache = std::make_unique<CachedOffset[]>(CachedDays);
    CachedOffset& cached = cache[static_cast<size_t>(day & (CachedDays - 1))];
    if (cached.day != day) {
        cached.day = day;
        cached.start = lookUpOffset(day * SecondsPerDay);
        cached.end = lookUpOffset((day + 1) * SecondsPerDay);
    }
    if (cached.start == cached.end)
        return cached.start;
    // The offset changes on this day: looked up by the hour.
    const int64_t hour = floorDivide(localSeconds, 3600);
    if (hour != lastHour) {
        lastHour = hour;
        lastHourOffset = lookUpOffset(hour * 3600);
    }
    return lastHourOffset;
}

// Seconds since the epoch of the civil time as if it were UTC; the first day of the last month is kept.
[[gnu::always_inline]] inline int64_t LocalClock::civilSeconds(
    int64_t year, int32_t month, int32_t day, const Civil& civil) const
{
    const int64_t yearMonth = year * 16 + month;
    if (yearMonth != lastMonth) {
        lastMonthDays = daysFromCivil(year, month, 1);
        lastMonth = yearMonth;
    }
    return (lastMonthDays + day - 1) * SecondsPerDay + civil.hour * 3600 + civil.minute * 60 + civil.second;
}

int64_t LocalClock::pack(const Civil& civil) const
{
    int32_t month = civil.month;
    int32_t day = civil.day;
    if (month == 0) {
        month = referenceMonth;
        day = referenceDay;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || civil.hour > 23 || civil.minute > 59
        || civil.second > 60)
        return LogTime::None;
    const bool guessYear = civil.year < 0;
    if (!guessYear && !civil.hasOffset) {
        const int64_t key = ((static_cast<int64_t>(civil.year) * 16 + month) * 32 + day) * 32 + civil.hour;
        if (!hours)
            hours = std::make_unique<CachedHour[]>(CachedHours);
        CachedHour& cached = hours[static_cast<size_t>(key & (CachedHours - 1))];
        if (cached.key != key) {
            Civil hourStart;
            hourStart.hour = civil.hour;
            const int64_t local = civilSeconds(civil.year, month, day, hourStart);
            cached.start = local - localOffsetSeconds(local);
            cached.key = key;
        }
        const int64_t seconds = cached.start + civil.minute * 60 + civil.second;
        return LogTime::pack(seconds * MicrosPerSecond + civil.micro, civil.digits);
    }
    int64_t year = guessYear ? referenceYear : civil.year;
    int64_t seconds = civilSeconds(year, month, day, civil);
    if (civil.hasOffset) {
        seconds -= static_cast<int64_t>(civil.offsetMinutes) * 60;
    } else {
        seconds -= localOffsetSeconds(seconds);
        if (guessYear && civil.month != 0 && seconds > reference + SecondsPerDay) {
            --year;
            seconds = civilSeconds(year, month, day, civil);
            seconds -= localOffsetSeconds(seconds);
        }
    }
    return LogTime::pack(seconds * MicrosPerSecond + civil.micro, civil.digits);
}

int32_t readTimeText(TimeForm form, const char* text, const char* end, LocalClock::Civil& civil)
{
    const char* p = text;
    civil = {};
    switch (form) {
    case TimeForm::Iso:
    case TimeForm::Slash: {
        if (!isDateTime(form, p, end))
            return 0;
        const auto two = [p](int at) { return (p[at] - '0') * 10 + (p[at + 1] - '0'); };
        civil.year = two(0) * 100 + two(2);
        civil.month = two(5);
        civil.day = two(8);
        civil.hour = two(11);
        civil.minute = two(14);
        civil.second = two(17);
        p += 19;
        readFraction(p, end, civil);
        if (form == TimeForm::Iso)
            readOffset(p, end, civil);
        break;
    }
    case TimeForm::Syslog:
        if (!readMonthName(p, end, civil.month) || !readChar(p, end, ' '))
            return 0;
        if (p < end && *p == ' ') {
            ++p;
            if (!readNumber(p, end, 1, civil.day))
                return 0;
        } else if (!readNumber(p, end, 2, civil.day)) {
            return 0;
        }
        if (!readChar(p, end, ' ') || !readClock(p, end, civil))
            return 0;
        break;
    case TimeForm::Apache:
        if (!readChar(p, end, '[') || !readDayName(p, end) || !readChar(p, end, ' ')
            || !readMonthName(p, end, civil.month) || !readChar(p, end, ' ')
            || !readNumber(p, end, 2, civil.day) || !readChar(p, end, ' ') || !readClock(p, end, civil)
            || !readChar(p, end, ' ') || !readNumber(p, end, 4, civil.year) || !readChar(p, end, ']'))
            return 0;
        break;
    case TimeForm::MonthDay:
        if (!readNumber(p, end, 2, civil.month) || !readChar(p, end, '-') || !readNumber(p, end, 2, civil.day)
            || !readChar(p, end, ' ') || !readClock(p, end, civil))
            return 0;
        break;
    case TimeForm::Glog:
        if (p >= end || std::strchr("IWEF", *p) == nullptr || *p == '\0')
            return 0;
        ++p;
        if (!readNumber(p, end, 2, civil.month) || !readNumber(p, end, 2, civil.day) || !readChar(p, end, ' ')
            || !readClock(p, end, civil))
            return 0;
        break;
    case TimeForm::TimeOfDay:
        if (!readClock(p, end, civil))
            return 0;
        break;
    case TimeForm::None:
    case TimeForm::Count:
        return 0;
    }
    return endsTime(p, end) ? static_cast<int32_t>(p - text) : 0;
}

int32_t measureLocalDateTime(TimeForm form, const char* text, const char* end)
{
    if ((form != TimeForm::Iso && form != TimeForm::Slash) || !isDateTime(form, text, end))
        return 0;
    const char* p = text + 19;
    LocalClock::Civil rest;
    readFraction(p, end, rest);
    if (form == TimeForm::Iso)
        readOffset(p, end, rest);
    return !rest.hasOffset && endsTime(p, end) ? static_cast<int32_t>(p - text) : 0;
}

namespace {

// Reads the unread times of messages; its offsets are looked up afresh once any log's clock was made
// since (a clock is made where a log's layout is recognised, so a changed time zone is seen there).
const LocalClock& unreadTimesClock()
{
    thread_local LocalClock clock;
    thread_local uint32_t madeBefore = 0;
    const uint32_t made = clocksMade.load(std::memory_order_relaxed);
    if (made != madeBefore) {
        clock = LocalClock();
        madeBefore = clocksMade.load(std::memory_order_relaxed);
    }
    return clock;
}

} // namespace

int64_t LogTime::readUnread(int64_t unread, const char* text, int32_t length)
{
    const auto form = static_cast<TimeForm>((unread >> 4) & 15);
    const auto offset = static_cast<int32_t>(unread >> 8);
    LocalClock::Civil civil;
    if (offset > length || readTimeText(form, text + offset, text + length, civil) == 0)
        return None;
    return unreadTimesClock().pack(civil);
}

int64_t epochTime(const char* text, const char* end)
{
    const char* p = text;
    int64_t whole = 0;
    int32_t count = 0;
    for (; p < end && isDigit(*p); ++p, ++count) {
        if (count == 18)
            return LogTime::None;
        whole = whole * 10 + (*p - '0');
    }
    if (count == 0)
        return LogTime::None;
    int32_t digits = 0;
    int64_t fraction = 0;
    if (p < end && *p == '.') {
        for (++p; p < end && isDigit(*p); ++p) {
            if (digits < LogTime::MaxDigits) {
                fraction = fraction * 10 + (*p - '0');
                ++digits;
            }
        }
    }
    for (int32_t d = digits; d < LogTime::MaxDigits; ++d)
        fraction *= 10;
    if (whole >= 100000000000LL) // milliseconds
        return LogTime::pack(whole * 1000 + fraction / 1000,
            digits + 3 > LogTime::MaxDigits ? LogTime::MaxDigits : digits + 3);
    return LogTime::pack(whole * MicrosPerSecond + fraction, digits);
}

} // namespace kestrano
