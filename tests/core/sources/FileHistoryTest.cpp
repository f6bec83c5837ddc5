// The history of a log file: its index and the messages read back, against the real line cutter
// cutting the whole file at once.
#include "core/sources/FileHistory.h"
#include "core/search/TextMatcher.h"
#include "core/settings/MonitorSettings.h"
#include "core/sources/KeptStart.h"
#include "core/sources/RotatedSiblings.h"
#include "core/text/LineCutter.h"
#include "platform/LinuxFileSystem.h"
#include "tests/platform/FailingFileSystem.h"
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

// A random log: stamped lines stating levels, lines with and without keywords, indented and unstamped
// continuations, blank lines, CR LF, NUL bytes and text beyond ASCII.
std::string randomLog(std::mt19937& random, int lines, bool stamped)
{
    static const char* const words[] = {"error", "Warning", "info", "debug", "FATAL", "plain", "Fehler ü",
        "ÉRROR", "warn", "disk", "information"};
    static const char* const levels[] = {"INFO", "WARN", "ERROR", "DEBUG", "info", "[error]"};
    std::string text;
    for (int i = 0; i < lines; ++i) {
        const unsigned kind = random() % 20;
        std::string line;
        if (kind == 0) {
            line = "";
        } else if (kind <= 2) {
            line = std::string(random() % 2 ? "  " : "\t") + "at frame " + std::to_string(i);
        } else if (kind == 3) {
            line = std::string("continued ") + words[random() % std::size(words)];
        } else if (stamped && kind < 15) {
            line = "2026-12-08 10:" + std::to_string(10 + random() % 50) + ":00.123 "
                + levels[random() % std::size(levels)] + " " + words[random() % std::size(words)] + " "
                + std::to_string(i);
        } else {
            line = std::string(words[random() % std::size(words)]) + " happened " + std::to_string(i);
        }
        if (random() % 50 == 0)
            line.insert(line.size() / 2, std::string(1, '\0'));
        if (random() % 200 == 0)
            line = std::string(1, '\0') + "  nul before spaces";
        text += line + (random() % 10 == 0 ? "\r\n" : "\n");
    }
    return text;
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

TEST_F(FileHistoryTest, JudgesLinesLongerThanABlockAsTheCutterDoes)
{
    settings.SetMultiLine(true);
    const std::string longLine(700 * 1024, 'x');
    const std::string text = "start info\n" + longLine + " error at the end\n  " + longLine + " fatal\nnext\n"
        + longLine + "\nlast warning\n";
    writeFile(log, text);
    FileHistory history(log, false, systemFileSystem(), settings);
    index(history);
    const std::vector<Cut> model = modelCut(settings, text, false);
    EXPECT_EQ(severities(history), severities(model));
    EXPECT_EQ(history.getMessageNumberAt(text.find("next")), 2);
    EXPECT_EQ(history.getMessageNumberAt(text.find("last warning")), 4);
    std::vector<std::unique_ptr<Message>> messages;
    ASSERT_TRUE(history.readMessages(3, 2, messages));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1]->getText(), std::string("last warning"));
}

class RandomFileHistoryTest : public FileHistoryTest {
protected:
    std::mt19937 random {20261209};

