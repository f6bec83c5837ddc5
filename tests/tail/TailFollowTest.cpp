// kestrano-tail following its files: appends between polls, continuations as they come, a truncated
// or vanished file, and the quiet ends by Ctrl+C and by a closed pipe.
#include "tests/support/TempDir.h"
#include "tests/tail/TailProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kestrano::test {
namespace {

class TailFollowTest : public testing::Test {
protected:
    TempDir folder;
    const std::string path = folder.file("app.log");

    // Follows the log, which holds one line, polling every 20 ms, once that line is printed.
    std::unique_ptr<TailProcess> followStarted()
    {
        writeFile(path, "info start\n");
        auto tail = std::make_unique<TailProcess>(std::vector<std::string> {"-i", "20", path});
        EXPECT_TRUE(tail->waitForOutput("INFO\tinfo start\n"));
        return tail;
    }
};

TEST_F(TailFollowTest, PrintsAppendsAndContinuationsAsTheyAreRead)
{
    const std::unique_ptr<TailProcess> started = followStarted();
    TailProcess& tail = *started;

    appendFile(path, "ERROR disk full\n   at write()\n");
    ASSERT_TRUE(tail.waitForOutput("\tat write()\n"));
    // A later continuation of the same message, and a line completed over two polls.
    appendFile(path, "\tat main()\nwarn half");
    ASSERT_TRUE(tail.waitForOutput("\tat main()\n"));
    appendFile(path, " done\n");
    ASSERT_TRUE(tail.waitForOutput("WARN\twarn half done\n"));

    EXPECT_EQ(tail.stop(SIGINT), 0);
    EXPECT_EQ(tail.out(),
        "INFO\tinfo start\nERROR\tERROR disk full\n\tat write()\n\tat main()\nWARN\twarn half done\n");
    EXPECT_EQ(tail.err(), "");
}

TEST_F(TailFollowTest, AWrittenLineIsPrintedWithoutWaitingForTheInterval)
{
    writeFile(path, "info start\n");
    TailProcess tail({"-i", "60000", path});
    ASSERT_TRUE(tail.waitForOutput("INFO\tinfo start\n"));
    // waitForOutput gives up long before the interval ends.
    appendFile(path, "warn soon\n");
    ASSERT_TRUE(tail.waitForOutput("WARN\twarn soon\n"));
    // Rotated: renamed away and created anew under its name.
    std::filesystem::rename(path, path + ".1");
    writeFile(path, "error anew\n");
    ASSERT_TRUE(tail.waitForOutput("ERROR\terror anew\n"));
    EXPECT_EQ(tail.stop(SIGINT), 0);
}

TEST_F(TailFollowTest, TellsOnceWhenAFileIsReadAgainOrGone)
{
    const std::string first = folder.file("first.log");
    const std::string second = folder.file("second.log");
    writeFile(first, "info one\ninfo two\n");
    TailProcess tail({"--interval=20", "-s", "info", first, second});
    ASSERT_TRUE(tail.waitForError("--- " + second + ": gone\n"));
    ASSERT_TRUE(tail.waitForOutput("INFO\tinfo two\n"));

    // Truncated and written anew: read again from the start.
    writeFile(first, "error new\n");
    ASSERT_TRUE(tail.waitForOutput("ERROR\terror new\n"));
    ASSERT_TRUE(tail.waitForError("--- " + first + ": read again\n"));

    writeFile(second, "fatal late\n");
    ASSERT_TRUE(tail.waitForOutput("FATAL\tfatal late\n"));
    std::filesystem::remove(first);
    ASSERT_TRUE(tail.waitForError("--- " + first + ": gone\n"));
    appendFile(second, "info after\n"); // a few polls with the first file missing
    ASSERT_TRUE(tail.waitForOutput("INFO\tinfo after\n"));

    EXPECT_EQ(tail.stop(SIGTERM), 0);
    EXPECT_EQ(tail.out(),
        "==> " + first
            + " <==\nINFO\tinfo one\nINFO\tinfo two\nERROR\terror new\n"
              "==> "
            + second + " <==\nFATAL\tfatal late\nINFO\tinfo after\n");
    EXPECT_EQ(tail.err(),
        "--- " + second + ": gone\n--- " + first + ": read again\n--- " + second + ": read again\n--- "
            + first + ": gone\n");
}

TEST_F(TailFollowTest, AClosedPipeEndsItQuietly)
{
    const std::unique_ptr<TailProcess> idle = followStarted();
    idle->closeOutput(); // noticed while waiting for the next poll, without a write
    EXPECT_EQ(idle->wait(), 0);
    EXPECT_EQ(idle->err(), "");

    const std::unique_ptr<TailProcess> writing = followStarted();
    writing->closeOutput();
    appendFile(path, "error more\n");
    EXPECT_EQ(writing->wait(), 0);
    EXPECT_EQ(writing->err(), "");
}

// -1 reads the whole of a file beyond 4 GiB: its first line is printed, after the first pass.
TEST_F(TailFollowTest, MinusOneStartsAtTheBeginningOfAHugeFile)
{
    writeFile(path, "info first line\n");
    std::filesystem::resize_file(path, (uint64_t(1) << 32) + 100); // sparse: NUL bytes, dropped
    appendFile(path, "info last line\n");
    TailProcess tail({"-c", "-1", path});
    EXPECT_TRUE(tail.waitForOutput("INFO\tinfo first line\n"));
    EXPECT_EQ(tail.stop(SIGINT), 0);
}

// A file with more than one pass can read is read on at once, not after the interval.
TEST_F(TailFollowTest, ReadsOnAtOnceWhileAFileHasMoreToRead)
{
    std::string bytes;
    for (int i = 0; i < 2 << 20; ++i)
        bytes += "a line\n";
    writeFile(path, bytes + "fatal end\n");
    TailProcess tail({"-c", "-1", "-s", "fatal", "-u", "-i", "1000000", path});
    EXPECT_TRUE(tail.waitForOutput("FATAL\tfatal end\n"));
    EXPECT_EQ(tail.stop(SIGINT), 0);
    EXPECT_TRUE(tail.out() == "FATAL\tfatal end\n") << tail.out().size() << " bytes printed";
}

TEST_F(TailFollowTest, CtrlCEndsItWhileTheReaderDoesNotRead)
{
    std::string bytes;
    while (bytes.size() < 1000000)
        bytes += "info a line that fills the pipe\n";
    writeFile(path, bytes);
    TailProcess tail({"-c", "-1", path});
    ASSERT_TRUE(tail.waitForOutput("INFO\t")); // then nobody reads: the pipe fills up
    EXPECT_EQ(tail.stopWithoutReading(SIGINT), 0);
}

} // namespace
} // namespace kestrano::test
