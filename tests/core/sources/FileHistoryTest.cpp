// The history of a log file: its index and the messages read back, against the real line cutter
// cutting the whole file at once.
#include "core/sources/FileHistory.h"
#include "core/search/TextMatcher.h"
#include "core/settings/MonitorSettings.h"
#include "core/sources/RotatedSiblings.h"
#include "core/text/LineCutter.h"
#include "platform/LinuxFileSystem.h"
#include "tests/support/MadeLogs.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace kestrano::test {
namespace {

using Clock = std::chrono::steady_clock;

// A message as the model and the history give it.
struct Cut {
    std::string text;
    int32_t severity;
    bool operator==(const Cut&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Cut& cut)
{
    return out << cut.severity << ":" << cut.text;
}

class NoListener : public LineCutterListener {
    void messageAdded(Message*) override { }
    void messageContinued(Message*) override { }
};

// The messages the real cutter makes of the text given at once, as the view's would, NUL bytes dropped;
// a finished file's last line is ended.
std::vector<Cut> modelCut(const MonitorSettings& rules, std::string text, bool finished)
{
    MonitorSettings unbounded(rules);
    unbounded.SetKeepLines(INT32_MAX);
    NoListener listener;
    LineCutter cutter(unbounded, listener);
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    if (finished && !text.empty() && text.back() != '\n' && text.back() != '\r')
        text += '\n';
    cutter.appendPendingText(text.data(), static_cast<int32_t>(text.size()));
    cutter.splitPendingText();
    std::vector<Cut> cuts;
    for (const Message* m = cutter.getMessages().GetHead(); m; m = m->GetNext())
        cuts.push_back({m->getText(), m->getSeverity()});
    return cuts;
}

class FileHistoryTest : public testing::Test {
protected:
    TempDir dir;
    MonitorSettings settings;
    std::string log = dir.file("app.log");

    FileHistoryTest()
    {
        setenv("TZ", "UTC", 1);
        tzset();
    }

    // Indexes until caught up, in short slices.
    static void index(FileHistory& history)
    {
        for (int slices = 0; history.advance(Clock::now() + std::chrono::milliseconds(1)); ++slices)
            ASSERT_LT(slices, 1000000);
    }

    static std::vector<Cut> readAll(FileHistory& history)
    {
        std::vector<std::unique_ptr<Message>> messages;
        EXPECT_TRUE(history.readMessages(0, static_cast<int32_t>(history.getMessageCount()), messages))
            << history.getFailureReason() << " " << messages.size();
        std::vector<Cut> cuts;
        for (const auto& m : messages)
            cuts.push_back({m->getText(), m->getSeverity()});
        return cuts;
    }

    static std::vector<int32_t> severities(const std::vector<Cut>& cuts)
    {
        std::vector<int32_t> result;
        for (const Cut& cut : cuts)
            result.push_back(cut.severity);
        return result;
    }

    static std::vector<int32_t> severities(const FileHistory& history)
    {
        std::vector<int32_t> result;
        for (int64_t n = 0; n < history.getMessageCount(); ++n)
            result.push_back(history.getSeverity(n));
        return result;
    }
};

TEST_F(FileHistoryTest, IndexesAndReadsBackAPlainFileAsTheCutterCutsIt)
{
    settings.SetMultiLine(true);
    const std::string text = "first info line\n  continued\nan error here\n\nwarning: disk\r\nlast";
    writeFile(log, text);
    FileHistory history(log, false, systemFileSystem(), settings);
    index(history);
    // The incomplete last line waits for its end.
    const std::vector<Cut> model = modelCut(settings, text.substr(0, text.rfind('\n') + 1), false);
    ASSERT_EQ(model.size(), 3u);
    EXPECT_EQ(history.getMessageCount(), 3);
    EXPECT_EQ(severities(history), severities(model));
    EXPECT_EQ(readAll(history), model);
    EXPECT_EQ(history.getMessageNumberAt(0), 0);
    EXPECT_EQ(history.getMessageNumberAt(text.find("an error")), 1);
    EXPECT_EQ(history.getMessageNumberAt(text.find("an error") + 1), 2);
    EXPECT_EQ(history.getIndexedPosition(), text.rfind('\n') + 1);

    appendFile(log, " line\n");
    index(history);
    EXPECT_EQ(readAll(history), modelCut(settings, text + " line\n", false));
}

TEST_F(FileHistoryTest, CountsFindsAndSearchesBySeverityAndText)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += (i % 7 == 0           ? "error "
                        : i % 5 == 0  ? "warning "
                        : i % 11 == 0 ? "plain "
                                      : "info ")
            + std::to_string(i) + "\n";
    writeFile(log, text);
    FileHistory history(log, false, systemFileSystem(), settings);
    index(history);
    const std::vector<Cut> model = modelCut(settings, text, false);
    ASSERT_EQ(history.getMessageCount(), static_cast<int64_t>(model.size()));
    EXPECT_EQ(severities(history), severities(model));
    for (const SeverityFilter filter : {SeverityFilter {Severity::Error, false},
             SeverityFilter {Severity::Warning, true}, SeverityFilter {Severity::DebugInformation, false}}) {
        int64_t passing = 0;
        for (int64_t n = 0; n <= history.getMessageCount(); ++n) {
            ASSERT_EQ(history.countPassing(filter, n), passing) << n;
            if (n < history.getMessageCount() && filter.passes(model[static_cast<size_t>(n)].severity)) {
                EXPECT_EQ(history.findPassing(filter, passing), n);
                ++passing;
            }
        }
        EXPECT_EQ(history.findPassing(filter, passing), FileHistory::NoMessage);
    }

