#include "foundation/Logger.h"

#include "config/ApplicationPath.h"
#include "foundation/Exception.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace haspel;
using kestrano::test::readFile;
using kestrano::test::TempDir;

namespace {

const std::string kSeparator = "\n" + std::string(79, '-') + "\n";
const std::string kStamp = "[2016-05-02 09:15:07 ";

class FixedClock : public LogClock {
public:
    int64_t GetTickMilliseconds() const override { return tick; }
    std::tm GetLocalStandardTime() const override
    {
        std::tm time {};
        time.tm_year = 2016 - 1900;
        time.tm_mon = 4;
        time.tm_mday = 2;
        time.tm_hour = 9;
        time.tm_min = 15;
        time.tm_sec = 7;
        return time;
    }
    int64_t tick = 5000;
};

// Every test has its own state folder and a program "kestrano" in a folder of its own.
class LoggerTest : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("XDG_STATE_HOME", state.path().c_str(), 1);
        SetProgram(program.file("kestrano"));
    }
    void SetProgram(const std::string& path)
    {
        programPath = path;
        const char* arguments[] = {programPath.c_str()};
        SetApplicationArguments(1, arguments);
    }
    std::string LogPath() const { return state.path() + "/Tormalind/Kestrano/kestrano.log"; }
    bool LogExists() const { return std::filesystem::exists(LogPath()); }
    std::string Log() const { return LogExists() ? readFile(LogPath()) : ""; }

    std::unique_ptr<Logger> Make(std::vector<const char*> switches)
    {
        switches.insert(switches.begin(), programPath.c_str());
        return std::make_unique<Logger>(int32_t(switches.size()), switches.data(), clock);
    }

    // The levels among 0 to 7 whose records reach a fresh file, e.g. "4567".
    std::string WrittenLevels(std::vector<const char*> switches)
    {
        std::filesystem::remove(LogPath());
        for (auto logger = Make(switches); int level : {0, 1, 2, 3, 4, 5, 6, 7})
            logger->Log("test", 1, static_cast<LogLevel>(level), "L%d", level);
        std::string levels;
        for (char level = '0'; level <= '7'; ++level)
            if (Log().find(std::string(") L") + level + "\n") != std::string::npos)
                levels += level;
        return levels;
    }

    TempDir state;
    TempDir program;
    std::string programPath;
    FixedClock clock;
};

} // namespace

TEST_F(LoggerTest, ThresholdComesFromTheLogSwitch)
{
    EXPECT_EQ(WrittenLevels({}), "4567");
    EXPECT_EQ(WrittenLevels({"/log", "debug"}), "1234567");
    EXPECT_EQ(WrittenLevels({"/log", "INFO"}), "234567");
    EXPECT_EQ(WrittenLevels({"--log", "Warn"}), "34567");
    EXPECT_EQ(WrittenLevels({"a.log", "/log", "exception", "b.log"}), "567");
    EXPECT_EQ(WrittenLevels({"/log", "fatal"}), "67");
    // Names are exact, prefix included; a missing value is ignored.
    EXPECT_EQ(WrittenLevels({"/LOG", "debug"}), "4567");
    EXPECT_EQ(WrittenLevels({"-log", "debug"}), "4567");
    EXPECT_EQ(WrittenLevels({"/log"}), "4567");
}

TEST_F(LoggerTest, NoFileUnlessARecordPasses)
{
    EXPECT_EQ(WrittenLevels({"/log", "all"}), "");
    EXPECT_EQ(WrittenLevels({"/log", "/var/log/syslog"}), "");
    {
        auto off = Make({"/log", "none"});
        EIllegalState ignored("m", "o", 1);
        auto defaults = Make({});
        defaults->Log("test", 1, LogLevel::Warn, "below the threshold");
    }
    EXPECT_FALSE(LogExists());
}

TEST_F(LoggerTest, TheStateFolderIsMadeWithTheFirstRecordOnly)
{
    const std::string stateFolder = state.path() + "/Tormalind";
    {
        auto logger = Make({});
        logger->Log("test", 1, LogLevel::Warn, "below the threshold");
        EXPECT_FALSE(std::filesystem::exists(stateFolder));
        logger->Log("test", 2, LogLevel::Error, "written");
    }
    EXPECT_NE(Log().find("written"), std::string::npos);
}

