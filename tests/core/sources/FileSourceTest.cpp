// A plain file read straight through its source, as the view reads it: what the sink is handed, in
// which order, and what each read reports.
#include "core/sources/FileSource.h"
#include "core/settings/MonitorSettings.h"
#include "tests/core/sources/RecordingSink.h"
#include "tests/platform/FailingFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace kestrano::test {
namespace {

class FileSourceTest : public testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("app.log");
    MonitorSettings settings;
    FailingFileSystem files;
    FileSource source {path, files};
    RecordingSink sink;

    // How many descriptors of this process have the log's folder's file name open, deleted or not.
    int openDescriptorsOf(const std::string& name) const
    {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
            std::error_code error;
            const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
            if (!error && target.rfind(dir.file(name), 0) == 0)
                ++count;
        }
        return count;
    }

    LogSource::Result read(bool reloadOnChange = false)
    {
        return source.read(
            sink, {settings, std::chrono::steady_clock::now() + std::chrono::seconds(10), reloadOnChange});
    }
};

TEST_F(FileSourceTest, ReadsTheTailFirstThenWhatTheFileGains)
{
    EXPECT_EQ(source.getWatchPath(), path);
    settings.SetInitiallyReadBytes(10);
    writeFile(path, "first line\nsecond\n");
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.events, (std::vector<std::string> {"restart skipping", "ne\nsecond\n"}));
    EXPECT_EQ(source.getReadPosition(), 18u);

    sink.events.clear();
    EXPECT_EQ(read(), LogSource::Result::Unchanged);
    appendFile(path, "third\n");
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.events, (std::vector<std::string> {"third\n"}));
    EXPECT_EQ(source.getReadPosition(), 24u);
}

TEST_F(FileSourceTest, AShrinkAReplacementAndAReturnReadTheNewContentWhole)
{
    settings.SetInitiallyReadBytes(4);
    writeFile(path, "old content\n");
    read();
    sink.events.clear();

    writeFile(path, "short\n"); // shrank
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.events, (std::vector<std::string> {"restart", "short\n"}));

    sink.events.clear();
    const std::string other = dir.file("other.log");
    writeFile(other, "replacement, longer than before\n");
    ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.events,
        (std::vector<std::string> {"restart after app.log was rotated; following the new file",
            "replacement, longer than before\n"}));

    sink.events.clear();
    std::filesystem::remove(path);
    EXPECT_EQ(read(), LogSource::Result::Gone);
    EXPECT_EQ(source.getReadPosition(), LogSource::UnknownPosition);
    writeFile(path, "back again\n");
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.events, (std::vector<std::string> {"restart", "back again\n"}));
}

TEST_F(FileSourceTest, ReloadOnChangeAndRestartReadTheTailAgain)
{
    settings.SetInitiallyReadBytes(6);
    writeFile(path, "one\ntwo\n");
    read();
    sink.events.clear();
    appendFile(path, "three\n");
    EXPECT_EQ(read(true), LogSource::Result::Read);
    EXPECT_EQ(sink.events, (std::vector<std::string> {"restart skipping", "three\n"}));

    sink.events.clear();
    EXPECT_EQ(read(true), LogSource::Result::Unchanged) << "no change, no reload";
    source.restart();
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.events, (std::vector<std::string> {"restart skipping", "three\n"}));
}

TEST_F(FileSourceTest, AFileThatCannotBeOpenedFailsWithItsReasonAndAReadFailureInterrupts)
{
    std::filesystem::create_directory(path);
    EXPECT_EQ(read(), LogSource::Result::Failed);
    EXPECT_EQ(source.getFailureReason(), "Is a directory");
    EXPECT_EQ(files.opens, 0) << "only a regular file is opened";
    std::filesystem::remove(path);

    writeFile(path, "text\n");
    files.failOpen = true;
    EXPECT_EQ(read(), LogSource::Result::Failed);
    EXPECT_EQ(source.getFailureReason(), "Input/output error");
    files.failOpen = false;
    files.failRead = true;
    appendFile(path, "more\n");
    EXPECT_EQ(read(), LogSource::Result::Interrupted);
    files.failRead = false;
    appendFile(path, "last\n");
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.text(), "text\nmore\nlast\n");
}

TEST_F(FileSourceTest, AReadPastItsDeadlineStopsAfterAStepAndTheNextGoesOn)
{
    settings.SetInitiallyReadBytes(-1);
    const std::string text(5 * FileSource::ReadChunkSize + 100, 'x');
    writeFile(path, text);
    int reads = 0;
    LogSource::Result result;
    do {
        result = source.read(sink, {settings, std::chrono::steady_clock::now(), false});
        ++reads;
    } while (result == LogSource::Result::Behind);
    EXPECT_EQ(result, LogSource::Result::Read);
    EXPECT_EQ(reads, 6); // a step each, the last one with the 100 bytes left
    EXPECT_EQ(sink.text(), text) << "nothing twice, nothing lost";
    for (int32_t n : files.reads)
        EXPECT_LE(n, FileSource::ReadChunkSize);
}

TEST_F(FileSourceTest, AUtf16FileIsHandedOverAsUtf8)
{
    writeFile(path,
        std::string("\xFF\xFE"
                    "a\0\xE9\0\n\0",
            8));
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.text(), "a\xC3\xA9\n");
}

