// A plain file read straight through its source, as the view reads it: what the sink is handed, in
// which order, and what each read reports.
#include "core/sources/FileSource.h"
#include "core/settings/MonitorSettings.h"
#include "tests/platform/FailingFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace kestrano::test {
namespace {

// Records what a source hands over: "restart", "restart skipping" and the text taken, each cut.
class RecordingSink : public LogSink {
public:
    std::vector<std::string> events;
    std::string pending;

    void startOver(bool skipFirstLine) override
    {
        events.push_back(skipFirstLine ? "restart skipping" : "restart");
    }
    void takeText(const char* bytes, int32_t n) override { pending.append(bytes, static_cast<size_t>(n)); }
    void cutText() override
    {
        if (!pending.empty())
            events.push_back(pending);
        pending.clear();
    }
    void appendEntry(const char* bytes, int32_t n, int32_t) override { appendText(bytes, n); }
    void appendNotice(const ShownText& notice) override { events.push_back("notice " + notice.english()); }
    std::string text() const
    {
        std::string all;
        for (const std::string& event : events)
            if (event.rfind("restart", 0) != 0)
                all += event;
        return all;
    }
};

class FileSourceTest : public testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("app.log");
    MonitorSettings settings;
    FailingFileSystem files;
    FileSource source {path, files};
    RecordingSink sink;

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
    EXPECT_EQ(sink.events, (std::vector<std::string> {"restart", "replacement, longer than before\n"}));

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

} // namespace
} // namespace kestrano::test
