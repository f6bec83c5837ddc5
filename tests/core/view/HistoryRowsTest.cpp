// The history's rows of a view over a real file: counted, revealed, filtered and searched against
// what the file holds, while the view follows it.
#include "core/view/HistoryRows.h"
#include "core/search/TextMatcher.h"
#include "core/settings/SettingsTable.h"
#include "core/view/HistoryFind.h"
#include "tests/core/ViewFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kestrano::test {
namespace {

// Line n (from 1) of the test logs: every seventh an error, every fifth without a level word.
std::string line(int n)
{
    const char* level = n % 7 == 0 ? "ERROR" : n % 5 == 0 ? "-" : "INFO";
    return "line " + std::to_string(n) + " " + level + " step done\n";
}

std::string lines(int from, int to)
{
    std::string text;
    for (int n = from; n <= to; ++n)
        text += line(n);
    return text;
}

std::string trimmed(const std::string& text)
{
    return text.substr(0, text.size() - 1);
}

class HistoryRowsTest : public ViewTest {
protected:
    void SetUp() override
    {
        settings.SetKeepLines(100);
        settings.SetStatedLevel(false); // a line without a level word is a message of its own
        settings.SetInitiallyReadBytes(4096);
        view.offerHistory(files);
    }

    HistoryRows& history() { return *view.getHistoryRows(); }

    // Polls until the view and its history are done.
    void settle()
    {
        pollAndCatchUp();
        ASSERT_TRUE(history().isCounted());
    }

    // Every history row's text, the whole history revealed.
    std::vector<std::string> historyTexts()
    {
        history().reveal(-1);
        std::vector<std::string> texts;
        for (int64_t row = 0; row < history().getRevealedCount(); ++row) {
            const Message* message = history().revealedMessage(row);
            texts.push_back(message ? message->getText() : "<unread>");
        }
        return texts;
    }

    // The history's texts, then the kept messages'.
    std::vector<std::string> wholeTexts()
    {
        std::vector<std::string> texts = historyTexts();
        for (const std::string& text : keptTexts())
            texts.push_back(text);
        return texts;
    }

    // The texts of the kept messages, notices left out.
    std::vector<std::string> keptTexts()
    {
        std::vector<std::string> texts;
        for (Message* message = view.getMessages().GetHead(); message; message = message->GetNext())
            if (message->getNotice().id == CoreText::None)
                texts.push_back(message->getText());
        return texts;
    }

    // Compares whole lists, telling where they part first.
    static void expectSame(const std::vector<std::string>& shown, const std::vector<std::string>& wanted)
    {
        EXPECT_EQ(shown.size(), wanted.size());
        const auto parted = std::mismatch(shown.begin(), shown.end(), wanted.begin(), wanted.end());
        if (parted.first != shown.end() || parted.second != wanted.end())
            ADD_FAILURE() << "parted at " << (parted.first - shown.begin()) << ": "
                          << (parted.first != shown.end() ? *parted.first : "<end>") << " instead of "
                          << (parted.second != wanted.end() ? *parted.second : "<end>");
    }

    // What a view of the whole file would show: the lines from..to passing.
    template <class Passes> std::vector<std::string> expected(int from, int to, Passes passes)
    {
        std::vector<std::string> texts;
        for (int n = from; n <= to; ++n)
            if (passes(n))
                texts.push_back(trimmed(line(n)));
        return texts;
    }

