// pollLogFile on real files in a temporary folder, polled directly.
#include "tests/core/ViewFixture.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrano::test {
namespace {

void setModificationTime(const std::string& path, time_t seconds)
{
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// Numbered error lines of 16 bytes each: "000000007 error\n" and so on.
std::string numberedLines(int first, int count)
{
    std::string text;
    char line[32];
    for (int i = first; i < first + count; ++i) {
        snprintf(line, sizeof line, "%09d error\n", i);
        text += line;
    }
    return text;
}

using Follower = ViewTest;

TEST_F(Follower, OpensWithTheTailDroppingItsPartialFirstLine)
{
    // 1,048,576 bytes: one byte, 65,535 lines of 16 bytes, 15 bytes without a line end.
    std::string text(1, 'x');
    text.append(numberedLines(0, 65535)).append(15, 'y');
    ASSERT_EQ(text.size(), 1048576u);
    writeFile(path, text);
    settings.SetKeepLines(5000);

    view.rebuildList();
    EXPECT_EQ(view.getReadPosition(), 1048576u);
    const std::vector<std::string> messages = messageTexts();
    // Reading starts at 983,040 = 1 + 16 * 61,439 + 15, inside line 61,439, which is dropped.
    ASSERT_EQ(messages.size(), 65535u - 61440u);
    EXPECT_EQ(messages.front(), "000061440 error");
    EXPECT_EQ(messages.back(), "000065534 error");
    EXPECT_EQ(notifications(), 0);
    EXPECT_EQ(frame.toolbarUpdates, 1);
}

TEST_F(Follower, ReadsSmallFilesWhole)
{
    writeFile(path, "first line\nsecond line\n");
    view.pollLogFile();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"first line", "second line"}));

    // Exactly InitiallyReadBytes long: still read from 0, the first line kept.
    settings.SetInitiallyReadBytes(32);
    writeFile(path, numberedLines(7, 2));
    view.refreshLog();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"000000007 error", "000000008 error"}));
}

TEST_F(Follower, FollowsAppendsAndCompletesLinesOverTwoPolls)
{
    writeFile(path, "start\n");
    view.rebuildList();
    appendAndPoll("disk err");
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"start"}));
    EXPECT_EQ(notifications(), 0);

    appendAndPoll("or on sda\n");
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"start", "disk error on sda"}));
    EXPECT_EQ(list.texts(), messageTexts());
    EXPECT_EQ(view.getReadPosition(), std::filesystem::file_size(path));

    // Nothing changed: one status query, no open.
    const int opens = files.opens;
    view.pollLogFile();
    EXPECT_EQ(files.opens, opens);
}

TEST_F(Follower, StartsOverWhenTheFileShrinks)
{
    writeFile(path, "one\ntwo\nthree\n");
    view.rebuildList();
    writeFile(path, "");
    appendAndPoll("again\n");
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"again"}));
    EXPECT_EQ(list.texts(), messageTexts());

    // Regrowth after the restart is followed as usual.
    appendAndPoll("more\n");
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"again", "more"}));
}

TEST_F(Follower, AStartOverNeverGluesTheOldPartialLineToTheNewText)
{
    writeFile(path, "one\nunfinished");
    view.rebuildList();
    view.refreshLog();
    appendAndPoll(" now\n");
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"one", "unfinished now"}));
}

TEST_F(Follower, ContinuesAtTheOldOffsetInAReplacingLongerFile)
{
    writeFile(path, "aaaa\n");
    view.rebuildList();
    const std::string replacement = dir.file("new.log");
    writeFile(replacement, "bbbbbbbbbb\ncccc\n");
    std::filesystem::rename(replacement, path);
    view.pollLogFile();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"aaaa", "bbbbb", "cccc"}));
}

TEST_F(Follower, ATimeChangeAloneReloadsOnlyWithReloadOnChange)
{
    writeFile(path, "one\n");
    setModificationTime(path, 1000000000);
    view.rebuildList();
    list.rows.clear(); // a cleared list shows whether the poll touched it

    setModificationTime(path, 1000000100);
    view.pollLogFile();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"one"}));
    EXPECT_TRUE(list.rows.empty());

    view.toggleReloadOnChange();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"one"})); // takes effect at the next poll
    setModificationTime(path, 1000000200);
    view.pollLogFile();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"one"}));
    EXPECT_EQ(list.texts(), messageTexts());
}

TEST_F(Follower, EmptiesOnDeletionAndShowsTheRecreatedFile)
{
    writeFile(path, "old\n");
    view.rebuildList();
    std::filesystem::remove(path);
    view.pollLogFile();
    EXPECT_TRUE(view.getMessages().GetCount() == 0 && list.rows.empty());
    EXPECT_EQ(view.getReadPosition(), ChildView::UnknownPosition);
    view.pollLogFile();
    EXPECT_TRUE(view.getMessages().GetCount() == 0);

    writeFile(path, "new fatal\n");
    view.pollLogFile();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"new fatal"}));
    EXPECT_EQ(notifier.sounds, 1); // the file came back after the first poll: not suppressed
}

TEST_F(Follower, ShowsTheCannotReadNoticeOncePerRunOfFailures)
{
    const std::string notice = "Error: Cannot read from log file. Still trying...";
    writeFile(path, "one\n");
    view.rebuildList();
    files.failOpen = true;
    appendAndPoll("two\n");
    appendAndPoll("three\n");
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"one", notice}));
    EXPECT_EQ(notifications(), 0);

    files.failOpen = false;
    view.pollLogFile();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"one", notice, "two", "three"}));
    files.failOpen = true;
    appendAndPoll("four\n");
    EXPECT_EQ(messageTexts().back(), notice);
}

