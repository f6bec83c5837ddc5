// Layouts recognised from real-looking logs of common server software, read through the real cutter:
// the stated level decides, headers end messages, times are kept.
#include "core/text/LogLayout.h"
#include "core/text/LevelWord.h"
#include "core/text/StructuredFields.h"
#include "core/text/UserLayout.h"
#include "tests/core/text/CutterFixture.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace kestrano::test {
namespace {

using Layout = LogLayout::Kind;

class LogLayoutTest : public CutterTest {
protected:
    // Feeds the lines (each ending in a line feed) in one piece.
    void read(const std::string& lines) { feed(lines); }

    std::vector<int64_t> times() const
    {
        std::vector<int64_t> result;
        for (const Message* m = cutter.getMessages().GetHead(); m; m = m->GetNext())
            result.push_back(m->getTime());
        return result;
    }
};

constexpr int32_t D = Severity::DebugInformation;
constexpr int32_t I = Severity::Information;
constexpr int32_t W = Severity::Warning;
constexpr int32_t E = Severity::Error;
constexpr int32_t F = Severity::Fatal;
constexpr int32_t U = Severity::Unknown;

// Seconds since the epoch of a date and time in UTC, or in local time.
int64_t epoch(bool inUtc, int year, int month, int day, int hour, int minute, int second)
{
    struct tm broken { };
    broken.tm_year = year - 1900;
    broken.tm_mon = month - 1;
    broken.tm_mday = day;
    broken.tm_hour = hour;
    broken.tm_min = minute;
    broken.tm_sec = second;
    broken.tm_isdst = -1;
    return static_cast<int64_t>(inUtc ? timegm(&broken) : mktime(&broken));
}

int64_t utc(int year, int month, int day, int hour, int minute, int second)
{
    return epoch(true, year, month, day, hour, minute, second);
}

int64_t local(int year, int month, int day, int hour, int minute, int second)
{
    return epoch(false, year, month, day, hour, minute, second);
}

TEST_F(LogLayoutTest, TheStatedLevelBeatsTheKeywordsInEachCommonLayout)
{
    struct Case {
        const char* name;
        std::string lines;
        std::vector<int32_t> expected;
    };
    const Case cases[] = {
        {"log4j",
            "2026-12-09 00:45:42,120 INFO [main] c.e.Service - Processed 0 errors\n"
            "2026-12-09 00:45:42,121 WARN [main] c.e.Service - Got exception while serving\n"
            "2026-12-09 00:45:42,122 DEBUG [main] c.e.Service - fatal flag unset\n",
            {I, W, D}},
        {"json",
            "{\"level\":\"info\",\"msg\":\"retrying request after error\"}\n"
            "{\"level\":50,\"time\":1765237542000,\"msg\":\"failed\"}\n"
            "{\"level\":30,\"msg\":\"crit\"}\n{\"level\":60,\"msg\":\"x\"}\n",
            {I, E, I, F}},
        {"logfmt",
            "time=2026-12-09T00:45:42Z level=info msg=\"no errors found\"\n"
            "time=2026-12-09T00:45:43Z level=warn msg=\"disk\"\n",
            {I, W}},
        {"nginx",
            "2026/12/09 00:45:46 [notice] 123#0: *1 done, 0 errors\n"
            "2026/12/09 00:45:47 [error] 123#0: *2 open() failed\n"
            "2026/12/09 00:45:48 [crit] 123#0: *3 SSL_do_handshake() failed\n",
            {I, E, F}},
        {"glog",
            "I1209 00:45:39.123456 12345 main.go:12] error count 0\n"
            "W1209 00:45:40.000001 12345 main.go:13] slow\n"
            "E1209 00:45:41.000001 12345 main.go:14] broken\n",
            {I, W, E}},
        {"rfc5424",
            "<11>1 2026-12-09T00:45:42.003Z host app 123 ID47 - all fine\n"
            "<14>1 2026-12-09T00:45:43.003Z host app 123 ID47 - error count 0\n",
            {E, I}},
        {"rfc3164",
            "<13>Dec  9 00:45:42 host app[123]: error count 0\n"
            "<12>Dec  9 00:45:43 host app[123]: careful\n",
            {I, W}},
        {"apache",
            "[Wed Dec 09 00:45:46.123456 2026] [core:error] [pid 12:tid 34] AH00124: x\n"
            "[Wed Dec 09 00:45:47.123456 2026] [mpm_event:notice] [pid 12:tid 34] error-free\n",
            {E, I}},
        {"logcat",
            "12-09 00:45:39.123  1234  5678 I ActivityManager: error count 0\n"
            "12-09 00:45:39.124  1234  5678 E AndroidRuntime: FATAL EXCEPTION: main\n"
            "12-09 00:45:39.125  1234  5678 V Choreographer: fine\n",
            {I, E, D}},
        {"spring",
            "2026-12-09T00:45:42.120+01:00  INFO 12345 --- [main] c.e.App : Started, 0 errors\n"
            "2026-12-09T00:45:42.121+01:00 ERROR 12345 --- [main] c.e.App : boom\n",
            {I, E}},
        {"python",
            "2026-12-09 00:45:42,120 - app.db - INFO - error budget fine\n"
            "2026-12-09 00:45:42,121 - app.db - CRITICAL - gone\n",
            {I, F}},
        {"python-basic", "WARNING:root:error budget low\nINFO:root:no errors\n", {W, I}},
        {"slog", "2026/12/09 00:45:46 INFO no errors n=0\n2026/12/09 00:45:47 WARN retry\n", {I, W}},
        {"generic", "app | Info | error count 0\napp | Warn | careful\napp | Error | x\n", {I, W, E}},
        {"bracketed", "12:00:01.5 <warn> error soon\n12:00:02.5 <info> fine\n", {W, I}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        cutter.clearMessages();
        cutter.forgetLayout();
        read(each.lines);
        EXPECT_EQ(severities(), each.expected);
        EXPECT_TRUE(cutter.getLayout().isRecognised());
    }
}

TEST_F(LogLayoutTest, StackTracesAndTracebacksAreOneMessageEach)
{
    read("2026-12-09 00:45:42,120 ERROR [main] c.e.Service - request failed\n"
         "java.lang.IllegalStateException: no connection\n"
         "\tat c.e.Service.run(Service.java:12)\n"
         "Caused by: java.io.IOException: reset\n"
         "\t... 3 more\n"
         "2026-12-09 00:45:43,000 INFO [main] c.e.Service - recovered\n");
    EXPECT_EQ(severities(), (std::vector<int32_t> {E, I}));
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_NE(texts()[0].find("Caused by: java.io.IOException: reset"), std::string::npos);

    cutter.clearMessages();
    cutter.forgetLayout();
    read("2026-12-09 00:45:42,120 - app - ERROR - failed\n"
         "Traceback (most recent call last):\n"
         "  File \"app.py\", line 3, in <module>\n"
         "ValueError: bad\n"
         "2026-12-09 00:45:43,120 - app - INFO - next\n");
    EXPECT_EQ(severities(), (std::vector<int32_t> {E, I}));
}

TEST_F(LogLayoutTest, WithTheStatedLevelOffTheKeywordsAloneDecideAsBefore)
{
    settings.SetStatedLevel(false);
    read("2026-12-09 00:45:42,120 INFO [main] c.e.Service - Processed 0 errors\n"
         "java.lang.IllegalStateException: no connection\n"
         "{\"level\":\"info\",\"msg\":\"retrying request after error\"}\n");
    EXPECT_EQ(severities(), (std::vector<int32_t> {E, E, E}));
}

TEST_F(LogLayoutTest, WithoutALayoutOnlyIndentedLinesContinue)
{
    read("some text\nerror here\n  indented\nplain again\n");
    EXPECT_FALSE(cutter.getLayout().isRecognised());
    EXPECT_EQ(severities(), (std::vector<int32_t> {U, E, U}));
    EXPECT_EQ(times(), (std::vector<int64_t> {0, 0, 0}));
}

TEST_F(LogLayoutTest, TimesKeepTheirOffsetsAndPrecision)
{
    read("2026-12-09T00:45:42.120+01:00 INFO a\n"
         "2026-12-09T00:45:42Z INFO b\n"
         "2026-12-09T00:45:42.123456789-0230 INFO c\n"
         "2026-12-09 00:45:42 INFO d\n");
    const std::vector<int64_t> stated = times();
    ASSERT_EQ(stated.size(), 4u);
    EXPECT_EQ(LogTime::microseconds(stated[0]), (utc(2026, 12, 8, 23, 45, 42)) * 1000000 + 120000);
    EXPECT_EQ(LogTime::digits(stated[0]), 3);
    EXPECT_EQ(LogTime::microseconds(stated[1]), utc(2026, 12, 9, 0, 45, 42) * 1000000);
    EXPECT_EQ(LogTime::digits(stated[1]), 0);
    EXPECT_EQ(LogTime::microseconds(stated[2]), utc(2026, 12, 9, 3, 15, 42) * 1000000 + 123456);
    EXPECT_EQ(LogTime::digits(stated[2]), 6);
    EXPECT_EQ(LogTime::microseconds(stated[3]), local(2026, 12, 9, 0, 45, 42) * 1000000);
}

// The cutter only measures a local date and time and reads it when a message is asked; the time is the
// one the layout reads at once, on a day the clocks change too, whatever follows the time.
TEST_F(LogLayoutTest, TimesReadWhenAskedAreTheTimesReadAtOnce)
{
    const char* saved = std::getenv("TZ");
    const std::string before = saved ? saved : "";
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    cutter.forgetLayout();
    const std::vector<std::string> lines
        = {"2026-03-29 01:59:59,999 INFO before the change", "2026-03-29 03:00:00.5 WARN after it",
            "2026-10-25 12:00:00 INFO autumn", "2026-12-09T00:45:42.123456789 INFO ns",
            "2026-12-09 00:45:42Z INFO stated offset", "2026-12-09 00:45:42.120",
            "2026-12-09 00:45:61 INFO no such second", "2026-13-09 00:45:42 INFO no such month"};
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n  continued\r\n";
    read(text);
    const std::vector<int64_t> stated = times();
    ASSERT_EQ(stated.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        LineHeader header;
        cutter.getLayout().read(lines[i].data(), static_cast<int32_t>(lines[i].size()), header);
        EXPECT_TRUE(header.present) << lines[i];
        EXPECT_EQ(stated[i], header.time) << lines[i];
    }
    EXPECT_EQ(LogTime::microseconds(stated[1]), utc(2026, 3, 29, 1, 0, 0) * 1000000 + 500000);
    EXPECT_EQ(stated[6], LogTime::None);
    if (saved)
        setenv("TZ", before.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST_F(LogLayoutTest, ADateWithoutAYearStaysInOrderAcrossNewYear)
{
    cutter.forgetLayout(local(2027, 1, 1, 0, 30, 0));
    read("Dec 31 23:59:58 host app[1]: old year\nJan  1 00:00:01 host app[1]: new year\n");
    const std::vector<int64_t> stated = times();
    ASSERT_EQ(stated.size(), 2u);
    EXPECT_EQ(LogTime::microseconds(stated[0]) / 1000000, local(2026, 12, 31, 23, 59, 58));
    EXPECT_EQ(LogTime::microseconds(stated[1]) / 1000000, local(2027, 1, 1, 0, 0, 1));
}

TEST_F(LogLayoutTest, JsonTimesAsTextOrEpochSecondsOrMilliseconds)
{
    read("{\"ts\":1765237542.5,\"level\":\"info\"}\n"
         "{\"ts\":1765237542123,\"level\":\"info\"}\n"
         "{\"ts\":\"2026-12-09T00:45:42Z\",\"level\":\"info\"}\n");
    const std::vector<int64_t> stated = times();
    ASSERT_EQ(stated.size(), 3u);
    EXPECT_EQ(LogTime::microseconds(stated[0]), 1765237542500000);
    EXPECT_EQ(LogTime::microseconds(stated[1]), 1765237542123000);
    EXPECT_EQ(LogTime::digits(stated[1]), 3);
    EXPECT_EQ(LogTime::microseconds(stated[2]), utc(2026, 12, 9, 0, 45, 42) * 1000000);
}

TEST_F(LogLayoutTest, TheJournalsPriorityDecidesWhileTheStatedLevelDoes)
{
    // The journal hands its entries in the short-iso form, whose header has no level.
    read("2026-12-09T00:45:42+0100 host app[1]: ok\n");
    EXPECT_EQ(cutter.getLayout().getKind(), Layout::Text);
    EXPECT_EQ(severityOfPriority(6), I);
    EXPECT_EQ(severityOfPriority(3), E);
    EXPECT_EQ(severityOfPriority(0), F);
}

TEST_F(LogLayoutTest, TheLayoutIsLearnedFromLinesArrivingOneByOne)
{
    for (int i = 0; i < LineCutter::SampleLines + 5; ++i)
        read("2026-12-09 00:45:" + std::to_string(10 + i) + ",000 INFO [main] x - error " + std::to_string(i)
            + "\n");
    for (int32_t severity : severities())
        EXPECT_EQ(severity, I);
    // Settled: a log that turns to other lines keeps its layout.
    read("plain line with an error\n");
    EXPECT_EQ(cutter.getMessages().GetTail()->getText(),
        std::string("2026-12-09 00:45:34,000 INFO [main] x - error 24\r\nplain line with an error"));
}

TEST_F(LogLayoutTest, AUserLayoutComesFirst)
{
    auto expression = std::make_unique<haspel::String>("(?<time>\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d) "
                                                       "@(?<level>\\w+)@ (?<message>.*)");
    settings.GetLayouts().Add(expression.get());
    expression.release();
    read("2026-12-09 00:45:42 @info@ error count 0\n2026-12-09 00:45:43 @severe@ broken\nnot a header\n");
    EXPECT_EQ(cutter.getLayout().getKind(), Layout::User);
    EXPECT_EQ(severities(), (std::vector<int32_t> {I, E}));
    EXPECT_EQ(LogTime::microseconds(times()[0]), local(2026, 12, 9, 0, 45, 42) * 1000000);
}

TEST(LevelWordTest, WordsCountWrittenAsLevelsAre)
{
    EXPECT_EQ(severityOfLevelWord("INFO", 4, LevelCase::Written), I);
    EXPECT_EQ(severityOfLevelWord("Info", 4, LevelCase::Written), I);
    EXPECT_EQ(severityOfLevelWord("info", 4, LevelCase::Written), Severity::None);
    EXPECT_EQ(severityOfLevelWord("info", 4, LevelCase::Any), I);
    EXPECT_EQ(severityOfLevelWord("E", 1, LevelCase::Written), E);
    EXPECT_EQ(severityOfLevelWord("e", 1, LevelCase::Written), Severity::None);
    EXPECT_EQ(severityOfLevelWord("FINEST", 6, LevelCase::Written), D);
    EXPECT_EQ(severityOfLevelWord("Failure", 7, LevelCase::Written), E);
    EXPECT_EQ(severityOfLevelWord("Emerg", 5, LevelCase::Written), F);
    EXPECT_EQ(severityOfLevelWord("Processed", 9, LevelCase::Written), Severity::None);
    EXPECT_EQ(severityOfLevelNumber(30), I);
    EXPECT_EQ(severityOfLevelNumber(35), Severity::None);
}

TEST(StructuredFieldsTest, JsonAndLogfmtFieldsAreReadInPlace)
{
    const std::string json = R"({"a":"x\"y", "n": 5, "o":{"k":[1,"}"]},"level":"warn"})";
    FieldReader reader(FieldReader::Syntax::Json, json.data(), static_cast<int32_t>(json.size()));
    std::vector<std::string> seen;
    for (Field field; reader.next(field);)
        seen.push_back(std::string(field.key, static_cast<size_t>(field.keyLength)) + "="
            + std::string(field.value, static_cast<size_t>(field.valueLength)));
    EXPECT_EQ(seen, (std::vector<std::string> {"a=x\\\"y", "n=5", "o={\"k\":[1,\"}\"]}", "level=warn"}));

    const std::string logfmt = R"(level=info msg="a b \" c" flag dur=5ms)";
    FieldReader fields(FieldReader::Syntax::Logfmt, logfmt.data(), static_cast<int32_t>(logfmt.size()));
    seen.clear();
    for (Field field; fields.next(field);)
        seen.push_back(std::string(field.key, static_cast<size_t>(field.keyLength)) + "="
            + std::string(field.value, static_cast<size_t>(field.valueLength)));
    EXPECT_EQ(seen, (std::vector<std::string> {"level=info", "msg=a b \\\" c", "flag=", "dur=5ms"}));
}

TEST(LogTimeTest, FormatsInLocalTimeWithMilliseconds)
{
    char text[32];
    EXPECT_EQ(LogTime::formatMilliseconds(LogTime::None, text), 1);
    EXPECT_STREQ(text, "-");
    const int64_t at = local(2026, 12, 9, 0, 45, 42);
    LogTime::formatMilliseconds(LogTime::pack(at * 1000000 + 120999, 6), text);
    EXPECT_STREQ(text, "2026-12-09T00:45:42.120");
}

// Local times on the days around a change of the clocks, in a zone that has one, read in no order.
TEST(LogTimeTest, LocalTimesTakeTheOffsetOfTheirHourOnADayTheClocksChange)
{
    const char* saved = std::getenv("TZ");
    const std::string before = saved ? saved : "";
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    LocalClock clock(utc(2026, 6, 1, 0, 0, 0));
    struct Case {
        int month, day, hour;
        int64_t expected;
    };
    const Case cases[] = {
        {3, 29, 3, utc(2026, 3, 29, 1, 0, 0)}, // summer time from 02:00 on
        {3, 28, 12, utc(2026, 3, 28, 11, 0, 0)},
        {3, 29, 1, utc(2026, 3, 29, 0, 0, 0)},
        {3, 30, 12, utc(2026, 3, 30, 10, 0, 0)},
        {3, 29, 23, utc(2026, 3, 29, 21, 0, 0)},
        {10, 25, 12, utc(2026, 10, 25, 11, 0, 0)}, // back to winter time at 03:00
        {10, 24, 12, utc(2026, 10, 24, 10, 0, 0)},
    };
    for (const Case& c : cases) {
        LocalClock::Civil civil;
        civil.year = 2026;
        civil.month = c.month;
        civil.day = c.day;
        civil.hour = c.hour;
        EXPECT_EQ(LogTime::microseconds(clock.pack(civil)), c.expected * 1000000) << c.month << "-" << c.day;
    }
    if (saved)
        setenv("TZ", before.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST(LogTimeTest, FractionsKeepTheirDigitsUpToMicroseconds)
{
    struct Case {
        const char* text;
        int32_t micro, digits, taken;
    };
    const Case cases[] = {
        {"00:45:42 x", 0, 0, 8}, {"00:45:42.1 x", 100000, 1, 10}, {"00:45:42,120 x", 120000, 3, 12},
        {"00:45:42.123456 x", 123456, 6, 15}, {"00:45:42.123456789 x", 123456, 6, 18},
        {"00:45:42.1234567891 x", 0, 0, 0}, // more than nine digits: not a time
    };
    for (const Case& c : cases) {
        LocalClock::Civil civil;
        const auto length = static_cast<int32_t>(std::strlen(c.text));
        EXPECT_EQ(readTimeText(TimeForm::TimeOfDay, c.text, c.text + length, civil), c.taken) << c.text;
        if (c.taken > 0) {
            EXPECT_EQ(civil.micro, c.micro) << c.text;
            EXPECT_EQ(civil.digits, c.digits) << c.text;
        }
    }
}

TEST(UserLayoutTest, AnExpressionWithoutItsGroupsOrThatDoesNotCompileIsNotUsed)
{
    EXPECT_FALSE(UserLayout("(unclosed").isValid());
    EXPECT_FALSE(UserLayout("\\d+ \\w+").isValid());
    EXPECT_TRUE(UserLayout("(?<level>\\w+):").isValid());
}

} // namespace
} // namespace kestrano::test