    // Find: "1" in messages passing the filter for warnings and above.
    const TextMatcher matcher(TextQuery {{"1"}, false, false});
    const SeverityFilter warnings {Severity::Warning, false};
    auto modelMatches = [&](size_t n) {
        return warnings.passes(model[n].severity) && model[n].text.find('1') != std::string::npos;
    };
    HistorySearch count(matcher, HistorySearch::Kind::Count, 0, warnings);
    while (!history.search(count, Clock::now() + std::chrono::milliseconds(1))) { }
    EXPECT_EQ(count.getResult(), std::count_if(model.begin(), model.end(), [&](const Cut& cut) {
        return modelMatches(static_cast<size_t>(&cut - model.data()));
    }));
    for (int64_t from : {int64_t {0}, int64_t {150}, history.getMessageCount()}) {
        HistorySearch back(matcher, HistorySearch::Kind::Backward, from, warnings);
        HistorySearch forth(matcher, HistorySearch::Kind::Forward, from, warnings);
        while (!history.search(back, Clock::now() + std::chrono::milliseconds(1))) { }
        while (!history.search(forth, Clock::now() + std::chrono::milliseconds(1))) { }
        int64_t before = FileHistory::NoMessage;
        for (int64_t n = from - 1; n >= 0 && before == FileHistory::NoMessage; --n)
            before = modelMatches(static_cast<size_t>(n)) ? n : before;
        int64_t after = FileHistory::NoMessage;
        for (int64_t n = from; n < history.getMessageCount() && after == FileHistory::NoMessage; ++n)
            after = modelMatches(static_cast<size_t>(n)) ? n : after;
        EXPECT_EQ(back.getResult(), before) << from;
        EXPECT_EQ(forth.getResult(), after) << from;
    }
}

TEST_F(FileHistoryTest, ListsRotatedSiblingsNewestFirst)
{
    for (const char* name : {"app.log", "app.log.1", "app.log.2.gz", "app.log.3.xz", "app.log.10.gz",
             "app.log.2", "app.log-20261208", "app.log-20261207.gz", "app.log.old", "app.log.1.bz2",
             "other.log.1", "app.log-1", "app.logx.1"})
        writeFile(dir.file(name), "x\n");
    EXPECT_EQ(listRotatedSiblings(log),
        (std::vector<std::string> {dir.file("app.log.1"), dir.file("app.log.2"), dir.file("app.log.3.xz"),
            dir.file("app.log.10.gz"), dir.file("app.log-20261208"), dir.file("app.log-20261207.gz")}));
    EXPECT_TRUE(listRotatedSiblings(dir.file("missing/app.log")).empty());
}

TEST_F(FileHistoryTest, RunsOnIntoCompressedAndPlainSiblingsOldestFirst)
{
    writeCompressed(dir.file("app.log.3.xz"), "xz", "third error\nthird info");
    writeCompressed(dir.file("app.log.2.gz"), "gzip", "second warning\n");
    writeFile(dir.file("app.log.1"), "first info\n");
    writeFile(log, "live error\nlive info\n");
    FileHistory history(log, true, systemFileSystem(), settings);
    EXPECT_EQ(history.getFiles(),
        (std::vector<std::string> {
            dir.file("app.log.3.xz"), dir.file("app.log.2.gz"), dir.file("app.log.1"), log}));
    index(history);
    EXPECT_EQ(readAll(history),
        (std::vector<Cut> {{"third error", Severity::Error}, {"third info", Severity::Information},
            {"second warning", Severity::Warning}, {"first info", Severity::Information},
            {"live error", Severity::Error}, {"live info", Severity::Information}}));
    EXPECT_EQ(history.getMessageNumberAt(0), 4);
    EXPECT_EQ(history.getMessageNumberAt(11), 5);

    std::vector<std::unique_ptr<Message>> some;
    EXPECT_TRUE(history.readMessages(1, 4, some));
    ASSERT_EQ(some.size(), 4u);
    EXPECT_STREQ(some.front()->getText(), "third info");
    EXPECT_STREQ(some.back()->getText(), "live error");

    FileHistory alone(log, false, systemFileSystem(), settings);
    index(alone);
    EXPECT_EQ(alone.getMessageCount(), 2);
}

TEST_F(FileHistoryTest, StartsOverWhenTheLogIsTruncatedOrReplaced)
{
    writeFile(log, "one error\ntwo\n");
    FileHistory history(log, false, systemFileSystem(), settings);
    index(history);
    EXPECT_EQ(history.getMessageCount(), 2);
    const uint32_t generation = history.getGeneration();

    writeFile(log, "x\n"); // truncated
    index(history);
    EXPECT_NE(history.getGeneration(), generation);
    EXPECT_EQ(readAll(history), (std::vector<Cut> {{"x", Severity::Unknown}}));

    // Rewritten to the same length and beyond.
    writeFile(log, "y\nthree warning\n");
    index(history);
    EXPECT_EQ(readAll(history),
        (std::vector<Cut> {{"y", Severity::Unknown}, {"three warning", Severity::Warning}}));

    // Replaced by another file.
    const uint32_t before = history.getGeneration();
    writeFile(dir.file("new"), "y\nthree warning\nfour\n");
    ASSERT_EQ(std::rename(dir.file("new").c_str(), log.c_str()), 0);
    index(history);
    EXPECT_NE(history.getGeneration(), before);
    EXPECT_EQ(history.getMessageCount(), 3);
}

} // namespace
} // namespace kestrano::test