// A directory is refused the same way (see the file layer's tests).
TEST_F(Follower, NeverBlocksOnAFifo)
{
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    view.rebuildList();
    view.pollLogFile();
    EXPECT_EQ(
        messageTexts(), (std::vector<std::string> {"Error: Cannot read from log file. Still trying..."}));
}

TEST_F(Follower, ReadsInStepsOfReadChunkSize)
{
    writeFile(path, "start\n");
    view.rebuildList();
    files.reads.clear();
    appendAndPoll(std::string(19999, 'x') + "\n");
    EXPECT_EQ(files.reads, (std::vector<int32_t> {8192, 8192, 3616}));
    EXPECT_EQ(view.getMessages().GetTail()->getText(), std::string(19999, 'x'));
}

TEST_F(Follower, StopsEachStepAtANul)
{
    writeFile(path, "start\n");
    view.rebuildList();
    appendAndPoll(std::string("abc\nde\0skipped\nalso skipped\n", 28));
    appendAndPoll("fg\n");
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"start", "abc", "defg"}));
}

TEST_F(Follower, AReadFailureKeepsWhatWasReadAndRetries)
{
    writeFile(path, "start\n");
    view.rebuildList();
    appendFile(path, "next error\n");
    files.failRead = true;
    view.pollLogFile();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"start"}));
    files.failRead = false;
    view.pollLogFile();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"start", "next error"}));
}

TEST_F(Follower, FollowsFilesLargerThanFourGibibytes)
{
    // Sparse: 4 GiB of holes, then text.
    const uint64_t base = uint64_t(1) << 32;
    std::string text = numberedLines(0, 5000); // 80,000 bytes, more than the initial tail
    {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(pwrite(fd, text.data(), text.size(), static_cast<off_t>(base)), ssize_t(text.size()));
        ::close(fd);
    }
    settings.SetKeepLines(5000);
    view.rebuildList();
    const uint64_t size = base + text.size();
    EXPECT_EQ(view.getReadPosition(), size);
    // The tail starts at size - 65536 = base + 16 * 904; the line cut first (904) is dropped.
    EXPECT_EQ(messageTexts().front(), "000000905 error");
    EXPECT_EQ(messageTexts().back(), "000004999 error");

    appendAndPoll("beyond four gibibytes\n");
    EXPECT_EQ(messageTexts().back(), "beyond four gibibytes");
    EXPECT_EQ(view.getReadPosition(), size + 22);
}

// ---- Notifications ----

TEST_F(Follower, NotifiesByTheTwoThresholds)
{
    writeFile(path, "start error\n");
    view.rebuildList();
    EXPECT_EQ(notifications(), 0); // the first read is quiet

    appendAndPoll("disk error\n");
    EXPECT_EQ(notifier.mainBroughtToFront, 1);
    EXPECT_EQ(frame.broughtToFront, 1);
    EXPECT_EQ(notifier.sounds, 1);

    appendAndPoll("warn\n");
    EXPECT_EQ(notifier.mainBroughtToFront, 1);
    EXPECT_EQ(notifier.sounds, 2);

    appendAndPoll("hello\n");
    EXPECT_EQ(notifier.mainBroughtToFront, 1);
    EXPECT_EQ(notifier.sounds, 2);

    // Thresholds are read at each poll; -1 takes unknowns too, 5 nothing.
    settings.SetOnTop(-1);
    settings.SetPlaySound(5);
    appendAndPoll("hello again\n");
    EXPECT_EQ(frame.broughtToFront, 2);
    EXPECT_EQ(notifier.sounds, 2);
}

TEST_F(Follower, AnnouncesTheFirstMessageOfTheHighestSeverityOncePerPoll)
{
    writeFile(path, "start fatal\n");
    view.rebuildList();
    EXPECT_TRUE(notifier.announced.empty()); // the first read is quiet

    appendAndPoll("warn one\ndisk error\n  at line 3\nfatal: out of disk\nsecond error\nfatal again\n");
    EXPECT_EQ(notifier.announced, (std::vector<std::string> {path + "|4|fatal: out of disk"}));

    appendAndPoll("only warn\n"); // below OnTop 3
    EXPECT_EQ(notifier.announced.size(), 1u);

    settings.SetOnTop(-1);
    appendAndPoll("  continued\nhello\n");
    EXPECT_EQ(notifier.announced.back(), path + "|-1|hello");
    EXPECT_EQ(notifier.announced.size(), 2u);
}

TEST_F(Follower, HiddenMessagesStillNotifyButContinuationsAndPartialLinesDoNot)
{
    writeFile(path, "start\n");
    view.rebuildList();
    view.setMinimumSeverity(4);
    appendAndPoll("an error\n   fatal detail\n");
    EXPECT_EQ(list.texts(), (std::vector<std::string> {"start"}));
    EXPECT_EQ(notifier.sounds, 1);
    EXPECT_EQ(frame.broughtToFront, 1);

    settings.SetOnTop(-2); // below every severity, as a broken setting might say
    appendAndPoll("   fatal continuation\nno line end yet");
    EXPECT_EQ(frame.broughtToFront, 1);
    EXPECT_EQ(notifier.sounds, 1);
}

TEST_F(Follower, RefreshReloadsWithoutNotifying)
{
    writeFile(path, "a fatal crash\nsome info\n");
    view.rebuildList();
    view.refreshLog();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"a fatal crash", "some info"}));
    EXPECT_EQ(list.texts(), messageTexts());
    EXPECT_EQ(notifications(), 0);
}

} // namespace
} // namespace kestrano::test
