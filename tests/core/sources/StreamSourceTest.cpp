// Standard input through a real pipe.
#include "core/sources/StreamSource.h"
#include "core/sources/SourceRegistry.h"
#include "tests/core/sources/SourceFixture.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace kestrano::test {
namespace {

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
    EXPECT_EQ(frame.newsShown, 1);
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
    EXPECT_EQ(frame.newsShown, 1) << "the notice does not notify";
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

} // namespace
} // namespace kestrano::test
