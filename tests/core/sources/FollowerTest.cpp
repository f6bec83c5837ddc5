// pollLogFile on real files in a temporary folder, polled directly.
#include "core/sources/FileSource.h"
#include "tests/core/ViewFixture.h"

#include <fcntl.h>
#include <filesystem>
#include <new>
#include <sys/stat.h>
#include <sys/wait.h>
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
    catchUp();
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

TEST_F(Follower, AReplacedOrRecreatedFileIsReadFromItsStartAfterWhatWasShown)
{
    writeFile(path, "aaaa\n");
    view.rebuildList();
    // Replaced by rename with a longer file.
    const std::string replacement = dir.file("new.log");
    writeFile(replacement, "bbbbbbbbbb\ncccc\n");
    std::filesystem::rename(replacement, path);
    pollAndCatchUp();
    const std::string rotated = "app.log was rotated; following the new file";
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"aaaa", rotated, "bbbbbbbbbb", "cccc"}));
    EXPECT_EQ(list.texts(), messageTexts());

    // Rotated: renamed away and created anew, already longer than the old position.
    std::filesystem::rename(path, dir.file("app.log.1"));
    writeFile(path, "first after rotation\nsecond after rotation\n");
    pollAndCatchUp();
    EXPECT_EQ(messageTexts(),
        (std::vector<std::string> {"aaaa", rotated, "bbbbbbbbbb", "cccc", rotated, "first after rotation",
            "second after rotation"}));

    // Deleted and recreated between two polls, with the same size and time, and (as a file system
    // that reuses a freed inode at once gives it) most likely on the same inode: its birth tells.
    struct stat before;
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    std::filesystem::remove(path);
    writeFile(path, "FIRST AFTER ROTATION\nSECOND AFTER ROTATION\n");
    setModificationTime(path, before.st_mtime);
    pollAndCatchUp();
    EXPECT_EQ(messageTexts().size(), 10u);
    EXPECT_EQ(messageTexts().back(), "SECOND AFTER ROTATION");

    // Then followed as usual.
    appendAndPoll("third\n");
    EXPECT_EQ(messageTexts().back(), "third");
    EXPECT_EQ(messageTexts().size(), 11u);

    // A shrink of the same file empties the view, as before.
    writeFile(path, "short\n");
    pollAndCatchUp();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"short"}));
}

TEST_F(Follower, NewContentIsReadWholeAndRefreshReadsTheTail)
{
    settings.SetKeepLines(100000);
    writeFile(path, numberedLines(0, 30000));
    pollAndCatchUp();
    // Truncated in place and written again with more than the initial tail: all of it is new.
    const std::string written = numberedLines(1000, 20000); // 320,000 bytes
    writeFile(path, written);
    pollAndCatchUp();
    ASSERT_EQ(messageTexts().size(), 20000u);
    EXPECT_EQ(messageTexts().front(), "000001000 error");
    EXPECT_GT(notifier.sounds, 0); // new lines after the first read notify

    // Back after a poll found it missing: new as well.
    std::filesystem::remove(path);
    pollAndCatchUp();
    writeFile(path, written);
    pollAndCatchUp();
    EXPECT_EQ(messageTexts().size(), 20000u);

    // A new file of 8 MiB and more put in place by rename (a rotation): read whole after what was
    // shown, nothing skipped.
    const int lines = (8 << 20) / 16 + 1;
    writeFile(dir.file("big.log"), numberedLines(0, lines));
    std::filesystem::rename(dir.file("big.log"), path);
    pollAndCatchUp();
    EXPECT_EQ(messageTexts().size(), 100000u);
    EXPECT_EQ(messageTexts().front(), numberedLines(lines - 100000, 1).substr(0, 15));
    EXPECT_EQ(messageTexts().back(), numberedLines(lines - 1, 1).substr(0, 15));

    // Refresh and reload-on-change keep the tail rule.
    writeFile(path, written);
    view.refreshLog();
    catchUp();
    EXPECT_EQ(messageTexts().size(), 65536u / 16 - 1);
    view.toggleReloadOnChange();
    writeFile(path, numberedLines(5000, 10000));
    pollAndCatchUp();
    EXPECT_EQ(messageTexts().size(), 65536u / 16 - 1);
    EXPECT_EQ(messageTexts().back(), "000014999 error");
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

TEST_F(Follower, TellsTheListWhenTheLogIsGoneOrReadAgainAfterEmptyingIt)
{
    writeFile(path, "one\n");
    view.pollLogFile();
    EXPECT_EQ(list.told, (std::vector<std::string> {"restarted"})); // the first read
    appendAndPoll("two\n");
    view.clearMessages(); // the clear command is neither
    EXPECT_EQ(list.told.size(), 1u);

    writeFile(path, "x\n"); // shrank
    view.pollLogFile();
    std::filesystem::remove(path);
    view.pollLogFile();
    view.pollLogFile();
    writeFile(path, "back\n");
    view.pollLogFile();
    view.refreshLog();
    EXPECT_EQ(list.told,
        (std::vector<std::string> {"restarted", "restarted", "gone", "gone", "restarted", "restarted"}));
    EXPECT_EQ(list.texts(), (std::vector<std::string> {"back"}));
}

TEST_F(Follower, KeepLinesDeletesAMessagesRowBeforeTheMessage)
{
    settings.SetKeepLines(3);
    list.messages = &view.getMessages();
    writeFile(path, "a\nb\n");
    view.rebuildList();
    appendAndPoll("c\nd\ne\n");
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"c", "d", "e"}));
    EXPECT_EQ(list.texts(), messageTexts());
    EXPECT_EQ(list.firstRowsDeletedLate, 0);
}

