// Journal files written by systemd-journal-remote.
#include "core/sources/JournalSource.h"
#include "core/sources/SourceRegistry.h"
#include "tests/core/sources/SourceFixture.h"
#include "tests/support/MadeLogs.h"

#include <algorithm>
#include <cstdio>

#include <gtest/gtest.h>

namespace kestrano::test {
namespace {

class JournalTest : public SourceTest {
protected:
    std::string journal = dir.file("test.journal");
    void openJournal(const std::string& unit = "", bool ownOnly = false)
    {
        open(journalName(unit).c_str(),
            std::make_unique<JournalSource>(unit, std::vector<std::string> {journal}, ownOnly));
    }
};

TEST_F(JournalTest, EntriesAreMessagesInShortIsoFormWithTheSeverityTheirPriorityStates)
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
    // PRIORITY 6 is information, whatever the text says; without a priority the keywords decide.
    EXPECT_EQ(severities(),
        (std::vector<int32_t> {Severity::Error, Severity::Information, Severity::DebugInformation,
            Severity::Unknown, Severity::Fatal}));
    EXPECT_EQ(notifications(), 0) << "the entries at opening are read quietly";
    EXPECT_TRUE(document->isStored());
    EXPECT_FALSE(document->isDeletable());

    // With the stated level off, the higher of the priority's and the keywords' severity counts.
    settings.SetStatedLevel(false);
    view->refreshLog();
    poll();
    EXPECT_EQ(severities(),
        (std::vector<int32_t> {Severity::Error, Severity::Fatal, Severity::DebugInformation,
            Severity::Unknown, Severity::Fatal}));
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
    EXPECT_EQ(frame.newsShown, 1) << "a new fatal entry notifies";
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