    // Checks the history's index and messages against the model of the files' texts (the log last).
    void expectModel(FileHistory& history, const std::vector<std::string>& texts)
    {
        std::vector<Cut> model;
        for (size_t i = 0; i < texts.size(); ++i) {
            const bool isLog = i + 1 == texts.size();
            const std::string& text = texts[i];
            const std::vector<Cut> cuts
                = modelCut(settings, isLog ? text.substr(0, text.find_last_of("\r\n") + 1) : text, !isLog);
            model.insert(model.end(), cuts.begin(), cuts.end());
        }
        ASSERT_EQ(history.getMessageCount(), static_cast<int64_t>(model.size()));
        EXPECT_EQ(severities(history), severities(model));
        for (int round = 0; round < 8; ++round) {
            const int64_t first = static_cast<int64_t>(random() % model.size());
            const auto count = static_cast<int32_t>(1 + random() % 5000);
            std::vector<std::unique_ptr<Message>> messages;
            ASSERT_TRUE(history.readMessages(first, count, messages));
            const size_t end
                = std::min(model.size(), static_cast<size_t>(first) + static_cast<size_t>(count));
            ASSERT_EQ(messages.size(), end - static_cast<size_t>(first));
            for (size_t i = 0; i < messages.size(); ++i)
                ASSERT_EQ((Cut {messages[i]->getText(), messages[i]->getSeverity()}), model[first + i])
                    << "message " << first + i;
        }
        // The number of the messages before a line of the log (whose layout the prefix recognises too).
        const std::string& log = texts.back();
        const int64_t before = history.getMessageCount()
            - static_cast<int64_t>(
                modelCut(settings, log.substr(0, log.find_last_of("\r\n") + 1), false).size());
        for (int round = 0; round < 6 && log.size() > 400000; ++round) {
            size_t offset = log.find('\n', 200000 + random() % (log.size() - 200000));
            if (offset == std::string::npos)
                continue;
            ++offset;
            EXPECT_EQ(history.getMessageNumberAt(offset),
                before + static_cast<int64_t>(modelCut(settings, log.substr(0, offset), false).size()))
                << offset;
        }
    }

    // Runs one slice of indexing: a block at most.
    static void step(FileHistory& history) { history.advance(Clock::now()); }
};

TEST_F(RandomFileHistoryTest, IndexMatchesTheCutterForEveryRuleCombination)
{
    for (const bool stamped : {true, false}) {
        for (const int rules : {0, 1, 2, 3}) {
            SCOPED_TRACE(testing::Message() << "stamped " << stamped << " rules " << rules);
            settings.SetMultiLine(rules & 1);
            settings.SetStatedLevel(rules & 2);
            const std::string text = randomLog(random, 60000, stamped);
            writeFile(log, text);
            FileHistory history(log, false, systemFileSystem(), settings);
            index(history);
            expectModel(history, {text});
        }
    }
}

TEST_F(RandomFileHistoryTest, FollowsAppendsDuringAndAfterIndexing)
{
    settings.SetMultiLine(true);
    settings.SetStatedLevel(true);
    std::string text = randomLog(random, 40000, true) + "an incomplete line";
    writeFile(log, text);
    FileHistory history(log, false, systemFileSystem(), settings);
    const uint32_t generation = history.getGeneration();
    step(history);
    for (int i = 0; i < 5; ++i) {
        const std::string more = (i == 0 ? " completed\n" : "") + randomLog(random, 3000, true);
        appendFile(log, more);
        text += more;
        step(history);
    }
    index(history);
    expectModel(history, {text});
    // A continuation appended after it was indexed joins the last message; new lines count.
    appendFile(log, "  more of the last\nerror after\n");
    text += "  more of the last\nerror after\n";
    index(history);
    expectModel(history, {text});
    EXPECT_EQ(history.getGeneration(), generation);
}

TEST_F(RandomFileHistoryTest, GoesOnAfterAFailedReadAndWaitsForAMissingLog)
{
    settings.SetMultiLine(true);
    FailingFileSystem files;
    FileHistory history(log, false, files, settings);
    EXPECT_FALSE(history.advance(Clock::now() + std::chrono::seconds(1)));
    EXPECT_EQ(history.getMessageCount(), 0);
    EXPECT_NE(history.getFailureReason().find(log), std::string::npos);

    const std::string text = randomLog(random, 40000, true);
    writeFile(log, text);
    step(history);
    step(history);
    files.failRead = true;
    EXPECT_FALSE(history.advance(Clock::now() + std::chrono::seconds(1)));
    std::vector<std::unique_ptr<Message>> messages;
    EXPECT_FALSE(history.readMessages(0, 10, messages));
    files.failRead = false;
    const uint32_t generation = history.getGeneration();
    index(history);
    EXPECT_EQ(history.getGeneration(), generation);
    expectModel(history, {text});
}