TEST_F(Follower, ShowsTheCannotReadNoticeOncePerRunOfFailures)
{
    const std::string notice = "Error: Cannot read from log file (Input/output error). Still trying...";
    files.refuseKeepOpen = true; // opened for each read, after a notice of its own
    writeFile(path, "one\n");
    view.rebuildList();
    const std::string opened = messageTexts().front();
    files.failOpen = true;
    appendAndPoll("two\n");
    appendAndPoll("three\n");
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {opened, "one", notice}));
    EXPECT_EQ(notifications(), 0);

    files.failOpen = false;
    view.pollLogFile();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {opened, "one", notice, "two", "three"}));
    files.failOpen = true;
    appendAndPoll("four\n");
    EXPECT_EQ(messageTexts().back(), notice);
}

// The notice is a message of its own: an incomplete line waiting for its end is neither glued to it
// nor lost.
TEST_F(Follower, TheCannotReadNoticeLeavesAnIncompleteLineWaiting)
{
    const std::string notice = "Error: Cannot read from log file (Input/output error). Still trying...";
    files.refuseKeepOpen = true;
    writeFile(path, "one\nhalf");
    view.rebuildList();
    const std::string opened = messageTexts().front();
    files.failOpen = true;
    appendAndPoll(" and more");
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {opened, "one", notice}));
    files.failOpen = false;
    appendAndPoll("\n");
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {opened, "one", notice, "half and more"}));
}

// A directory is refused the same way (see the file layer's tests).
TEST_F(Follower, NeverOpensAFifoSoItsWriterStaysBlocked)
{
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    // A writer blocked in open() until a reader comes; an open by the view would release it into a
    // pipe without reader, and SIGPIPE would kill it.
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        const int fd = ::open(path.c_str(), O_WRONLY);
        const bool written = fd >= 0 && ::write(fd, "message\n", 8) == 8;
        _exit(written ? 0 : 3);
    }
    view.rebuildList();
    for (int i = 0; i < 5; ++i)
        view.pollLogFile();
    EXPECT_EQ(files.opens, 0);
    EXPECT_EQ(messageTexts(),
        (std::vector<std::string> {
            "Error: Cannot read from log file (not a regular file). Still trying..."}));
    EXPECT_TRUE(view.getReadFailed());

    // The reader it waited for gets its message.
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    char got[16] = {};
    EXPECT_EQ(::read(fd, got, sizeof got), 8);
    ::close(fd);
    EXPECT_STREQ(got, "message\n");
    int status = 0;
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

TEST_F(Follower, ReadsInStepsOfReadChunkSize)
{
    writeFile(path, "start\n");
    view.rebuildList();
    files.reads.clear();
    appendAndPoll(std::string(19999, 'x') + "\n");
    // First the bytes before the read position, which tell that the file was not written anew.
    EXPECT_EQ(files.reads, (std::vector<int32_t> {6, 8192, 8192, 3616}));
    EXPECT_EQ(view.getMessages().GetTail()->getText(), std::string(19999, 'x'));
}