    std::unique_ptr<TextMatcher> matcher(const std::string& pattern)
    {
        PatternError error;
        return TextMatcher::compile({{pattern}, false, false}, error);
    }
};

TEST_F(HistoryRowsTest, TheHistoryHoldsEveryMessageBeforeTheKeptOnesOnce)
{
    writeFile(path, lines(1, 5000));
    settle();
    ASSERT_TRUE(view.showsHistory());
    const std::vector<std::string> kept = keptTexts();
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(history().getEarlierCount(), history().getHistoryCount());
    EXPECT_TRUE(history().hasHeader());
    std::vector<std::string> whole = historyTexts();
    EXPECT_FALSE(history().hasHeader()); // all shown
    EXPECT_EQ(history().getRowCount(), static_cast<int32_t>(whole.size()));
    whole.insert(whole.end(), kept.begin(), kept.end());
    expectSame(whole, expected(1, 5000, [](int) { return true; }));
}

TEST_F(HistoryRowsTest, MessagesNeverMadeCountAsHistoryToo)
{
    list.rowsLater = true; // as the desktop's list: a message trimmed within its poll is not made
    writeFile(path, lines(1, 5000));
    settle();
    expectSame(wholeTexts(), expected(1, 5000, [](int) { return true; }));
}

TEST_F(HistoryRowsTest, RowsAreRevealedFromTheNewestBackAndReadInPieces)
{
    writeFile(path, lines(1, 5000));
    settle();
    const int64_t earlier = history().getEarlierCount();
    EXPECT_EQ(history().getRowCount(), 1); // the first row alone
    EXPECT_EQ(history().reveal(300), 300);
    EXPECT_EQ(history().getEarlierCount(), earlier - 300);
    EXPECT_EQ(history().getRowCount(), 301);
    const HistoryRows::Change change = history().takeChange();
    EXPECT_EQ(change.addedAtStart, 300);
    // The newest revealed row is the message just before the first kept one.
    const Message* newest = history().revealedMessage(299);
    ASSERT_NE(newest, nullptr);
    EXPECT_EQ(newest->getText(), trimmed(line(static_cast<int>(earlier))));
    EXPECT_EQ(history().revealedMessage(0)->getText(), trimmed(line(static_cast<int>(earlier) - 299)));
    // Pieces far apart are read again after others were read: the rows stay the same.
    for (int64_t row = 0; row < 300; row += 7)
        EXPECT_NE(history().revealedMessage(row), nullptr);
    EXPECT_EQ(history().revealedMessage(299)->getText(), trimmed(line(static_cast<int>(earlier))));
}

TEST_F(HistoryRowsTest, FilteredToErrorsTheHistoryShowsEveryErrorOfTheFile)
{
    writeFile(path, lines(1, 20000));
    view.toggleShowUnknown();
    view.setMinimumSeverity(Severity::Error);
    settle();
    std::vector<std::string> shown = historyTexts();
    for (const std::string& text : list.texts())
        shown.push_back(text);
    expectSame(shown, expected(1, 20000, [](int n) { return n % 7 == 0; }));
    // Every known severity: the count follows without reading.
    view.setMinimumSeverity(Severity::DebugInformation);
    settle();
    expectSame(historyTexts(), expected(1, static_cast<int>(history().getHistoryCount()), [](int n) {
        return n % 7 == 0 || n % 5 != 0;
    }));
}

TEST_F(HistoryRowsTest, ATextFilterScansTheWholeFile)
{
    writeFile(path, lines(1, 5000));
    view.setTextFilter({"3 info", false, false, false});
    pollAndCatchUp();
    EXPECT_TRUE(history().isCounted());
    EXPECT_EQ(historyTexts(), expected(1, static_cast<int>(history().getHistoryCount()), [](int n) {
        return line(n).find("3 INFO") != std::string::npos;
    }));
    // Hiding the matches instead.
    view.setTextFilter({"info", true, false, false});
    pollAndCatchUp();
    EXPECT_EQ(historyTexts(), expected(1, static_cast<int>(history().getHistoryCount()), [](int n) {
        return line(n).find("INFO") == std::string::npos;
    }));
}

TEST_F(HistoryRowsTest, KeptMessagesThatLeaveBecomeTheNewestRows)
{
    writeFile(path, lines(1, 3000));
    settle();
    historyTexts();
    history().takeChange();
    appendAndPoll(lines(3001, 3250));
    const HistoryRows::Change change = history().takeChange();
    EXPECT_EQ(change.addedAtEnd, 250);
    expectSame(wholeTexts(), expected(1, 3250, [](int) { return true; }));
}

// Concealing folds the oldest revealed rows back into the first row's count, whatever the list was
// told of yet; the rows left are the newest, and count and rows always make up the whole history.
TEST_F(HistoryRowsTest, ConcealedRowsAreCountedByTheFirstRowAgain)
{
    writeFile(path, lines(1, 5000));
    settle();
    const int64_t whole = history().getEarlierCount();
    const auto madeUp = [&] { return history().getEarlierCount() + history().getRevealedCount(); };
    history().reveal(300);
    history().takeChange();
    EXPECT_EQ(history().conceal(100), 100);
    HistoryRows::Change change = history().takeChange();
    EXPECT_EQ(change.concealed, 100);
    EXPECT_TRUE(change.header);
    EXPECT_EQ(history().getRevealedCount(), 200);
    EXPECT_EQ(madeUp(), whole);
    EXPECT_EQ(history().revealedMessage(199)->getText(), trimmed(line(static_cast<int>(whole))));
    EXPECT_EQ(history().revealedMessage(0)->getText(), trimmed(line(static_cast<int>(whole) - 199)));

    // Rows revealed since the list was told go first, then those it knows.
    history().reveal(50);
    EXPECT_EQ(history().conceal(80), 80);
    change = history().takeChange();
    EXPECT_EQ(change.addedAtStart, 0);
    EXPECT_EQ(change.concealed, 30);
    EXPECT_EQ(history().getRevealedCount(), 170);

    // Messages that left the kept ones since are the newest rows: concealing everything takes them too.
    appendAndPoll(lines(5001, 5400));
    EXPECT_EQ(history().conceal(-1), 0); // nothing for a negative count
    const int64_t revealed = history().getRevealedCount();
    EXPECT_EQ(revealed, 570);
    EXPECT_EQ(history().conceal(revealed + 5), revealed);
    change = history().takeChange();
    EXPECT_EQ(change.addedAtEnd, 0);
    EXPECT_EQ(change.concealed, 170);
    EXPECT_TRUE(history().hasHeader());
    EXPECT_EQ(madeUp(), whole + 400);
    expectSame(wholeTexts(), expected(1, 5400, [](int) { return true; }));
}

TEST_F(HistoryRowsTest, ATruncatedOrReplacedFileStartsTheHistoryOver)
{
    writeFile(path, lines(1, 3000));
    settle();
    EXPECT_GT(history().getHistoryCount(), 2000);
    writeFile(path, lines(1, 50)); // shorter: read from its start
    settle();
    EXPECT_EQ(history().getHistoryCount(), 0);
    EXPECT_FALSE(history().hasHeader());
    const std::string moved = dir.file("app.log.1");
    ASSERT_EQ(std::rename(path.c_str(), moved.c_str()), 0);
    writeFile(path, lines(1, 2000));
    settle();
    const std::vector<std::string> whole = wholeTexts();
    // The old file's lines stay kept; the new file's history is its own.
    EXPECT_EQ(std::vector<std::string>(whole.begin(), whole.begin() + 10),
        expected(1, 10, [](int) { return true; }));
}

TEST_F(HistoryRowsTest, FindGoesOnIntoTheHistoryAndCountsIt)
{
    writeFile(path, lines(1, 5000));
    settle();
    const auto first = matcher("line 1 info");
    // Back from the first kept row: the file's first line.
    HistoryFind back(list, history(), *first, {0, -1, false, false});
    while (!back.step(std::chrono::steady_clock::now() + std::chrono::milliseconds(20))) { }
    EXPECT_EQ(back.getFound().historyNumber, 0);
    EXPECT_FALSE(back.getFound().wrapped);
    // Forward past the last kept row: from the top, wrapped.
    HistoryFind forward(list, history(), *first, {list.rowCount() - 1, -1, true, false});
    while (!forward.step(std::chrono::steady_clock::now() + std::chrono::milliseconds(20))) { }
    EXPECT_EQ(forward.getFound().historyNumber, 0);
    EXPECT_TRUE(forward.getFound().wrapped);
    // Forward from a history row on to the kept rows.
    const auto last = matcher(trimmed(line(5000)));
    HistoryFind on(list, history(), *last, {-1, 0, true, false});
    while (!on.step(std::chrono::steady_clock::now() + std::chrono::milliseconds(20))) { }
    EXPECT_EQ(on.getFound().historyNumber, -1);
    EXPECT_EQ(on.getFound().kept.row, list.rowCount() - 1);
    // The count over the history.
    const auto errors = matcher("error");
    HistoryRows::Search count = history().countAll();
    while (!history().findStep(
        count, *errors, std::chrono::steady_clock::now() + std::chrono::milliseconds(20))) { }
    EXPECT_EQ(count.count, history().getHistoryCount() / 7);
    // Revealed down to a match: its row.
    const int64_t row = history().revealDownTo(10);
    ASSERT_GE(row, 0);
    EXPECT_EQ(history().revealedMessage(row)->getText(), trimmed(line(11)));
}

TEST_F(HistoryRowsTest, TheSwitchIsStoredAndTheSizeChoosesItsDefault)
{
    writeFile(path, lines(1, 3000));
    settle();
    EXPECT_TRUE(view.showsHistory());
    view.toggleHistory();
    EXPECT_FALSE(view.showsHistory());
    EXPECT_EQ(history().getRowCount(), 0);
    EXPECT_EQ(loadLogEntry(workspace()).switches.history, 0);
    view.toggleRotatedHistory();
    EXPECT_TRUE(loadLogEntry(workspace()).switches.historyRotated);
    view.toggleHistory();
    EXPECT_TRUE(view.showsHistory());
    EXPECT_EQ(loadLogEntry(workspace()).switches.history, 1);

    // By default a file beyond the Options' size shows none.
    LogSwitches chosen = view.getSwitches();
    chosen.history = -1;
    view.setSwitches(chosen);
    settings.SetHistoryUpTo(0);
    view.refreshLog();
    pollAndCatchUp();
    EXPECT_FALSE(view.showsHistory());
    settings.SetHistoryUpTo(1);
    view.refreshLog();
    pollAndCatchUp();
    EXPECT_TRUE(view.showsHistory());
}

TEST_F(HistoryRowsTest, OnlyPlainFilesOfferAHistory)
{
    EXPECT_TRUE(view.offersHistory());
    for (const std::string& name : {std::string("journal:"), std::string("-"), dir.file("app.log.gz"),
             std::string("ssh://host/var/log/app.log")}) {
        Document other(name.c_str(), files, boxes);
        RecordingList otherList;
        ChildView otherView(
            other, ViewContext {settings, config.GetRoot(), notifier, details}, otherList, frame);
        otherView.offerHistory(files);
        EXPECT_FALSE(otherView.offersHistory()) << name;
    }
}

} // namespace
} // namespace kestrano::test