TEST_F(RandomFileHistoryTest, StartsOverWhenTheLogChangesMidBuild)
{
    settings.SetMultiLine(true);
    for (const char* change : {"truncated", "rewritten", "replaced"}) {
        SCOPED_TRACE(change);
        writeFile(log, randomLog(random, 40000, true));
        FileHistory history(log, false, systemFileSystem(), settings);
        step(history);
        const uint32_t generation = history.getGeneration();
        const std::string text = randomLog(random, std::string(change) == "truncated" ? 5000 : 45000, true);
        if (std::string(change) == "replaced") {
            writeFile(dir.file("other"), text);
            ASSERT_EQ(std::rename(dir.file("other").c_str(), log.c_str()), 0);
        } else {
            writeFile(log, text);
        }
        // Once indexed, a change shows at the next advance.
        index(history);
        index(history);
        EXPECT_NE(history.getGeneration(), generation);
        expectModel(history, {text});
    }
}

TEST_F(RandomFileHistoryTest, FollowsARotationIntoTheSiblings)
{
    settings.SetMultiLine(true);
    const std::string older = randomLog(random, 30000, true);
    writeCompressed(dir.file("app.log.2.gz"), "gzip", older);
    const std::string first = randomLog(random, 30000, false);
    writeFile(log, first);
    FileHistory history(log, true, systemFileSystem(), settings);
    step(history);
    step(history);
    // Rotated mid-build: the log becomes app.log.1 and a new one begins.
    ASSERT_EQ(std::rename(log.c_str(), dir.file("app.log.1").c_str()), 0);
    const std::string second = randomLog(random, 30000, true);
    writeFile(log, second);
    index(history);
    index(history);
    EXPECT_EQ(history.getFiles(),
        (std::vector<std::string> {dir.file("app.log.2.gz"), dir.file("app.log.1"), log}));
    expectModel(history, {older, first, second});
}