TEST_F(Follower, DropsNulBytesAndKeepsEverythingElse)
{
    writeFile(path, "start\n");
    view.rebuildList();
    appendAndPoll(std::string("abc\nde\0kept\nalso kept\n", 23));
    appendAndPoll("fg\n");
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"start", "abc", "dekept", "also kept", "fg"}));

    // Padding left by a crash, across several steps, before the lines written after it.
    appendAndPoll("before crash\n" + std::string(20000, '\0') + "after crash\n");
    EXPECT_EQ(messageTexts().back(), "after crash");
    EXPECT_EQ(messageTexts()[messageTexts().size() - 2], "before crash");
    EXPECT_EQ(view.getReadPosition(), std::filesystem::file_size(path));
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

int openDescriptors()
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// A list control whose allocation fails, as a std container's would.
class ExhaustedList : public RecordingList {
public:
    bool exhausted = false;
    void appendRow(Message* message) override
    {
        if (exhausted)
            throw std::bad_alloc();
        RecordingList::appendRow(message);
    }
};

TEST_F(Follower, AnAllocationFailureOfTheListEndsOnlyThatPollAndClosesTheFile)
{
    ExhaustedList exhaustedList;
    ChildView listView(
        document, ViewContext {settings, config.GetRoot(), notifier, details}, exhaustedList, frame);
    writeFile(path, "start\n");
    listView.pollLogFile();
    const int descriptors = openDescriptors();
    exhaustedList.exhausted = true;
    appendFile(path, "lost row\n");
    EXPECT_NO_THROW(listView.pollLogFile());
    EXPECT_EQ(openDescriptors(), descriptors);

    exhaustedList.exhausted = false;
    appendFile(path, "next\n");
    listView.pollLogFile();
    EXPECT_EQ(exhaustedList.texts(), (std::vector<std::string> {"start", "next"}));
    EXPECT_EQ(openDescriptors(), descriptors);
}

// A poll ends after its time budget; the following polls read the rest, nothing twice, and the rest of
// a quiet first read stays quiet.
TEST_F(Follower, APollReadsForItsTimeBudgetAndTheNextOnesGoOn)
{
    // About 2 million lines: no machine cuts them within one budget.
    constexpr int Lines = 2 << 20;
    std::string text;
    text.reserve(Lines * 8);
    char line[16];
    for (int i = 0; i < Lines; ++i) {
        snprintf(line, sizeof line, "%07d\n", i);
        text += line;
    }
    writeFile(path, "fatal at start\n");
    view.rebuildList();
    appendFile(path, text);
    files.reads.clear();
    view.pollLogFile();
    EXPECT_TRUE(view.hasMoreToRead());
    EXPECT_LT(view.getReadPosition(), std::filesystem::file_size(path));
    EXPECT_GT(catchUp(), 0);
    EXPECT_FALSE(view.hasMoreToRead());
    EXPECT_EQ(view.getReadPosition(), std::filesystem::file_size(path));
    EXPECT_EQ(list.appended, Lines + 1);
    EXPECT_EQ(messageTexts().back(), "2097151");
    EXPECT_EQ(messageTexts().front(), "2096152");
    EXPECT_EQ(messageTexts().size(), 1000u);

    // The whole file at opening (-1), in several polls, raises nothing.
    settings.SetInitiallyReadBytes(-1);
    appendFile(path, "fatal at end\n");
    view.refreshLog();
    EXPECT_TRUE(view.hasMoreToRead());
    catchUp();
    EXPECT_EQ(messageTexts().back(), "fatal at end");
    EXPECT_EQ(notifications(), 0);
    appendAndPoll("fatal now\n");
    EXPECT_EQ(notifier.sounds, 1);
}

