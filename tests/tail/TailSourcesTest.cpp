// kestrano-tail on the sources beyond plain files: standard input through a real pipe, journal files
// written by systemd-journal-remote, files compressed by gzip and xz.
#include "tests/support/MadeLogs.h"
#include "tests/support/TempDir.h"
#include "tests/tail/TailProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

namespace kestrano::test {
namespace {

class TailSourcesTest : public testing::Test {
protected:
    TempDir folder;
    const std::string journal = folder.file("test.journal");
    TailSourcesTest() { setenv("TZ", "UTC", 1); } // inherited by the program
};

TEST_F(TailSourcesTest, StandardInputIsFollowedToItsEnd)
{
    TailLaunch launch;
    launch.inputPipe = true;
    TailProcess tail({"-i", "20", "-"}, launch);
    tail.writeInput("info started\nERROR disk full\n  at write()\n");
    ASSERT_TRUE(tail.waitForOutput("\tat write()\n"));
    tail.writeInput("warn without line end");
    tail.closeInput();
    EXPECT_EQ(tail.wait(), 0);
    // Standard output holds the messages only; the end of the input is a notice on standard error.
    EXPECT_EQ(tail.out(),
        "INFO\tinfo started\nERROR\tERROR disk full\n\tat write()\nWARN\twarn without line end\n");
    EXPECT_EQ(tail.err(), "--- standard input: End of input.\n");
}

TEST_F(TailSourcesTest, OnceReadsStandardInputToItsEndBesideFiles)
{
    const std::string file = folder.file("app.log");
    writeFile(file, "info from the file\n");
    TailLaunch launch;
    launch.inputPipe = true;
    TailProcess tail({"--once", "-s", "info", file, "-"}, launch);
    ASSERT_TRUE(tail.waitForOutput("info from the file\n"));
    tail.writeInput("info from the pipe\n");
    tail.closeInput();
    EXPECT_EQ(tail.wait(), 0);
    EXPECT_EQ(tail.out(),
        "==> " + file + " <==\nINFO\tinfo from the file\n==> standard input <==\nINFO\tinfo from the pipe\n");
    EXPECT_EQ(tail.err(), "--- standard input: End of input.\n");
}

TEST_F(TailSourcesTest, ReadsJournalFilesAsJournalctlDoes)
{
    writeJournal(journal,
        {journalEntry(0, "disk full",
             {{"SYSLOG_IDENTIFIER", "app"}, {"_PID", "42"}, {"PRIORITY", "3"},
                 {"_SYSTEMD_UNIT", "app.service"}}),
            journalEntry(1, "all well", {{"SYSLOG_IDENTIFIER", "cron"}, {"PRIORITY", "6"}}),
            journalEntry(2, "a\nb",
                {{"SYSLOG_IDENTIFIER", "app"}, {"PRIORITY", "4"}, {"_SYSTEMD_UNIT", "app.service"}})});

    TailResult all = runTail({"--once", "--journal-file", journal});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out,
        "ERROR\t2026-12-08T04:00:00+0000 host1 app[42]: disk full\n"
        "INFO\t2026-12-08T04:00:01+0000 host1 cron: all well\n"
        "WARN\t2026-12-08T04:00:02+0000 host1 app: a\n\tb\n");

    // Every other option as for files: a unit, a severity, no multi-line (each line of an entry is then
    // a message, of the entry's priority).
    TailResult unit
        = runTail({"-n", "-s", "warn", "--no-multiline", "--journal=app", "--journal-file", journal});
    ASSERT_EQ(unit.status, 0) << unit.err;
    EXPECT_EQ(unit.out,
        "ERROR\t2026-12-08T04:00:00+0000 host1 app[42]: disk full\n"
        "WARN\t2026-12-08T04:00:02+0000 host1 app: a\nWARN\tb\n");

    TailResult missing = runTail({"-n", "--journal-file", folder.file("none.journal")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "kestrano-tail: cannot read 'journal:': No such file or directory\n");
}

TEST_F(TailSourcesTest, FollowsNewJournalEntries)
{
    writeJournal(journal, {journalEntry(0, "first")});
    TailProcess tail({"-i", "20", "--journal", "--journal-file", journal});
    ASSERT_TRUE(tail.waitForOutput("first\n"));
    writeJournal(journal, {journalEntry(5, "second", {{"PRIORITY", "2"}})});
    ASSERT_TRUE(tail.waitForOutput("FATAL\t2026-12-08T04:00:05+0000 host1: second\n"));
    EXPECT_EQ(tail.stop(SIGINT), 0);
    EXPECT_EQ(tail.err(), "");
}

TEST_F(TailSourcesTest, CompressedFilesAreDecompressedOrNamedAsDamaged)
{
    const std::string gz = folder.file("app.log.1.gz");
    const std::string xz = folder.file("app.log.2.xz");
    writeCompressed(gz, "gzip", "info one\nerror two\n");
    writeCompressed(xz, "xz", "warn three\n");
    TailResult result = runTail({"--once", gz, xz});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
        "==> " + gz + " <==\nINFO\tinfo one\nERROR\terror two\n==> " + xz + " <==\nWARN\twarn three\n");

    const std::string damaged = folder.file("damaged.log.xz");
    writeFile(damaged, readFile(xz).substr(0, 30));
    result = runTail({"--once", damaged});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "kestrano-tail: cannot read '" + damaged + "': unexpected end of file\n");
}

TEST_F(TailSourcesTest, AUtf16LogIsPrintedAsItsText)
{
    const std::string path = folder.file("wide.log");
    // "warn ü\r\n" and "ok\n", little endian after the byte-order mark.
    writeFile(path, std::string("\xff\xfew\0a\0r\0n\0 \0\xfc\0\r\0\n\0o\0k\0\n\0", 24));
    const TailResult result = runTail({"--once", path});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "WARN\twarn \xc3\xbc\n?\tok\n");
}

} // namespace
} // namespace kestrano::test
