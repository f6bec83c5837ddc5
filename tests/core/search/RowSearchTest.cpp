// Finding the next or previous row that matches, over the rows a view shows of a real file.
#include "core/search/RowSearch.h"
#include "tests/core/ViewFixture.h"

namespace kestrano::test {
namespace {

using RowSearchTest = ViewTest;

TEST_F(RowSearchTest, FindingRowsGoesBothWaysAndWraps)
{
    writeFile(path,
        "info order 10443 received\ninfo order 10444 received\nwarn ORDER 10443 late\n"
        "error payment failed\ninfo order 10443 shipped\n");
    view.rebuildList();
    // Rows: 0 received 10443, 1 received 10444, 2 late 10443, 3 payment, 4 shipped 10443.
    TextMatcher matcher({{"10443"}, false, false});
    auto found = [&](int32_t from, bool forward, bool includeFrom) {
        const RowMatch match = findRow(list, matcher, from, forward, includeFrom);
        return std::to_string(match.row) + " " + std::to_string(match.ordinal) + "/"
            + std::to_string(match.count) + (match.wrapped ? " wrapped" : "");
    };
    EXPECT_EQ(found(-1, true, false), "0 1/3");
    EXPECT_EQ(found(0, true, true), "0 1/3");
    EXPECT_EQ(found(0, true, false), "2 2/3");
    EXPECT_EQ(found(3, true, false), "4 3/3");
    EXPECT_EQ(found(4, true, false), "0 1/3 wrapped");
    EXPECT_EQ(found(-1, false, false), "4 3/3");
    EXPECT_EQ(found(4, false, false), "2 2/3");
    EXPECT_EQ(found(2, false, true), "2 2/3");
    EXPECT_EQ(found(0, false, false), "4 3/3 wrapped");
    // Only shown rows are searched.
    view.setMinimumSeverity(2);
    EXPECT_EQ(found(-1, true, false), "0 1/1");
    TextMatcher none({{"10445"}, false, false});
    EXPECT_EQ(findRow(list, none, -1, true, false).row, -1);
}

} // namespace
} // namespace kestrano::test
