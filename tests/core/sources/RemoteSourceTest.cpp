// Remote logs read through a real OpenSSH server on 127.0.0.1 with keys made for the test.
#include "core/sources/RemoteSource.h"
#include "core/text/Message.h"
#include "platform/ChildProcess.h"
#include "tests/core/sources/SourceFixture.h"
#include "tests/support/MadeLogs.h"
#include "tests/support/SshServer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

namespace kestrano::test {
namespace {

class RemoteSourceTest : public SourceTest {
protected:
    SshServer server;
    std::string file = dir.file("app.log");

    void openRemote(const std::string& name)
    {
        open(name.c_str(), std::make_unique<RemoteSource>(name.c_str(), &systemProcessStarter(), false));
    }
    // Polls until the condition holds; false after a generous wait.
    template <typename Condition> bool pollUntil(Condition&& condition, int seconds = 60)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < until) {
            poll();
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    bool lastIs(const std::string& text)
    {
        const std::vector<std::string> all = texts();
        return !all.empty() && all.back() == text;
    }
    std::vector<ShownText> notices()
    {
        std::vector<ShownText> result;
        for (Message* message = view->getMessages().GetHead(); message; message = message->GetNext())
            if (message->getNotice().id != CoreText::None)
                result.push_back(message->getNotice());
        return result;
    }
    std::vector<std::string> lines()
    {
        std::vector<std::string> result = texts();
        std::erase_if(result, [](const std::string& text) { return text.rfind("line ", 0) != 0; });
        return result;
    }
    static std::string numbered(int from, int to)
    {
        std::string text;
        for (int i = from; i < to; ++i)
            text += "line " + std::to_string(i) + "\n";
        return text;
    }
    static std::vector<std::string> numberedTexts(int from, int to)
    {
        std::vector<std::string> result;
        for (int i = from; i < to; ++i)
            result.push_back("line " + std::to_string(i));
        return result;
    }
};

TEST_F(RemoteSourceTest, ReadsTheTailWithoutItsPartialFirstLineThenAppends)
{
    settings.SetInitiallyReadBytes(20);
    writeFile(file, "first line, long enough to be cut\nsecond\nthird\n");
    openRemote(server.name(file));
    ASSERT_TRUE(pollUntil([&] { return lastIs("third"); })) << testing::PrintToString(texts());
    EXPECT_EQ(texts(), (std::vector<std::string> {"second", "third"}));

    appendFile(file, "fourth\nfif");
    ASSERT_TRUE(pollUntil([&] { return lastIs("fourth"); }));
    appendFile(file, "th\n");
    ASSERT_TRUE(pollUntil([&] { return lastIs("fifth"); }));
    EXPECT_EQ(texts(), (std::vector<std::string> {"second", "third", "fourth", "fifth"}));
    EXPECT_TRUE(notices().empty());
}

TEST_F(RemoteSourceTest, FollowsRotationByRenameAndByCopyTruncate)
{
    writeFile(file, "before\n");
    openRemote(server.name(file));
    ASSERT_TRUE(pollUntil([&] { return lastIs("before"); }));

    ASSERT_EQ(std::rename(file.c_str(), (file + ".1").c_str()), 0);
    writeFile(file, "after rename\n");
    ASSERT_TRUE(pollUntil([&] { return lastIs("after rename"); }));

    // copytruncate: the file keeps its identity and starts again (shorter than it was, so that the
    // remote tail sees it shrink however late it looks).
    std::filesystem::copy_file(file, file + ".2");
    ASSERT_EQ(truncate(file.c_str(), 0), 0);
    appendFile(file, "new\n");
    ASSERT_TRUE(pollUntil([&] { return lastIs("new"); }));
    appendFile(file, "after truncate\n");
    ASSERT_TRUE(pollUntil([&] { return lastIs("after truncate"); }));
    const std::vector<std::string> all = texts();
    EXPECT_EQ(std::count(all.begin(), all.end(), "before"), 1);
}

TEST_F(RemoteSourceTest, AKilledConnectionResumesWithoutLossOrRepetition)
{
    writeFile(file, numbered(0, 100));
    openRemote(server.name(file));
    ASSERT_TRUE(pollUntil([&] { return lastIs("line 99"); }));

    appendFile(file, numbered(100, 150) + "line 150 begun");
    ASSERT_TRUE(pollUntil([&] { return lastIs("line 149"); }));
    ASSERT_GT(server.killConnections(), 0);
    ASSERT_TRUE(pollUntil([&] { return !notices().empty(); }));
    appendFile(file, " and ended\n" + numbered(151, 300));
    ASSERT_TRUE(pollUntil([&] { return lastIs("line 299"); })) << testing::PrintToString(texts());

    std::vector<std::string> expected = numberedTexts(0, 300);
    expected[150] = "line 150 begun and ended";
    EXPECT_EQ(lines(), expected);
    ASSERT_EQ(notices().size(), 1u);
    EXPECT_EQ(notices()[0].id, CoreText::RemoteLost);
    EXPECT_EQ(notices()[0].argument, "127.0.0.1");
    EXPECT_FALSE(notices()[0].detail.empty());
}

TEST_F(RemoteSourceTest, AHostThatCannotBeReachedIsNotedOnceAndRetried)
{
    const int port = SshServer::freePort();
    openRemote("ssh://127.0.0.1:" + std::to_string(port) + file);
    ASSERT_TRUE(pollUntil([&] { return view->getReadFailed(); }));
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2500);
    while (std::chrono::steady_clock::now() < until)
        poll(); // retried after a second, and noted no more
    ASSERT_EQ(notices().size(), 1u);
    EXPECT_EQ(notices()[0].id, CoreText::RemoteUnreachable);
    EXPECT_NE(notices()[0].detail.find("refused"), std::string::npos) << notices()[0].detail;
}

TEST_F(RemoteSourceTest, ARefusedKeySaysToSetUpAKey)
{
    setenv("KESTRANO_SSH_COMMAND", server.sshCommand(server.strangerKey()).c_str(), 1);
    writeFile(file, "secret\n");
    openRemote(server.name(file));
    ASSERT_TRUE(pollUntil([&] { return view->getReadFailed(); }));
    ASSERT_EQ(notices().size(), 1u);
    EXPECT_EQ(notices()[0].id, CoreText::RemoteKeyRefused);
    EXPECT_NE(notices()[0].english().find("set up a key or an agent"), std::string::npos);
    EXPECT_TRUE(lines().empty());
}

TEST_F(RemoteSourceTest, AMissingFileIsNotedAndReadOnceItIsThere)
{
    openRemote(server.name(file));
    ASSERT_TRUE(pollUntil([&] { return view->getReadFailed(); }));
    ASSERT_EQ(notices().size(), 1u);
    EXPECT_EQ(notices()[0], (ShownText {CoreText::RemoteMissing, file, "127.0.0.1"}));

    writeFile(file, "here now\n");
    ASSERT_TRUE(pollUntil([&] { return lastIs("here now"); }, 90));
    EXPECT_FALSE(view->getReadFailed());
}

TEST_F(RemoteSourceTest, TheRemoteJournalIsReadInTheExportForm)
{
    const std::string journal = dir.file("remote.journal");
    writeJournal(journal,
        {journalEntry(0, "disk full", {{"SYSLOG_IDENTIFIER", "app"}, {"_PID", "42"}, {"PRIORITY", "3"}}),
            journalEntry(1, "first line\nsecond line\n", {{"SYSLOG_IDENTIFIER", "app"}, {"PRIORITY", "6"}}),
            journalEntry(2, "other unit", {{"SYSLOG_IDENTIFIER", "db"}, {"_SYSTEMD_UNIT", "db.service"}})});
    // journalctl on the "remote" side reads the file.
    const std::string wrapper = server.binFolder() + "/journalctl";
    writeFile(wrapper, "#!/bin/sh\nexec /usr/bin/journalctl --file='" + journal + "' \"$@\"\n");
    ASSERT_EQ(chmod(wrapper.c_str(), 0755), 0);

    openRemote(server.name("/?journal"));
    ASSERT_TRUE(pollUntil([&] { return texts().size() >= 3; })) << testing::PrintToString(texts());
    EXPECT_EQ(texts(),
        (std::vector<std::string> {"2026-12-08T04:00:00+0000 host1 app[42]: disk full",
            "2026-12-08T04:00:01+0000 host1 app: first line\r\nsecond line",
            "2026-12-08T04:00:02+0000 host1 db: other unit"}));
    EXPECT_EQ(severities()[0], Severity::Error);

    writeJournal(journal, {journalEntry(3, "appended", {{"SYSLOG_IDENTIFIER", "app"}})});
    ASSERT_TRUE(pollUntil([&] { return lastIs("2026-12-08T04:00:03+0000 host1 app: appended"); }));

    openRemote(server.name("/?journal=db"));
    ASSERT_TRUE(pollUntil([&] { return !texts().empty(); }));
    EXPECT_EQ(texts(), (std::vector<std::string> {"2026-12-08T04:00:02+0000 host1 db: other unit"}));
}

TEST_F(RemoteSourceTest, ManyLinesArriveWithNothingLost)
{
    settings.SetKeepLines(1000000);
    writeFile(file, "start\n");
    openRemote(server.name(file));
    ASSERT_TRUE(pollUntil([&] { return lastIs("start"); }));
    // A burst of two seconds' worth at 50,000 lines a second.
    appendFile(file, numbered(0, 100000));
    ASSERT_TRUE(pollUntil([&] { return lastIs("line 99999"); }, 120));
    EXPECT_EQ(lines(), numberedTexts(0, 100000));
}

TEST_F(RemoteSourceTest, ClosingTheLogEndsItsSsh)
{
    writeFile(file, "open\n");
    openRemote(server.name(file));
    ASSERT_TRUE(pollUntil([&] { return lastIs("open"); }));
    EXPECT_TRUE(SshServer::processRunning(server.clientKey()));
    view.reset();
    document.reset();
    EXPECT_FALSE(SshServer::processRunning(server.clientKey()));
}

} // namespace
} // namespace kestrano::test