TEST_F(Follower, MinusOneReadsTheWholeOfAFileBeyondFourGibibytes)
{
    // Sparse: one line, then a hole of 4 GiB (NUL bytes, dropped), then text.
    writeFile(path, "first line\n");
    std::filesystem::resize_file(path, (uint64_t(1) << 32) + 100);
    appendFile(path, "last line\n");
    settings.SetInitiallyReadBytes(-1);
    view.rebuildList();
    ASSERT_GT(view.getMessages().GetCount(), 0);
    EXPECT_EQ(messageTexts().front(), "first line");
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
    catchUp();
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
    EXPECT_EQ(notifier.attentionAsked, 1);
    EXPECT_EQ(frame.newsShown, 1);
    EXPECT_EQ(notifier.sounds, 1);

    appendAndPoll("warn\n");
    EXPECT_EQ(notifier.attentionAsked, 1);
    EXPECT_EQ(notifier.sounds, 2);

    appendAndPoll("hello\n");
    EXPECT_EQ(notifier.attentionAsked, 1);
    EXPECT_EQ(notifier.sounds, 2);

    // Thresholds are read at each poll; -1 takes unknowns too, 5 nothing.
    settings.SetOnTop(-1);
    settings.SetPlaySound(5);
    appendAndPoll("hello again\n");
    EXPECT_EQ(frame.newsShown, 2);
    EXPECT_EQ(notifier.sounds, 2);
}

TEST_F(Follower, AnnouncesTheFirstMessageOfTheHighestSeverityOncePerPollWithTheCount)
{
    writeFile(path, "start fatal\n");
    view.rebuildList();
    EXPECT_TRUE(notifier.announced.empty()); // the first read is quiet

    appendAndPoll("warn one\ndisk error\n  at line 3\nfatal: out of disk\nsecond error\nfatal again\n");
    EXPECT_EQ(notifier.announced, (std::vector<std::string> {path + "|4|fatal: out of disk"}));
    EXPECT_EQ(notifier.announcedCounts, (std::vector<int32_t> {4})) << "the errors and fatal ones";

    appendAndPoll("only warn\n"); // below the notification threshold 3
    EXPECT_EQ(notifier.announced.size(), 1u);

    settings.SetNotify(-1);
    appendAndPoll("  continued\nhello\n");
    EXPECT_EQ(notifier.announced.back(), path + "|-1|hello");
    EXPECT_EQ(notifier.announced.size(), 2u);
}

TEST_F(Follower, NotificationsHaveTheirOwnThreshold)
{
    writeFile(path, "start\n");
    view.rebuildList();

    settings.SetOnTop(Severity::Never); // no raise: the notification still comes
    appendAndPoll("disk error\n");
    EXPECT_EQ(notifier.announced, (std::vector<std::string> {path + "|3|disk error"}));
    EXPECT_EQ(notifier.attentionAsked, 0);
    EXPECT_EQ(frame.newsShown, 0);

    settings.SetOnTop(Severity::Warning);
    settings.SetNotify(Severity::Never); // the raise without a notification
    appendAndPoll("warn: low disk\nfatal: no disk\n");
    EXPECT_EQ(notifier.announced.size(), 1u);
    EXPECT_EQ(notifier.attentionAsked, 1);
    EXPECT_EQ(frame.newsShown, 1);
}

TEST_F(Follower, AnnouncesAMessageThatKeepLinesDropsInTheSamePoll)
{
    settings.SetKeepLines(2);
    list.rowsLater = true; // rows dropped within a poll are never made where nothing sees them
    writeFile(path, "start\n");
    view.rebuildList();

    appendAndPoll("fatal: first\nerror a\nerror b\ninfo a\ninfo b\ninfo c\n");
    EXPECT_EQ(notifier.announced, (std::vector<std::string> {path + "|4|fatal: first"}));
    EXPECT_EQ(notifier.announcedCounts, std::vector<int32_t> {3}) << "the errors never made count too";
}

TEST_F(Follower, HiddenMessagesStillNotifyButContinuationsAndPartialLinesDoNot)
{
    writeFile(path, "start\n");
    view.rebuildList();
    view.setMinimumSeverity(4);
    appendAndPoll("an error\n   fatal detail\n");
    EXPECT_EQ(list.texts(), (std::vector<std::string> {"start"}));
    EXPECT_EQ(notifier.sounds, 1);
    EXPECT_EQ(frame.newsShown, 1);

    settings.SetOnTop(-2); // below every severity, as a broken setting might say
    appendAndPoll("   fatal continuation\nno line end yet");
    EXPECT_EQ(frame.newsShown, 1);
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