TEST_F(RandomFileHistoryTest, FindsForwardBackwardAndCountsAsTheModel)
{
    settings.SetMultiLine(true);
    const std::string older = randomLog(random, 20000, true);
    writeCompressed(dir.file("app.log.1.xz"), "xz", older);
    std::string text = randomLog(random, 25000, true);
    // A rare word, found only in a few blocks.
    for (const size_t at : {size_t {1000}, text.size() / 2, text.size() - 3000})
        text.insert(text.find('\n', at) + 1, "the Needle is here\n  and NEEDLE continues\n");
    writeFile(log, text);
    FileHistory history(log, true, systemFileSystem(), settings);
    index(history);
    std::vector<Cut> model = modelCut(settings, older, true);
    const std::vector<Cut> logModel = modelCut(settings, text, false);
    model.insert(model.end(), logModel.begin(), logModel.end());
    ASSERT_EQ(history.getMessageCount(), static_cast<int64_t>(model.size()));

    const TextQuery queries[] = {TextQuery {{"needle"}, false, false}, TextQuery {{"Needle"}, false, true},
        TextQuery {{"frame 1"}, false, false}, TextQuery {{"ne+dle|ü"}, true, false},
        TextQuery {{"zzz-nowhere"}, false, false}};
    const TextMatcher errors(TextQuery {{"error"}, false, false});
    for (const TextQuery& query : queries) {
        SCOPED_TRACE(query.patterns[0]);
        const TextMatcher matcher(query);
        for (const SeverityFilter filter : {SeverityFilter {}, SeverityFilter {Severity::Warning, false}}) {
            for (const bool hides : {false, true}) {
                const TextMatcher* textFilter = filter.minimum == Severity::Warning ? &errors : nullptr;
                if (!textFilter && hides)
                    continue;
                auto modelMatches = [&](int64_t n) {
                    const Cut& cut = model[static_cast<size_t>(n)];
                    return filter.passes(cut.severity)
                        && (!textFilter
                            || textFilter->matches(cut.text.data(), static_cast<int32_t>(cut.text.size()))
                                != hides)
                        && matcher.matches(cut.text.data(), static_cast<int32_t>(cut.text.size()));
                };
                auto run = [&](HistorySearch::Kind kind, int64_t from) {
                    HistorySearch search(matcher, kind, from, filter, textFilter, hides);
                    int slices = 0;
                    while (!history.search(search, Clock::now()))
                        ++slices;
                    EXPECT_LT(slices, 100000);
                    return search.getResult();
                };
                int64_t count = 0;
                for (int64_t n = 0; n < history.getMessageCount(); ++n)
                    count += modelMatches(n);
                EXPECT_EQ(run(HistorySearch::Kind::Count, 0), count);
                for (int round = 0; round < 3; ++round) {
                    const int64_t from = static_cast<int64_t>(random() % (model.size() + 1));
                    int64_t before = FileHistory::NoMessage;
                    for (int64_t n = from - 1; n >= 0 && before == FileHistory::NoMessage; --n)
                        before = modelMatches(n) ? n : before;
                    int64_t after = FileHistory::NoMessage;
                    for (int64_t n = from; n < history.getMessageCount() && after == FileHistory::NoMessage;
                         ++n)
                        after = modelMatches(n) ? n : after;
                    EXPECT_EQ(run(HistorySearch::Kind::Backward, from), before) << from;
                    EXPECT_EQ(run(HistorySearch::Kind::Forward, from), after) << from;
                }
            }
        }
    }
}

// Searching back through a compressed sibling opens it once, not once for each block (and once for each
// block holding a match, to recognise its layout).
TEST_F(RandomFileHistoryTest, SearchesBackThroughACompressedFileInOnePass)
{
    // Without NUL bytes, which any block may hold a needle across.
    std::string older = "the needle at the start\n";
    for (int i = 0; i < 60000; ++i)
        older += "2026-12-08 10:11:00.123 " + std::string(i % 9 ? "INFO" : "ERROR") + " step "
            + std::to_string(i) + "\n";
    older.insert(older.find('\n', older.size() / 2) + 1, "a needle in the middle\n");
    writeCompressed(dir.file("app.log.1.gz"), "gzip", older);
    writeFile(log, randomLog(random, 100, true));
    FailingFileSystem files;
    FileHistory history(log, true, files, settings);
    index(history);
    ASSERT_GT(history.getMessageCount(), 8 * 4096);
    const TextMatcher matcher(TextQuery {{"needle"}, false, false});
    const std::vector<Cut> model = modelCut(settings, older, true);
    std::vector<int64_t> matches;
    for (size_t n = 0; n < model.size(); ++n)
        if (model[n].text.find("needle") != std::string::npos)
            matches.push_back(static_cast<int64_t>(n));
    ASSERT_EQ(matches.size(), 2u);
    for (const int64_t from : {history.getMessageCount(), matches[1], int64_t {1}}) {
        files.opens = 0;
        HistorySearch back(matcher, HistorySearch::Kind::Backward, from);
        while (!history.search(back, Clock::now() + std::chrono::milliseconds(1))) { }
        EXPECT_EQ(back.getResult(), from > matches[1] ? matches[1] : matches[0]) << from;
        EXPECT_LT(files.opens, 8) << from;
    }
}

