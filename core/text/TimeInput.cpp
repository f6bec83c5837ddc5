#include "core/text/TimeInput.h"

#include "core/text/LogTime.h"

namespace kestrano {

namespace {

constexpr int64_t MicrosPerSecond = 1000000;
constexpr int64_t SecondsPerDay = 86400;

// Reads exactly n digits.
bool readDigits(std::string_view& text, int n, int32_t& value)
{
    if (static_cast<int>(text.size()) < n)
        return false;
    value = 0;
    for (int i = 0; i < n; ++i) {
        const char c = text[static_cast<size_t>(i)];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    text.remove_prefix(static_cast<size_t>(n));
    return true;
}

bool take(std::string_view& text, char c)
{
    if (text.empty() || text.front() != c)
        return false;
    text.remove_prefix(1);
    return true;
}

// HH:MM[:SS[.fraction]], the fraction as far as six digits count.
bool readClock(std::string_view& text, LocalClock::Civil& civil)
{
    if (!readDigits(text, 2, civil.hour) || !take(text, ':') || !readDigits(text, 2, civil.minute))
        return false;
    if (!take(text, ':'))
        return true;
    if (!readDigits(text, 2, civil.second))
        return false;
    if (!take(text, '.') && !take(text, ','))
        return true;
    int32_t digits = 0;
    while (!text.empty() && text.front() >= '0' && text.front() <= '9') {
        if (digits < LogTime::MaxDigits) {
            civil.micro = civil.micro * 10 + (text.front() - '0');
            ++digits;
        }
        text.remove_prefix(1);
    }
    if (digits == 0)
        return false;
    for (int32_t i = digits; i < LogTime::MaxDigits; ++i)
        civil.micro *= 10;
    return true;
}

// Z, +HH, +HH:MM or +HHMM (or -).
bool readOffset(std::string_view& text, LocalClock::Civil& civil)
{
    if (take(text, 'Z') || take(text, 'z')) {
        civil.hasOffset = true;
        return true;
    }
    const bool east = !text.empty() && text.front() == '+';
    if (!east && !(!text.empty() && text.front() == '-'))
        return true;
    text.remove_prefix(1);
    int32_t hours = 0, minutes = 0;
    if (!readDigits(text, 2, hours))
        return false;
    take(text, ':');
    if (!text.empty() && !readDigits(text, 2, minutes))
        return false;
    if (hours > 23 || minutes > 59)
        return false;
    civil.hasOffset = true;
    civil.offsetMinutes = (east ? 1 : -1) * (hours * 60 + minutes);
    return true;
}

int32_t daysInMonth(int32_t year, int32_t month)
{
    static constexpr int32_t days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return days[month - 1] + (month == 2 && leap);
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<int64_t> lastTimeOfDay(
    int32_t hour, int32_t minute, int32_t second, int32_t micro, int64_t newestMicroseconds)
{
    LocalClock::Civil civil;
    civil.hour = hour;
    civil.minute = minute;
    civil.second = second;
    civil.micro = micro;
    if (hour < 0 || minute < 0 || second < 0 || micro < 0 || micro >= MicrosPerSecond)
        return std::nullopt;
    const int64_t newestSeconds = newestMicroseconds >= 0
        ? newestMicroseconds / MicrosPerSecond
        : -((-newestMicroseconds + MicrosPerSecond - 1) / MicrosPerSecond);
    LocalClock clock(newestSeconds);
    int64_t packed = clock.pack(civil);
    if (packed == LogTime::None)
        return std::nullopt;
    if (LogTime::microseconds(packed) > newestMicroseconds) {
        // The same time of the day before (by its own date, whatever the day's length).
        clock.setReference(newestSeconds - SecondsPerDay);
        packed = clock.pack(civil);
    }
    return LogTime::microseconds(packed);
}

std::optional<int64_t> readTimeInput(std::string_view text, int64_t newestMicroseconds)
{
    text = trimmed(text);
    LocalClock::Civil civil;
    if (text.size() > 2 && text[2] == ':') {
        if (!readClock(text, civil) || !text.empty())
            return std::nullopt;
        return lastTimeOfDay(civil.hour, civil.minute, civil.second, civil.micro, newestMicroseconds);
    }
    if (!readDigits(text, 4, civil.year) || !take(text, '-') || !readDigits(text, 2, civil.month)
        || !take(text, '-') || !readDigits(text, 2, civil.day))
        return std::nullopt;
    if (!text.empty()) {
        if (!take(text, 'T') && !take(text, 't') && !take(text, ' '))
            return std::nullopt;
        if (!readClock(text, civil) || !readOffset(text, civil) || !text.empty())
            return std::nullopt;
    }
    if (civil.year < 1970 || civil.day > daysInMonth(civil.year, civil.month))
        return std::nullopt;
    const int64_t packed = LocalClock().pack(civil);
    if (packed == LogTime::None)
        return std::nullopt;
    return LogTime::microseconds(packed);
}

} // namespace kestrano
