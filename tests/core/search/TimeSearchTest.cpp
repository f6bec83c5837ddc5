// Finding rows by time over the rows a view shows of a real file: the first at or after a moment, rows
// without a time keeping their place after the message before them, and the newest time shown.
#include "core/search/TimeSearch.h"
#include "core/text/LogTime.h"
#include "core/text/TimeInput.h"
#include "tests/core/ViewFixture.h"

namespace kestrano::test {
namespace {

using TimeSearchTest = ViewTest;

int64_t at(const char* iso)
{
    return *readTimeInput(iso, 0);
}

TEST_F(TimeSearchTest, TheFirstRowAtOrAfterAMomentAndTheNewestTime)
{
    EXPECT_EQ(firstRowAtOrAfter(list, 0), -1);
    EXPECT_EQ(timeAtOrBefore(list), LogTime::None);
    writeFile(path,
        "plain line without a time\n"
        "2026-12-09T14:00:00Z INFO start\n"
        "2026-12-09T14:00:05Z WARN slow\n"
        "a line without a header\n"
        "2026-12-09T14:00:05Z ERROR failed\n"
        "2026-12-09T14:02:30Z INFO recovered\n"
        "trailing words\n");
    settings.SetMultiLine(false);
    view.rebuildList();
    ASSERT_EQ(list.rowCount(), 7);
    EXPECT_EQ(firstRowAtOrAfter(list, at("2026-12-09T13:00Z")), 1);
    EXPECT_EQ(firstRowAtOrAfter(list, at("2026-12-09T14:00Z")), 1);
    EXPECT_EQ(firstRowAtOrAfter(list, at("2026-12-09T14:00:01Z")), 2);
    EXPECT_EQ(firstRowAtOrAfter(list, at("2026-12-09T14:00:05.000001Z")), 5);
    EXPECT_EQ(firstRowAtOrAfter(list, at("2026-12-09T14:02:30Z")), 5);
    EXPECT_EQ(firstRowAtOrAfter(list, at("2026-12-09T14:02:31Z")), -1);
    EXPECT_EQ(LogTime::microseconds(timeAtOrBefore(list)), at("2026-12-09T14:02:30Z"));
    EXPECT_EQ(LogTime::microseconds(timeAtOrBefore(list, 3)), at("2026-12-09T14:00:05Z"));
    EXPECT_EQ(timeAtOrBefore(list, 0), LogTime::None);
    // Only shown rows count: the three without a time and the error.
    view.setMinimumSeverity(Severity::Error);
    ASSERT_EQ(list.rowCount(), 4);
    EXPECT_EQ(firstRowAtOrAfter(list, at("2026-12-09T14:00:01Z")), 2);
    EXPECT_EQ(LogTime::microseconds(timeAtOrBefore(list, 3)), at("2026-12-09T14:00:05Z"));
}

} // namespace
} // namespace kestrano::test