TEST_F(LoggerTest, TheLevelMayBeGivenByName)
{
    {
        Logger named("DEBUG");
        named.Log("test", 1, LogLevel::Debug, "named");
    }
    {
        Logger unnamed(nullptr); // the default threshold
        unnamed.Log("test", 1, LogLevel::Warn, "dropped");
        unnamed.Log("test", 2, LogLevel::Error, "kept");
    }
    const std::string log = Log();
    EXPECT_NE(log.find("Logger initialized"), std::string::npos);
    EXPECT_NE(log.find(") named\n"), std::string::npos);
    EXPECT_EQ(log.find("dropped"), std::string::npos);
    EXPECT_NE(log.find(") kept\n"), std::string::npos);
}

TEST_F(LoggerTest, ExactRecordsAndOneSeparatorPerRun)
{
    for (int run = 0; run < 2; ++run) {
        clock.tick = 5000;
        auto logger = Make({"/log", "debug"});
        clock.tick = 17045;
        logger->Log("C:\\src\\Tool.cpp", 12, LogLevel::Warn, "%d files,\n  %s", 3, "done");
        logger->Log("haspel::Tool::Run", 7, static_cast<LogLevel>(9), "odd");
        clock.tick = 5031;
    }
    const std::string run = kSeparator + kStamp
        + "(T+0.000)] Info (haspel::Logger::Logger:83) Logger initialized\n" + kStamp
        + "(T+12.045)] Warn (Tool.cpp:12) 3 files,\n  done\n" + kStamp
        + "(T+12.045)] Unknown (haspel::Tool::Run:7) odd\n" + kStamp
        + "(T+0.031)] Info (haspel::Logger::~Logger:90) Shutting down logger\n";
    EXPECT_EQ(Log(), run + run);
}

TEST_F(LoggerTest, LocatedExceptionLeavesItsRecordWhileTheLoggerExists)
{
    {
        auto logger = Make({});
        EIllegalState error("The __argv[0] does not denote a valid path",
            "haspel::Path::CreateApplicationLikePathInternal", 875);
    }
    EIllegalArgument afterwards("not logged", "haspel::Test", 1);
    EXPECT_EQ(Log(),
        kSeparator + kStamp
            + "(T+0.000)] Exception (haspel::Path::CreateApplicationLikePathInternal:875) "
              "EIllegalState.\nMessage: The __argv[0] does not denote a valid path\n");
}

TEST_F(LoggerTest, RecordsAreDroppedWhileAnotherProcessHoldsTheFile)
{
    std::filesystem::create_directories(state.path() + "/Tormalind/Kestrano");
    const int holder = open(LogPath().c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    auto logger = Make({});
    logger->Log("o", 1, LogLevel::Error, "dropped");
    EXPECT_EQ(Log(), "");
    close(holder);
    logger->Log("o", 2, LogLevel::Error, "kept");
    EXPECT_EQ(Log(), kSeparator + kStamp + "(T+0.000)] Error (o:2) kept\n");
}

TEST_F(LoggerTest, FifoWithoutReaderDoesNotBlock)
{
    std::filesystem::create_directories(state.path() + "/Tormalind/Kestrano");
    ASSERT_EQ(mkfifo(LogPath().c_str(), 0644), 0);
    Make({})->Log("o", 1, LogLevel::Error, "nowhere to go");
}

TEST_F(LoggerTest, FallsBackToTheProgramFolder)
{
    // A regular file where the state folder should be: the folder cannot be made.
    kestrano::test::writeFile(state.file("blocked"), "");
    setenv("XDG_STATE_HOME", state.file("blocked").c_str(), 1);
    Make({})->Log("o", 1, LogLevel::Fatal, "beside the program");
    EXPECT_NE(readFile(program.file("kestrano.log")).find("beside the program"), std::string::npos);
}

TEST_F(LoggerTest, ProgramPathWithoutFileNameIsRejected)
{
    SetProgram("/");
    try {
        Make({});
        FAIL() << "no exception";
    } catch (const EIllegalArgument& e) {
        EXPECT_STREQ(e.GetMessage(), "__argv[0] contains an illegal program path");
        EXPECT_STREQ(e.GetOrigin(), "haspel::Logger::Logger");
        EXPECT_EQ(e.GetLine(), 39);
    }
}

TEST(SystemLogClockTest, LocalStandardTimeIgnoresDaylightSaving)
{
    // Standard time five hours east of UTC, daylight-saving time all year round.
    setenv("TZ", "XST-5XDT,J1/0,J365/25", 1);
    std::tm local = SystemLogClock().GetLocalStandardTime();
    const time_t expected = time(nullptr) + 5 * 3600;
    unsetenv("TZ");
    tzset();
    EXPECT_LE(std::abs(timegm(&local) - expected), 2);
}