TEST_F(FileSourceTest, AFileRenamedAwayIsReadToItsEndBeforeTheNewOne)
{
    writeFile(path, "one\n");
    read();
    sink.events.clear();
    appendFile(path, "two\n"); // after the last read, before the rotation
    ASSERT_EQ(std::rename(path.c_str(), dir.file("app.log.1").c_str()), 0);
    EXPECT_EQ(openDescriptorsOf("app.log"), 1) << "held between reads";

    // Between the rename and the new file: the old one is read on, the log is not gone.
    EXPECT_EQ(read(), LogSource::Result::Read);
    appendFile(dir.file("app.log.1"), "three\n"); // its writer has not reopened yet
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(read(), LogSource::Result::Unchanged);
    writeFile(path, "four\n");
    appendFile(dir.file("app.log.1"), "five\n"); // the last line before the writer switches
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.events,
        (std::vector<std::string> {"two\n", "three\n", "five\n",
            "restart after app.log was rotated; following the new file", "four\n"}));
    EXPECT_EQ(openDescriptorsOf("app.log.1"), 0) << "the old file is let go once read";
}

TEST_F(FileSourceTest, ADeletedFileIsReadToItsEndAndClosed)
{
    writeFile(path, "one\n");
    read();
    appendFile(path, "two\n");
    std::filesystem::remove(path);
    EXPECT_EQ(read(), LogSource::Result::Gone);
    EXPECT_EQ(sink.text(), "one\ntwo\n");
    EXPECT_EQ(openDescriptorsOf("app.log"), 0) << "its space is freed";

    // Deleted and made anew between two reads: the old one's end, then the new file.
    writeFile(path, "new\n");
    read();
    sink.events.clear();
    appendFile(path, "last of the old\n");
    std::filesystem::remove(path);
    writeFile(path, "first of the new\n");
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.events,
        (std::vector<std::string> {"last of the old\n",
            "restart after app.log was rotated; following the new file", "first of the new\n"}));
    EXPECT_EQ(openDescriptorsOf("app.log"), 1);
}

TEST_F(FileSourceTest, ATruncatedFileWrittenPastTheOldPositionIsReadFromItsStart)
{
    std::string old;
    for (int i = 0; i < 100; ++i)
        old += "old line " + std::to_string(i) + "\n";
    writeFile(path, old);
    read();
    sink.events.clear();
    std::string rewritten;
    for (int i = 0; i < 3000; ++i)
        rewritten += "new line " + std::to_string(i) + "\n";
    writeFile(path, rewritten); // truncated in place and written again, longer than before
    ASSERT_GT(rewritten.size(), old.size());
    while (read() == LogSource::Result::Behind) { }
    ASSERT_FALSE(sink.events.empty());
    EXPECT_EQ(sink.events.front(), "restart");
    EXPECT_EQ(sink.text(), rewritten);

    // Appended to alone, it is read on.
    sink.events.clear();
    appendFile(path, "appended\n");
    read();
    EXPECT_EQ(sink.events, (std::vector<std::string> {"appended\n"}));
}

TEST_F(FileSourceTest, WithoutDescriptorsToSpareTheFileIsOpenedForEachReadAfterOneNotice)
{
    files.refuseKeepOpen = true;
    writeFile(path, "one\n");
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(openDescriptorsOf("app.log"), 0);
    appendFile(path, "two\n");
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.events,
        (std::vector<std::string> {"restart",
            "notice Too many open files: this log is opened for each read and "
            "may miss lines at a rotation.",
            "one\n", "two\n"}));
    EXPECT_EQ(files.opens, 2);

    // Once descriptors are free again, the file is held.
    files.refuseKeepOpen = false;
    appendFile(path, "three\n");
    read();
    EXPECT_EQ(openDescriptorsOf("app.log"), 1);
}

TEST_F(FileSourceTest, NewContentOverTheBoundTellsHowMuchWasSkipped)
{
    writeFile(path, "small\n");
    read();
    sink.events.clear();
    // Sparse: the bound and a line more, the line at its end.
    const std::string other = dir.file("other.log");
    const std::string line = "the end\n";
    writeFile(other, "");
    ASSERT_EQ(truncate(other.c_str(), static_cast<off_t>(FileSource::NewContentBound)), 0);
    appendFile(other, line);
    ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
    while (read() == LogSource::Result::Behind) { }
    ASSERT_GE(sink.events.size(), 2u);
    EXPECT_EQ(sink.events[0], "restart skipping after app.log was rotated; following the new file");
    EXPECT_EQ(sink.events[1],
        "notice Skipped the first " + std::to_string(line.size()) + " bytes of the new content.");
    const std::string text = sink.text();
    EXPECT_EQ(text.size(), FileSource::NewContentBound);
    EXPECT_EQ(text.substr(text.size() - line.size()), line);
}

TEST_F(FileSourceTest, ByteOrderMarksAreBelievedOnlyBeforeUtf16Text)
{
    // A mark followed by ordinary text: the text, mark and all.
    writeFile(path, "\xFF\xFEordinary text\n");
    read();
    EXPECT_EQ(sink.text(), "\xFF\xFEordinary text\n");

    // A mark alone tells nothing yet; the lines written after it do.
    sink.events.clear();
    writeFile(path, "\xFF\xFE");
    source.restart();
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.text(), "");
    appendFile(path, "line one\nline two\n");
    read();
    EXPECT_EQ(sink.text(), "\xFF\xFEline one\nline two\n");

    // Written anew as UTF-16: decided again.
    sink.events.clear();
    writeFile(path,
        std::string("\xFF\xFE"
                    "a\0b\0\n\0",
            8));
    read();
    EXPECT_EQ(sink.text(), "ab\n");
    // And a big-endian file whose first character is not ASCII.
    sink.events.clear();
    writeFile(path, std::string("\xFE\xFF\x4E\x2D\0\n", 6));
    read();
    EXPECT_EQ(sink.text(), "\xE4\xB8\xAD\n");
}

} // namespace
} // namespace kestrano::test
