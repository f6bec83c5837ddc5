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

class TailRotationTest : public testing::TestWithParam<std::tuple<RotationMode, long>> { };

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

INSTANTIATE_TEST_SUITE_P(EveryMode, TailRotationTest,
    testing::Combine(
        testing::Values(RotationMode::Create, RotationMode::CopyTruncate, RotationMode::DelayCompress,
            RotationMode::DateExt, RotationMode::OldDir, RotationMode::CreateHup),
        testing::Values(100L, 5000L)),
    [](const testing::TestParamInfo<TailRotationTest::ParamType>& info) {
        return std::string(nameOf(std::get<0>(info.param))) + "_" + std::to_string(std::get<1>(info.param));
    });

TEST(TailLogrotateTest, TheRealLogrotateLosesNoLine)
{
    TempDir folder;
    const std::string path = folder.file("app.log");
    writeFile(path, "info start\n");
    TailProcess tail({path});
    ASSERT_TRUE(tail.waitForOutput("INFO\tinfo start\n"));

    const long count = 6000;
    const pid_t writer = startLogWriter(path, count, 3000, "hup");
    const std::string config = folder.file("logrotate.conf");
    writeFile(config,
        path
            + " {\n  rotate 10\n  compress\n  delaycompress\n  create\n  missingok\n  postrotate\n    kill "
              "-HUP "
            + std::to_string(writer) + "\n  endscript\n}\n");
    std::thread rotations([&] {
        for (int i = 0; i < 4; ++i) {
            usleep(350000);
            runFilter({"/usr/sbin/logrotate", "-s", folder.file("state"), "-f", config}, "/dev/null", "");
        }
    });
    const bool lastShown = tail.waitForOutput(writtenLine(count - 1));
    rotations.join();
    ASSERT_TRUE(waitForLogWriter(writer));
    EXPECT_TRUE(lastShown);
    EXPECT_EQ(tail.stop(SIGINT), 0);
    EXPECT_TRUE(std::filesystem::exists(path + ".2.gz")) << "rotated four times";

    const LineCount counted = countLines(lineNumbers(tail.out()), linesOnDisk(folder.path()));
    EXPECT_EQ(counted.lost + counted.repeated + counted.reordered, 0) << counted.describe();
}

} // namespace
} // namespace kestrano::test
