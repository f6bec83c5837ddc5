// One Kestrano per user session, with real processes of the built program: a later start hands its
// files to the running one and ends without touching the configuration.
#include "config/Config.h"
#include "platform/SessionInstance.h"
#include "tests/shell/ProgramProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace kestrano::test {
namespace {

namespace fs = std::filesystem;

// Whether an instance listens on the socket.
bool listening()
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const std::string path = socketFile();
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

class SingleInstanceTest : public ::testing::Test {
protected:
    std::unique_ptr<ProgramProcess> start(
        const std::vector<std::string>& arguments, const std::string& folder = "", int input = -1)
    {
        return std::make_unique<ProgramProcess>(
            KESTRANO_PROGRAM, KESTRANO_PROGRAM, arguments, folder.empty() ? logs.path() : folder, input);
    }

    void SetUp() override
    {
        fs::remove_all(fs::path(configurationFile()).parent_path());
        fs::create_directories(logs.file("sub"));
        writeFile(logs.file("a.log"), "first\n");
        writeFile(logs.file("sub/b.log"), "second\n");
    }

    TempDir logs;
};

TEST_F(SingleInstanceTest, ASecondStartHandsItsFilesToTheRunningOneAndEnds)
{
    const std::unique_ptr<ProgramProcess> first = start({logs.file("a.log")});
    ASSERT_TRUE(eventually([] { return fs::exists(socketFile()); })) << first->output();

    // A relative name is made absolute against the second one's own folder.
    const std::unique_ptr<ProgramProcess> second = start({"b.log", "../a.log"}, logs.file("sub"));
    EXPECT_EQ(second->wait(), 0) << second->output();
    EXPECT_TRUE(first->running());
    // It neither loaded nor saved the configuration: nothing beside it, nothing written.
    EXPECT_FALSE(fs::exists(configurationFile()));
    EXPECT_FALSE(fs::exists(configurationFile() + ".lock"));

    // Without files it only brings the running one to the front.
    EXPECT_EQ(start({})->wait(), 0);

    EXPECT_EQ(first->stop(SIGTERM), 0) << first->output();
    EXPECT_EQ(savedWorkspace(), (std::vector<std::string> {logs.file("a.log"), logs.file("sub/b.log")}));
    EXPECT_FALSE(fs::exists(socketFile()));
}

TEST_F(SingleInstanceTest, AJournalIsHandedOverByItsName)
{
    const std::unique_ptr<ProgramProcess> first = start({logs.file("a.log")});
    ASSERT_TRUE(eventually([] { return fs::exists(socketFile()); })) << first->output();

    // The journal's name is not a path to make absolute.
    EXPECT_EQ(start({"--journal=ssh"}, logs.file("sub"))->wait(), 0);

    EXPECT_EQ(first->stop(SIGTERM), 0) << first->output();
    EXPECT_EQ(savedWorkspace(), (std::vector<std::string> {logs.file("a.log"), "journal:ssh"}));
}

TEST_F(SingleInstanceTest, APipeIsHandedToTheRunningOneWhichReadsIt)
{
    const std::unique_ptr<ProgramProcess> first = start({logs.file("a.log")});
    ASSERT_TRUE(eventually([] { return fs::exists(socketFile()); })) << first->output();

    int pipeEnds[2];
    ASSERT_EQ(pipe2(pipeEnds, O_CLOEXEC), 0);
    const std::unique_ptr<ProgramProcess> piped = start({"-"}, "", pipeEnds[0]);
    EXPECT_EQ(piped->wait(), 0) << piped->output();
    close(pipeEnds[0]);

    // Far more than a pipe holds: it all goes in only while the running one reads the other end.
    ASSERT_EQ(fcntl(pipeEnds[1], F_SETFL, O_NONBLOCK), 0);
    const std::string lines = [] {
        std::string text;
        for (int i = 0; i < 20000; ++i)
            text += "error " + std::to_string(i) + " from the pipe\n";
        return text;
    }();
    std::size_t written = 0;
    EXPECT_TRUE(eventually([&] {
        const ssize_t count = write(pipeEnds[1], lines.data() + written, lines.size() - written);
        if (count > 0)
            written += static_cast<std::size_t>(count);
        return written == lines.size();
    })) << written
        << " of " << lines.size() << " bytes went in";
    close(pipeEnds[1]);

    EXPECT_EQ(first->stop(SIGTERM), 0) << first->output();
    EXPECT_EQ(savedWorkspace(), std::vector<std::string> {logs.file("a.log")}) << "a stream is not stored";
}

TEST_F(SingleInstanceTest, OfTwoStartsAtTheSameMomentOneRunsAndTheOtherHandsOver)
{
    const std::unique_ptr<ProgramProcess> one = start({logs.file("a.log")});
    const std::unique_ptr<ProgramProcess> other = start({logs.file("sub/b.log")});
    ASSERT_TRUE(eventually([&] { return !one->running() || !other->running(); }));
    ProgramProcess& handed = one->running() ? *other : *one;
    ProgramProcess& running = one->running() ? *one : *other;
    EXPECT_EQ(handed.wait(), 0) << handed.output();
    EXPECT_EQ(running.stop(SIGTERM), 0) << running.output();
    EXPECT_EQ(savedWorkspace(), (std::vector<std::string> {logs.file("a.log"), logs.file("sub/b.log")}));
}

TEST_F(SingleInstanceTest, ASocketLeftByACrashDoesNotStopTheNextStart)
{
    {
        const std::unique_ptr<ProgramProcess> crashed = start({});
        ASSERT_TRUE(eventually([] { return fs::exists(socketFile()); }));
        EXPECT_EQ(crashed->stop(SIGKILL), 128 + SIGKILL);
    }
    ASSERT_TRUE(fs::is_socket(socketFile()));
    ASSERT_FALSE(listening());

    const std::unique_ptr<ProgramProcess> next = start({logs.file("a.log")});
    ASSERT_TRUE(eventually(listening)) << next->output();
    const std::unique_ptr<ProgramProcess> later = start({logs.file("sub/b.log")});
    EXPECT_EQ(later->wait(), 0) << later->output();
    EXPECT_EQ(next->stop(SIGTERM), 0);
    EXPECT_EQ(savedWorkspace(), (std::vector<std::string> {logs.file("a.log"), logs.file("sub/b.log")}));
}

TEST_F(SingleInstanceTest, WhenTheRunningOneDoesNotAnswerTheNewOneStartsOnItsOwn)
{
    // This test is the running instance, and a hung one: it takes the request and never answers.
    SessionInstance hung(configurationFile());
    ASSERT_EQ(hung.claimOrHandOver({}), SessionInstance::Role::Primary);
    setenv("XDG_ACTIVATION_TOKEN", "launcher-token-7", 1);
    const std::unique_ptr<ProgramProcess> next = start({"--log", "info", "a.log"});
    unsetenv("XDG_ACTIVATION_TOKEN");

    struct pollfd waiting = {hung.listeningSocket(), POLLIN, 0};
    ASSERT_EQ(poll(&waiting, 1, 30000), 1);
    const int connection = accept(hung.listeningSocket(), nullptr, nullptr);
    ASSERT_GE(connection, 0);
    std::string request;
    std::vector<std::string> files;
    std::string token;
    while (!SessionInstance::decodeRequest(request, files, &token)) {
        char buffer[256];
        const ssize_t count = recv(connection, buffer, sizeof buffer, 0);
        ASSERT_GT(count, 0);
        request.append(buffer, static_cast<std::size_t>(count));
    }
    EXPECT_EQ(files, std::vector<std::string> {logs.file("a.log")});
    EXPECT_EQ(token, "launcher-token-7") << "the launcher's token goes along";

    const std::string diagnosticLog
        = std::string(std::getenv("XDG_STATE_HOME")) + "/Tormalind/Kestrano/kestrano.log";
    EXPECT_TRUE(eventually([&] {
        return fs::exists(diagnosticLog)
            && readFile(diagnosticLog).find("Logger initialized") != std::string::npos;
    })) << next->output();
    close(connection);
    // It runs its event loop once SIGTERM ends it as Exit does.
    ASSERT_TRUE(eventually([&] { return next->catches(SIGTERM); }));
    EXPECT_EQ(next->stop(SIGTERM), 0);
    EXPECT_EQ(savedWorkspace(), std::vector<std::string> {logs.file("a.log")});
}

} // namespace
} // namespace kestrano::test
