// Log views over the sources beyond plain files: standard input through a real pipe, files compressed
// by gzip and xz, and journal files written by systemd-journal-remote.
#include "config/Config.h"
#include "core/ChildView.h"
#include "core/CompressedFileSource.h"
#include "core/Document.h"
#include "core/JournalSource.h"
#include "core/MonitorSettings.h"
#include "core/Severity.h"
#include "core/StreamSource.h"
#include "core/sources/SourceRegistry.h"
#include "platform/LinuxFileSystem.h"
#include "tests/core/ViewDoubles.h"
#include "tests/support/MadeLogs.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace kestrano::test {
namespace {

class SourceTest : public testing::Test {
protected:
    TempDir dir;
    MonitorSettings settings;
    haspel::Config config;
    RecordingNotifier notifier;
    RecordingDetails details;
    ScriptedMessageBox boxes;
    RecordingList list;
    RecordingFrame frame;
    std::unique_ptr<Document> document;
    std::unique_ptr<ChildView> view;

    SourceTest()
    {
        setenv("TZ", "UTC", 1);
        tzset();
        settings.SetOnTop(Severity::Error);
        settings.SetPlaySound(Severity::Never);
    }
    void open(std::unique_ptr<Document> opened)
    {
        view.reset(); // the view refers to its document
        document = std::move(opened);
        view = std::make_unique<ChildView>(*document,
            ViewContext {settings, config.GetRoot(), systemFileSystem(), notifier, details}, list, frame);
    }
    void open(const char* name, std::unique_ptr<LogSource> source)
    {
        open(std::make_unique<Document>(name, std::move(source), systemFileSystem(), boxes));
    }
    // Polls, and again at once while the view has more to read (a busy machine ends polls early).
    void poll()
    {
        view->pollLogFile();
        while (view->hasMoreToRead())
            view->pollLogFile();
    }
    std::vector<std::string> texts()
    {
        std::vector<std::string> result;
        for (Message* message = view->getMessages().GetHead(); message; message = message->GetNext())
            result.push_back(message->getText());
        return result;
    }
    int notifications() const { return notifier.mainBroughtToFront + frame.broughtToFront + notifier.sounds; }
    std::vector<int32_t> severities()
    {
        std::vector<int32_t> result;
        for (Message* message = view->getMessages().GetHead(); message; message = message->GetNext())
            result.push_back(message->getSeverity());
        return result;
    }
};

// ---- Standard input ----

class StreamTest : public SourceTest {
protected:
    int ends[2] = {-1, -1};
    StreamTest()
    {
        if (pipe2(ends, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe failed");
        open(StandardInputName, std::make_unique<StreamSource>(ends[0]));
    }
    ~StreamTest() override
    {
        closeWriter();
        ::close(ends[0]);
    }
    void write(const std::string& text)
    {
        ASSERT_EQ(::write(ends[1], text.data(), text.size()), ssize_t(text.size()));
    }
    void closeWriter()
    {
        if (ends[1] >= 0)
            ::close(ends[1]);
        ends[1] = -1;
    }
};

TEST_F(StreamTest, IsCutAndClassifiedAsItComesAndEndsWithANotice)
{
    poll(); // nothing there yet: the read never blocks
    EXPECT_TRUE(texts().empty());
    write("started\nan error\n  its detail\nhalf");
    poll();
    EXPECT_EQ(texts(), (std::vector<std::string> {"started", "an error\r\nits detail"}));
    EXPECT_EQ(notifications(), 0) << "the first read is quiet";

    write(" a line\nfatal crash\n");
    poll();
    EXPECT_EQ(texts().at(2), "half a line");
    EXPECT_EQ(severities().at(3), Severity::Fatal);
    EXPECT_EQ(frame.broughtToFront, 1);
    EXPECT_FALSE(view->hasEnded());

    write("last without line end");
    closeWriter();
    poll();
    poll();
    const std::vector<std::string> all = texts();
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[4], "last without line end");
    EXPECT_EQ(all[5], "End of input.");
    EXPECT_TRUE(view->hasEnded());
    EXPECT_EQ(frame.broughtToFront, 1) << "the notice does not notify";
}

TEST_F(StreamTest, EachPollAnnouncesItsOwnFirstMessageOfTheHighestSeverity)
{
    poll();
    write("start\n");
    poll(); // the first read is quiet
    write("fatal one\n");
    poll();
    write("fatal two\n");
    poll();
    const std::string name = document->getPathName().GetText();
    EXPECT_EQ(notifier.announced, (std::vector<std::string> {name + "|4|fatal one", name + "|4|fatal two"}));
}

TEST_F(StreamTest, IsNeverStoredAndARefreshKeepsWhatWasRead)
{
    write("one\ntwo\n");
    poll();
    view->toggleFollow();
    view->setMinimumSeverity(Severity::DebugInformation);
    EXPECT_EQ(config.GetRoot().FindSection("Workspace"), nullptr);
    view->refreshLog();
    EXPECT_EQ(texts(), (std::vector<std::string> {"one", "two"}));
}

// ---- Compressed files ----

std::string numberedLines(int count, const char* word = "line")
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += std::string(word) + " " + std::to_string(i) + "\n";
    return text;
}

class CompressedTest : public SourceTest {
protected:
    void openFile(const std::string& path)
    {
        open(std::make_unique<Document>(path.c_str(), systemFileSystem(), boxes));
    }
};

TEST_F(CompressedTest, ShowsTheDecompressedTailOfGzipAndXzFiles)
{
    for (const char* program : {"gzip", "xz"}) {
        SCOPED_TRACE(program);
        const std::string path = dir.file(std::string("app.log.1.") + (program[0] == 'g' ? "gz" : "xz"));
        writeCompressed(path, program, numberedLines(1000) + "error last\n");
        // 33 bytes: "98\n" is the partial first line, dropped as in a plain file.
        settings.SetInitiallyReadBytes(33);
        openFile(path);
        poll();
        EXPECT_EQ(texts(), (std::vector<std::string> {"line 999", "line 1000", "error last"}));
        EXPECT_TRUE(document->isStored());
        EXPECT_EQ(notifications(), 0);
    }
}

TEST_F(CompressedTest, ReadsConcatenatedStreamsAndCompletesTheLastLine)
{
    const std::string path = dir.file("app.log.gz");
    writeCompressed(path, "gzip", "first\n");
    const std::string second = dir.file("second.gz");
    writeCompressed(second, "gzip", "second\nno line end");
    appendFile(path, readFile(second));
    openFile(path);
    poll();
    EXPECT_EQ(texts(), (std::vector<std::string> {"first", "second", "no line end"}));
}

TEST_F(CompressedTest, IsReadAgainWhenTheFileChangesAndOnlyThen)
{
    const std::string path = dir.file("app.log.xz");
    writeCompressed(path, "xz", "old\n");
    openFile(path);
    poll();
    const int appended = list.appended;
    poll();
    EXPECT_EQ(list.appended, appended) << "an unchanged file is not read again";

    writeCompressed(dir.file("new.xz"), "xz", "new one\nnew error\n");
    ASSERT_EQ(std::rename(dir.file("new.xz").c_str(), path.c_str()), 0);
    poll();
    EXPECT_EQ(texts(), (std::vector<std::string> {"new one", "new error"}));

    ASSERT_EQ(::unlink(path.c_str()), 0);
    poll();
    EXPECT_TRUE(texts().empty());
    EXPECT_EQ(view->getReadPosition(), ChildView::UnknownPosition);
}

TEST_F(CompressedTest, ADamagedFileGivesTheNoticeWithTheReasonOnce)
{
    const std::string whole = dir.file("whole.gz");
    writeCompressed(whole, "gzip", numberedLines(20000));
    const std::string path = dir.file("cut.log.gz");
    writeFile(path, readFile(whole).substr(0, 5000));
    openFile(path);
    poll();
    poll();
    const std::vector<std::string> all = texts();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.back(), "Error: Cannot read from log file (unexpected end of file). Still trying...");
    EXPECT_EQ(std::count(all.begin(), all.end(), all.back()), 1);
    EXPECT_TRUE(view->getReadFailed());

