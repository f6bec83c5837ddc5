// kestrano-tail on logs of another host, through a real OpenSSH server on 127.0.0.1.
#include "tests/support/SshServer.h"
#include "tests/support/TempDir.h"
#include "tests/tail/TailProcess.h"

#include <chrono>
#include <csignal>
#include <thread>

#include <gtest/gtest.h>

namespace kestrano::test {
namespace {

class TailRemoteTest : public testing::Test {
protected:
    SshServer server;
    TempDir folder;
    std::string file = folder.file("app.log");
};

TEST_F(TailRemoteTest, OnceReadsTheTailOfARemoteFile)
{
    writeFile(file, "one\nError: two\nthree");
    const TailResult result = runTail({"--once", server.name(file)});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("one\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Error: two\n"), std::string::npos);
    EXPECT_NE(result.out.find("three\n"), std::string::npos);
}

TEST_F(TailRemoteTest, OnceEndsWithStatusOneAndTheReasonWhenTheFileOrHostCannotBeRead)
{
    const std::string missing = server.name(folder.file("missing.log"));
    TailResult result = runTail({"--once", missing});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cannot read '" + missing + "': No such file or directory"), std::string::npos)
        << result.err;

    const std::string unreachable = "ssh://127.0.0.1:" + std::to_string(SshServer::freePort()) + file;
    result = runTail({"--once", unreachable});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cannot reach 127.0.0.1"), std::string::npos) << result.err;
}

TEST_F(TailRemoteTest, FollowsTwoRemoteLogsAndAKilledProgramLeavesNoSsh)
{
    writeFile(file, "first\n");
    const std::string other = folder.file("other.log");
    writeFile(other, "second\n");
    TailProcess tail({server.name(file), server.name(other)});
    ASSERT_TRUE(tail.waitForOutput("first"));
    ASSERT_TRUE(tail.waitForOutput("second"));
    appendFile(other, "appended\n");
    ASSERT_TRUE(tail.waitForOutput("appended"));
    EXPECT_TRUE(SshServer::processRunning(server.clientKey()));

    EXPECT_EQ(tail.stop(SIGKILL), 128 + SIGKILL);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (SshServer::processRunning(server.clientKey()) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(SshServer::processRunning(server.clientKey()));
}

} // namespace
} // namespace kestrano::test
