// Reading a moment as the user types it: ISO 8601 with and without seconds, fraction and offset, a date
// alone, and a time of day alone, which is its last occurrence up to the newest message.
#include "core/text/TimeInput.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace kestrano::test {
namespace {

constexpr int64_t Second = 1000000;
// 2026-12-09T13:02:05Z, 14:02:05 in Berlin.
constexpr int64_t Newest = 1796821325 * Second;

class TimeInputTest : public testing::Test {
protected:
    // Each case runs in a process of its own.
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
};

TEST_F(TimeInputTest, IsoDatesAndTimesAreLocalUnlessTheyStateTheirOffset)
{
    EXPECT_EQ(readTimeInput("2026-12-09T14:02:05", Newest), Newest);
    EXPECT_EQ(readTimeInput(" 2026-12-09 14:02:05 ", Newest), Newest);
    EXPECT_EQ(readTimeInput("2026-12-09t14:02", Newest), Newest - 5 * Second);
    EXPECT_EQ(readTimeInput("2026-12-09T13:02:05Z", Newest), Newest);
    EXPECT_EQ(readTimeInput("2026-12-09T15:02:05+02:00", Newest), Newest);
    EXPECT_EQ(readTimeInput("2026-12-09T08:02:05-0500", Newest), Newest);
    EXPECT_EQ(readTimeInput("2026-12-09T14:02:05.25", Newest), Newest + 250000);
    EXPECT_EQ(readTimeInput("2026-12-09T14:02:05,1234567", Newest), Newest + 123456);
    EXPECT_EQ(readTimeInput("2026-12-09", Newest), Newest - (14 * 3600 + 2 * 60 + 5) * Second);
    EXPECT_EQ(readTimeInput("2028-02-29T00:00Z", Newest), int64_t {1835395200} * Second);
    // Summer time: two hours ahead of UTC.
    EXPECT_EQ(readTimeInput("2026-07-01 02:00", Newest), readTimeInput("2026-07-01T00:00Z", Newest));
}

TEST_F(TimeInputTest, ATimeOfDayIsItsLastOccurrenceNotAfterTheNewest)
{
    EXPECT_EQ(readTimeInput("14:02", Newest), Newest - 5 * Second);
    EXPECT_EQ(readTimeInput("14:02:05", Newest), Newest);
    EXPECT_EQ(readTimeInput("00:00:00", Newest), readTimeInput("2026-12-09", Newest));
    // Later than the newest message: the day before.
    EXPECT_EQ(readTimeInput("14:02:06", Newest), readTimeInput("2026-12-08 14:02:06", Newest));
    EXPECT_EQ(readTimeInput("23:59:59.5", Newest), readTimeInput("2026-12-08T23:59:59.5", Newest));
    // Across the change to summer time, the day before is the calendar's day before.
    const int64_t afterChange = *readTimeInput("2026-03-29 10:00", Newest);
    EXPECT_EQ(lastTimeOfDay(12, 0, 0, 0, afterChange), readTimeInput("2026-03-28 12:00", Newest));
}

TEST_F(TimeInputTest, WhatIsNoMomentIsRefused)
{
    for (const char* text :
        {"", "14", "14:", "14:2", "1402", "25:00", "14:60", "14:02:61", "14:02:05.", "14:02 pm", "2026-12-9",
            "2026-13-01", "2026-12-09X14:02", "2026-12-09T14", "2026-12-09T14:02+25", "1969-12-31T23:00",
            "2026-02-29", "2026-04-31 12:00", "yesterday", "2026-12-09 14:02:05 extra"}) {
        EXPECT_FALSE(readTimeInput(text, Newest).has_value()) << text;
    }
}

} // namespace
} // namespace kestrano::test