    writeCompressed(whole, "gzip", "mended\n");
    ASSERT_EQ(std::rename(whole.c_str(), path.c_str()), 0);
    poll();
    EXPECT_EQ(texts(), std::vector<std::string> {"mended"});
    writeFile(path, "not compressed at all, long enough for a header\n");
    poll();
    EXPECT_EQ(texts().back(), "Error: Cannot read from log file (incorrect header check). Still trying...");
}

TEST_F(CompressedTest, KeepsOnlyKeepLinesOfALargeFileReadWhole)
{
    const std::string path = dir.file("big.log.xz");
    writeCompressed(path, "xz", numberedLines(300000));
    settings.SetInitiallyReadBytes(-1);
    settings.SetKeepLines(100);
    openFile(path);
    poll();
    ASSERT_EQ(texts().size(), 100u);
    EXPECT_EQ(texts().front(), "line 299901");
    EXPECT_EQ(texts().back(), "line 300000");
}

// ---- The journal ----

class JournalTest : public SourceTest {
protected:
    std::string journal = dir.file("test.journal");
    void openJournal(const std::string& unit = "", bool ownOnly = false)
    {
        open(journalName(unit).c_str(),
            std::make_unique<JournalSource>(unit, std::vector<std::string> {journal}, ownOnly));
    }
};

