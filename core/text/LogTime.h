// The time a log line states: microseconds since the epoch and how many digits of a second's fraction
// the log wrote (at most six are kept), packed into one word; 0 stands for no time. Time texts of the
// common log layouts are read here, with a local-time clock that looks up the offset once per hour.
#pragma once

#include <cstdint>
#include <memory>

namespace kestrano {

namespace LogTime {

inline constexpr int64_t None = 0;
inline constexpr int32_t MaxDigits = 6;

inline constexpr int64_t pack(int64_t microseconds, int32_t digits)
{
    return static_cast<int64_t>(static_cast<uint64_t>(microseconds) << 4) | (digits + 1);
}
inline constexpr int64_t microseconds(int64_t packed)
{
    return packed >> 4;
}
inline constexpr int32_t digits(int64_t packed)
{
    return static_cast<int32_t>(packed & 15) - 1;
}

// Writes the packed time as YYYY-MM-DDTHH:MM:SS.mmm in local time (27 bytes with the NUL at most) and
// returns the length; "-" for None.
int32_t formatMilliseconds(int64_t packed, char* out);

} // namespace LogTime

// The forms of time text a header may start with.
enum class TimeForm : uint8_t {
    None,
    Iso, // 2026-12-09 00:45:42,120 or 2026-12-09T00:45:42.120+01:00 (also Z, +0100)
    Slash, // 2026/12/09 00:45:46
    Syslog, // Dec  9 00:45:42 (no year)
    Apache, // [Wed Dec 09 00:45:46.123456 2026]
    MonthDay, // 12-09 00:45:39.123 (no year)
    Glog, // I1209 00:45:39.123456: the level letter, month and day (no year)
    TimeOfDay, // 00:45:42.120 (no date)
    Count
};

namespace LogTime {

// A time a line states in a form with a year and without an offset, whose reading waits until it is
// asked for (Message::getTime): the form, and where the time starts in the message's text.
inline constexpr int64_t unread(TimeForm form, int32_t offset)
{
    return (static_cast<int64_t>(offset) << 8) | (static_cast<int64_t>(form) << 4) | 15;
}
inline constexpr bool isUnread(int64_t packed)
{
    return (packed & 15) == 15;
}
// Reads an unread time from the text it points into; None when it is not a time after all.
int64_t readUnread(int64_t unread, const char* text, int32_t length);

} // namespace LogTime

// Turns civil times into packed times. A local time's offset is looked up once per day (a cache of
// CachedDays days, direct-mapped, so that even a log in no order of time rarely asks again), and by the
// hour on a day the offset changes; a date
// without a year takes the reference time's year, or the one before where it would lie more than a
// day after the reference (a log spanning New Year stays in order); a time of day alone takes the
// reference's date.
class LocalClock {
public:
    explicit LocalClock(int64_t referenceSeconds = 0);
    LocalClock(const LocalClock& other);
    LocalClock& operator=(const LocalClock& other);
    void setReference(int64_t seconds);
    int64_t getReference() const { return reference; }

    struct Civil {
        int32_t year = -1; // -1: none stated
        int32_t month = 0; // 1 to 12; 0: no date stated
        int32_t day = 0;
        int32_t hour = 0;
        int32_t minute = 0;
        int32_t second = 0;
        int32_t micro = 0;
        int32_t digits = 0; // of the fraction as written
        bool hasOffset = false;
        int32_t offsetMinutes = 0;
    };
    // The packed time; None when a field is out of range.
    int64_t pack(const Civil& civil) const;

private:
    int64_t localOffsetSeconds(int64_t localSeconds) const;
    static int64_t lookUpOffset(int64_t localSeconds);
    int64_t civilSeconds(int64_t year, int32_t month, int32_t day, const Civil& civil) const;

    int64_t reference = 0;
    int32_t referenceYear = 1970;
    int32_t referenceMonth = 1;
    int32_t referenceDay = 1;
    static constexpr int32_t CachedDays = 64;
    struct CachedOffset {
        int64_t day = INT64_MIN; // local seconds / 86400
        int32_t start = 0; // the offset at the day's start
        int32_t end = 0; // ... and at the next day's start
    };
    mutable std::unique_ptr<CachedOffset[]> cache; // made at the first local time
    // The seconds since the epoch at the start of a local hour of a stated date, direct-mapped by
    // date and hour (the offset is the same through an hour), so most lines skip the calendar.
    static constexpr int32_t CachedHours = 1024; // a month of hours
    struct CachedHour {
        int64_t key = -1; // year, month, day and hour as one number
        int64_t start = 0;
    };
    mutable std::unique_ptr<CachedHour[]> hours;
    mutable int64_t lastMonth = -1; // year and month of lastMonthDays, as one number
    mutable int64_t lastMonthDays = 0; // days since the epoch of the month's first day
    mutable int64_t lastHour = INT64_MIN; // of a day the offset changes on
    mutable int64_t lastHourOffset = 0;
};

// Reads a time text of the form at the start of [text, end); returns the bytes it took (0: none).
// For Glog, the level letter comes first and is left to the caller.
int32_t readTimeText(TimeForm form, const char* text, const char* end, LocalClock::Civil& civil);

// The bytes readTimeText would take of an ISO or slash time in local time (one without an offset) at
// the start of [text, end), without reading its value; 0 when there is none, or it states an offset.
int32_t measureLocalDateTime(TimeForm form, const char* text, const char* end);

// Reads an epoch number as JSON loggers write it: seconds (with a fraction) or, from 10^11 on,
// milliseconds; None when it is not one.
int64_t epochTime(const char* text, const char* end);

} // namespace kestrano
