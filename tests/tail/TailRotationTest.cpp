// kestrano-tail with default settings following a log while a writer process appends to it and the
// log is rotated as logrotate does it in each mode, slowly and fast; the real logrotate; many logs.
#include "tests/support/LogRotation.h"
#include "tests/support/MadeLogs.h"
#include "tests/support/TempDir.h"
#include "tests/tail/TailProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace kestrano::test {
namespace {

class TailRotationTest : public testing::TestWithParam<RotationCase> { };

TEST_P(TailRotationTest, LosesRepeatsAndReordersNoLine)
{
    const auto [mode, rate] = GetParam();
    const long count = rate * 2;
    TempDir folder;
    RotatedLog log(folder.path(), mode);
    writeFile(log.path(), "info start\n");
    TailProcess tail({log.path()});
    ASSERT_TRUE(tail.waitForOutput("INFO\tinfo start\n"));

    log.start(count, rate, 4);
    const bool lastShown = tail.waitForOutput(writtenLine(count - 1));
    ASSERT_TRUE(log.finish());
    EXPECT_TRUE(lastShown);
    EXPECT_EQ(tail.stop(SIGINT), 0);

    const LineCount counted = countLines(lineNumbers(tail.out()), log.linesOnDisk());
    EXPECT_EQ(counted.repeated, 0) << counted.describe();
    EXPECT_EQ(counted.reordered, 0) << counted.describe();
    if (mode == RotationMode::CopyTruncate)
        EXPECT_LE(counted.gaps, 4) << "at most what was written between a poll and a truncation: "
                                   << counted.describe();
    else
        EXPECT_EQ(counted.lost, 0) << counted.describe();
}

INSTANTIATE_TEST_SUITE_P(EveryMode, TailRotationTest, everyRotationCase(), nameOfCase);

TEST(TailLogrotateTest, TheRealLogrotateLosesNoLine)
{
    TempDir folder;
    const std::string path = folder.file("app.log");
    writeFile(path, "info start\n");
    TailProcess tail({path});
    ASSERT_TRUE(tail.waitForOutput("INFO\tinfo start\n"));

    const long count = 6000;
    const pid_t writer = startLogWriter(path, count, 3000, "hup");
    std::thread rotations = runLogrotate(folder.path(), path, writer, 4);
    const bool lastShown = tail.waitForOutput(writtenLine(count - 1));
    rotations.join();
    ASSERT_TRUE(waitForLogWriter(writer));
    EXPECT_TRUE(lastShown);
    EXPECT_EQ(tail.stop(SIGINT), 0);
    EXPECT_TRUE(std::filesystem::exists(path + ".2.gz")) << "rotated four times";

    const LineCount counted = countLines(lineNumbers(tail.out()), linesOnDisk(folder.path()));
    EXPECT_EQ(counted.lost + counted.repeated + counted.reordered, 0) << counted.describe();
}

// 1,000 logs under a descriptor limit of 400: those beyond what may stay open are opened for each
// read, after one notice each; every line of every log is printed.
TEST(TailManyLogsTest, FollowsAThousandLogsBeyondTheDescriptorLimit)
{
    TempDir folder;
    const int logs = 1000;
    std::vector<std::string> arguments {"-i", "100"};
    for (int i = 0; i < logs; ++i) {
        arguments.push_back(folder.file("log" + std::to_string(i) + ".log"));
        writeFile(arguments.back(), "info start " + std::to_string(i) + "\n");
    }
    TailLaunch launch;
    launch.wrapper = {"/usr/bin/prlimit", "--nofile=400:400", "--"};
    TailProcess tail(arguments, launch);
    for (int i = 0; i < logs; ++i)
        ASSERT_TRUE(tail.waitForOutput("\tinfo start " + std::to_string(i) + "\n")) << i;
    for (int i = 0; i < logs; ++i)
        appendFile(arguments[static_cast<size_t>(i) + 2], "error more " + std::to_string(i) + "\n");
    for (int i = 0; i < logs; ++i)
        ASSERT_TRUE(tail.waitForOutput("\terror more " + std::to_string(i) + "\n")) << i;
    EXPECT_EQ(tail.stop(SIGINT), 0);

    const std::string notice = "Too many open files";
    int notices = 0;
    for (const std::string* text : {&tail.out(), &tail.err()})
        for (size_t at = text->find(notice); at != std::string::npos; at = text->find(notice, at + 1))
            ++notices;
    EXPECT_GT(notices, 0);
    EXPECT_LT(notices, logs) << "the logs within the limit stay open";
}

} // namespace
} // namespace kestrano::test