// The messages starting before any byte of the log, a line cut before its header or level word
// included, as the model counts them: those of the text up to the end of the line the byte is in.
TEST_F(RandomFileHistoryTest, CountsTheMessagesBeforeAnyByteAsTheModel)
{
    settings.SetMultiLine(true);
    for (const bool stamped : {true, false}) {
        SCOPED_TRACE(testing::Message() << "stamped " << stamped);
        std::string text = randomLog(random, 30000, stamped);
        // A line longer than a block, then one a byte cuts in its stamp.
        text += "2026-12-08 10:11:00.123 INFO " + std::string(300 * 1024, 'y') + " error\n";
        const size_t stamp = text.size();
        text += "2026-12-08 10:11:00.123 ERROR stamped\n  continued\nplain last\n";
        writeFile(log, text);
        FileHistory history(log, false, systemFileSystem(), settings);
        index(history);
        std::vector<size_t> offsets {stamp, stamp + 3, stamp + 24, text.size() - 4, text.size(), stamp - 100};
        for (int round = 0; round < 40; ++round)
            offsets.push_back(200000 + random() % (text.size() - 200000));
        for (const size_t offset : offsets) {
            const size_t lineEnd
                = offset == 0 || text[offset - 1] == '\n' ? offset : text.find('\n', offset) + 1;
            EXPECT_EQ(history.getMessageNumberAt(offset),
                static_cast<int64_t>(modelCut(settings, text.substr(0, lineEnd), false).size()))
                << offset;
        }
        EXPECT_EQ(history.getMessageNumberAt(stamp + 3), history.getMessageNumberAt(stamp) + 1);
    }
}

// Where the kept messages began is found again after the log was renamed and then compressed, and
// counted in that file; a file rewritten under the same identity is not taken for it.
TEST_F(FileHistoryTest, FindsTheKeptStartInTheRotatedFiles)
{
    std::string first;
    for (int i = 0; i < 20000; ++i)
        first += "2026-12-08 10:11:00.123 " + std::string(i % 3 ? "INFO" : "ERROR") + " first "
            + std::to_string(i) + "\n";
    writeFile(log, first);
    KeptStart kept;
    kept.offset = first.rfind('\n', first.find("first 15000")) + 1;
    kept.identify(systemFileSystem(), log);
    EXPECT_TRUE(kept.head.empty());
    kept.note(systemFileSystem(), log);
    EXPECT_TRUE(kept.isHeadComplete());

    const std::string moved = dir.file("app.log.1");
    ASSERT_EQ(std::rename(log.c_str(), moved.c_str()), 0);
    writeFile(log, "2026-12-08 11:00:00.000 INFO second 0\n");
    FileHistory history(log, true, systemFileSystem(), settings);
    index(history);
    ASSERT_EQ(history.findFile(kept), 0);
    EXPECT_TRUE(history.hasIndexed(0, first.size()));
    EXPECT_EQ(history.getMessageNumberAt(0, kept.offset), 15000);
    EXPECT_EQ(history.getMessageNumberAt(0, kept.offset + 1), 15001);

    // Compressed after the rotation: the history starts over and knows it by its first bytes.
    writeCompressed(dir.file("app.log.1.gz"), "gzip", first);
    ASSERT_EQ(std::remove(moved.c_str()), 0);
    const uint32_t generation = history.getGeneration();
    index(history);
    index(history);
    EXPECT_NE(history.getGeneration(), generation);
    ASSERT_EQ(history.getFiles().front(), dir.file("app.log.1.gz"));
    ASSERT_EQ(history.findFile(kept), 0);
    EXPECT_EQ(history.getMessageNumberAt(0, kept.offset), 15000);
    EXPECT_EQ(history.getMessageNumberAt(1, 0), 20000);
    EXPECT_EQ(history.getMessageNumberAt(0, first.size()), 20000);

    // The same identity with other first bytes is another file.
    KeptStart inLog;
    inLog.note(systemFileSystem(), log);
    EXPECT_EQ(history.findFile(inLog), 1);
    writeFile(log, "2026-12-08 12:00:00.000 INFO third 0\n");
    EXPECT_EQ(history.findFile(inLog), -1);
}

} // namespace
} // namespace kestrano::test
