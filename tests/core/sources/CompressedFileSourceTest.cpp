// Files compressed by gzip and xz.
#include "core/sources/CompressedFileSource.h"
#include "tests/core/sources/RecordingSink.h"
#include "tests/core/sources/SourceFixture.h"
#include "tests/support/MadeLogs.h"

#include <algorithm>
#include <cstdio>

#include <gtest/gtest.h>

namespace kestrano::test {
namespace {

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
    EXPECT_EQ(texts(),
        (std::vector<std::string> {
            "old", "app.log.xz was rotated; following the new file", "new one", "new error"}));

    writeCompressed(path, "xz", "rewritten\n"); // in place
    poll();
    EXPECT_EQ(texts(), (std::vector<std::string> {"rewritten"}));

    ASSERT_EQ(::unlink(path.c_str()), 0);
    poll();
    EXPECT_TRUE(texts().empty());
    EXPECT_EQ(view->getReadPosition(), ChildView::UnknownPosition);
}

TEST_F(CompressedTest, AFileReplacedWhileBeingReadIsReadToItsEndFirst)
{
    const std::string path = dir.file("app.log.2.gz");
    const std::string old = numberedLines(20000);
    writeCompressed(path, "gzip", old);
    settings.SetInitiallyReadBytes(-1);
    CompressedFileSource source(path.c_str(), Decompressor::Format::Gzip, systemFileSystem());
    RecordingSink sink;
    ASSERT_EQ(
        source.read(sink, {settings, std::chrono::steady_clock::now(), false}), LogSource::Result::Behind);

    writeCompressed(dir.file("new.gz"), "gzip", "the new one\n");
    ASSERT_EQ(std::rename(dir.file("new.gz").c_str(), path.c_str()), 0);
    const auto read = [&] {
        return source.read(
            sink, {settings, std::chrono::steady_clock::now() + std::chrono::seconds(10), false});
    };
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.text(), old);
    sink.events.clear();
    EXPECT_EQ(read(), LogSource::Result::Read);
    EXPECT_EQ(sink.events,
        (std::vector<std::string> {
            "restart after app.log.2.gz was rotated; following the new file", "the new one\n"}));
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
    EXPECT_EQ(texts(),
        (std::vector<std::string> {all.back(), "cut.log.gz was rotated; following the new file", "mended"}));
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

} // namespace
} // namespace kestrano::test