TEST_F(JournalTest, EntriesAreMessagesInShortIsoFormWithTheHigherSeverity)
{
    writeJournal(journal,
        {journalEntry(0, "disk full", {{"SYSLOG_IDENTIFIER", "app"}, {"_PID", "42"}, {"PRIORITY", "3"}}),
            journalEntry(1, "fatal: gave up", {{"SYSLOG_IDENTIFIER", "app"}, {"PRIORITY", "6"}}),
            journalEntry(2, "tick", {{"_COMM", "cron"}, {"SYSLOG_PID", "7"}, {"PRIORITY", "7"}}),
            journalEntry(3, "plain", {{"SYSLOG_IDENTIFIER", "kernel"}}),
            journalEntry(4, "first line\nsecond line\n", {{"SYSLOG_IDENTIFIER", "app"}, {"PRIORITY", "1"}})});
    openJournal();
    poll();
    EXPECT_EQ(texts(),
        (std::vector<std::string> {"2026-12-08T04:00:00+0000 host1 app[42]: disk full",
            "2026-12-08T04:00:01+0000 host1 app: fatal: gave up",
            "2026-12-08T04:00:02+0000 host1 cron[7]: tick", "2026-12-08T04:00:03+0000 host1 kernel: plain",
            "2026-12-08T04:00:04+0000 host1 app: first line\r\nsecond line"}));
    EXPECT_EQ(severities(),
        (std::vector<int32_t> {Severity::Error, Severity::Fatal, Severity::DebugInformation,
            Severity::Unknown, Severity::Fatal}));
    EXPECT_EQ(notifications(), 0) << "the entries at opening are read quietly";
    EXPECT_TRUE(document->isStored());
    EXPECT_FALSE(document->isDeletable());
}

TEST_F(JournalTest, OpensWithTheLastKeepLinesEntriesOfTheUnitAndFollowsNewOnes)
{
    std::vector<JournalEntry> entries;
    for (int i = 0; i < 10; ++i)
        entries.push_back(journalEntry(i, "entry " + std::to_string(i),
            {{"SYSLOG_IDENTIFIER", "app"}, {"_SYSTEMD_UNIT", i % 2 ? "app.service" : "other.service"}}));
    writeJournal(journal, entries);
    settings.SetKeepLines(3);
    openJournal("app");
    poll();
    ASSERT_EQ(texts().size(), 3u);
    EXPECT_EQ(texts().front(), "2026-12-08T04:00:05+0000 host1 app: entry 5");
    EXPECT_EQ(texts().back(), "2026-12-08T04:00:09+0000 host1 app: entry 9");

    const int appended = list.appended;
    poll();
    EXPECT_EQ(list.appended, appended);

    writeJournal(journal,
        {journalEntry(20, "not ours", {{"_SYSTEMD_UNIT", "other.service"}, {"PRIORITY", "0"}}),
            journalEntry(21, "failed hard", {{"_SYSTEMD_UNIT", "app.service"}, {"PRIORITY", "2"}}),
            journalEntry(22, "Started app.service.", {{"UNIT", "app.service"}, {"_PID", "1"}})});
    poll();
    ASSERT_EQ(texts().size(), 3u);
    EXPECT_EQ(texts()[1], "2026-12-08T04:00:21+0000 host1: failed hard");
    EXPECT_EQ(texts()[2], "2026-12-08T04:00:22+0000 host1: Started app.service.");
    EXPECT_EQ(frame.broughtToFront, 1) << "a new fatal entry notifies";
}

TEST_F(JournalTest, ReaderOfOnlyTheirOwnEntriesIsToldOnceAndAMissingJournalCannotBeRead)
{
    writeJournal(journal, {journalEntry(0, "mine")});
    openJournal("", true);
    poll();
    poll();
    EXPECT_EQ(texts(),
        (std::vector<std::string> {
            "Only your own journal entries are readable: members of the group systemd-journal see all.",
            "2026-12-08T04:00:00+0000 host1: mine"}));

    journal = dir.file("missing.journal");
    openJournal();
    poll();
    poll();
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0], "Error: Cannot read from log file (No such file or directory). Still trying...");
    EXPECT_TRUE(view->getReadFailed());
}

TEST(JournalPriority, MapsOntoTheSeverityScale)
{
    const int32_t expected[] = {Severity::Fatal, Severity::Fatal, Severity::Fatal, Severity::Error,
        Severity::Warning, Severity::Information, Severity::Information, Severity::DebugInformation};
    for (char value = '0'; value <= '7'; ++value)
        EXPECT_EQ(JournalSource::severityOfPriority(&value, 1), expected[value - '0']);
    EXPECT_EQ(JournalSource::severityOfPriority("8", 1), Severity::None);
    EXPECT_EQ(JournalSource::severityOfPriority("10", 2), Severity::None);
    EXPECT_EQ(JournalSource::unitName("ssh"), "ssh.service");
    EXPECT_EQ(JournalSource::unitName("ssh.socket"), "ssh.socket");
}

} // namespace
} // namespace kestrano::test
