// kestrano-tail --merge: the messages of several logs as one stream in time order, each line with its
// log's short name, from plain, compressed and standard input sources, read once or followed.
#include "tests/support/MadeLogs.h"
#include "tests/support/TempDir.h"
#include "tests/tail/TailProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace kestrano::test {
namespace {

class TailMergeTest : public testing::Test {
protected:
    TempDir folder;
};

TEST_F(TailMergeTest, PrintsWhatTheLogsHoldInTimeOrderWithTheirNames)
{
    const std::string web = folder.file("web.log");
    writeFile(web,
        "2026-12-09 10:00:01 INFO web up\n"
        "2026-12-09 10:00:04 ERROR web failed\n"
        "  at handler()\n"
        "no time, after web failed\n"
        "2026-12-09 10:00:06 INFO web again\n");
    const std::string db = folder.file("db.log.gz");
    writeCompressed(db, "gzip",
        "2026-12-09 10:00:02 WARN db slow\n"
        "2026-12-09 10:00:04 INFO db same second\n"
        "2026-12-09 10:00:05 INFO db done\n");

    TailLaunch launch;
    launch.inputPipe = true;
    // With the keywords deciding, a line without a header is a message of its own, without a time.
    TailProcess tail({"--merge", "--once", "--keywords-only", "--bytes", "-1", web, db, "-"}, launch);
    tail.writeInput("2026-12-09 10:00:03 INFO piped\n");
    tail.closeInput();
    EXPECT_EQ(tail.wait(), 0) << tail.err();
    // Equal times: the logs in the order named; continuation lines after a tab as always.
    EXPECT_EQ(tail.out(),
        "INFO\tweb.log\t2026-12-09 10:00:01 INFO web up\n"
        "WARN\tdb.log.gz\t2026-12-09 10:00:02 WARN db slow\n"
        "INFO\tStandard Input\t2026-12-09 10:00:03 INFO piped\n"
        "ERROR\tweb.log\t2026-12-09 10:00:04 ERROR web failed\n"
        "\tat handler()\n"
        "?\tweb.log\tno time, after web failed\n"
        "INFO\tdb.log.gz\t2026-12-09 10:00:04 INFO db same second\n"
        "INFO\tdb.log.gz\t2026-12-09 10:00:05 INFO db done\n"
        "INFO\tweb.log\t2026-12-09 10:00:06 INFO web again\n");

    // The filters apply to the merged stream; --time comes first.
    const TailResult errors = runTail({"--merge", "-n", "-s", "error", "--time", web, db});
    EXPECT_EQ(errors.status, 0) << errors.err;
    EXPECT_NE(errors.out.find("\tERROR\tweb.log\t2026-12-09 10:00:04 ERROR web failed\n\tat handler()\n"),
        std::string::npos)
        << errors.out;
    EXPECT_EQ(errors.out.find("db.log.gz"), std::string::npos);
}

TEST_F(TailMergeTest, FollowedLogsPrintNewMessagesInOrderOfArrival)
{
    const std::string a = folder.file("a.log");
    const std::string b = folder.file("b.log");
    writeFile(a, "2026-12-09 10:00:03 INFO a3\n");
    writeFile(b, "2026-12-09 10:00:01 INFO b1\n");
    TailProcess tail({"--merge", a, b});
    ASSERT_TRUE(tail.waitForOutput("a3\n")) << tail.err();
    EXPECT_EQ(tail.out(),
        "INFO\tb.log\t2026-12-09 10:00:01 INFO b1\n"
        "INFO\ta.log\t2026-12-09 10:00:03 INFO a3\n");

    // What comes later is printed as it comes, whatever time it states, and never with a header.
    appendFile(b, "2026-12-09 10:00:09 INFO b9\n");
    ASSERT_TRUE(tail.waitForOutput("b9\n")) << tail.err();
    appendFile(a, "2026-12-09 10:00:04 INFO a4\n  detail\n");
    ASSERT_TRUE(tail.waitForOutput("\tdetail\n")) << tail.err();
    EXPECT_EQ(tail.stop(SIGINT), 0);
    EXPECT_EQ(tail.out(),
        "INFO\tb.log\t2026-12-09 10:00:01 INFO b1\n"
        "INFO\ta.log\t2026-12-09 10:00:03 INFO a3\n"
        "INFO\tb.log\t2026-12-09 10:00:09 INFO b9\n"
        "INFO\ta.log\t2026-12-09 10:00:04 INFO a4\n"
        "\tdetail\n");
}

} // namespace
} // namespace kestrano::test
