// The file's history in a real log window: the first row counting earlier messages, scrolling into the
// history and back, a window filtered to errors, find reaching the file's first line, View > History
// stored and restored, and the index dropped with its window.
#include "config/Config.h"
#include "core/view/ChildView.h"
#include "core/view/HistoryRows.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/widgets/FindBar.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>
#include <QTest>

#include <filesystem>

#include <string>
#include <vector>

namespace kestrano::test {
namespace {

// Line n (from 1): every seventh an error.
std::string line(int n)
{
    return "line " + std::to_string(n) + (n % 7 == 0 ? " ERROR payment failed" : " INFO order shipped");
}

std::string lines(int count)
{
    std::string text;
    text.reserve(static_cast<size_t>(count) * 32);
    for (int n = 1; n <= count; ++n)
        text += line(n) + '\n';
    return text;
}

class HistoryTest : public ShellTest {
protected:
    ChildFrame& startWith(int count)
    {
        path = log("app.log", lines(count));
        start({path});
        ChildFrame* child = app->GetDocTemplate().findFrame(path.c_str());
        EXPECT_NE(child, nullptr);
        return *child;
    }
    // Waits until the history is counted and its first row shown.
    static bool counted(ChildFrame& child)
    {
        return QTest::qWaitFor(
            [&] {
                const HistoryRows* history = child.view().getHistoryRows();
                return history && history->isCounted() && !child.view().hasMoreToRead()
                    && child.list().model().historyRowCount() > 0;
            },
            60000);
    }
    static std::string rowText(ChildFrame& child, int row)
    {
        const LogListModel& model = child.list().model();
        return model.data(model.index(row), Qt::DisplayRole).toString().toStdString();
    }
    static std::string currentText(ChildFrame& child)
    {
        return rowText(child, child.list().currentIndex().row());
    }
    std::string path;
};

TEST_F(HistoryTest, TheFirstRowCountsTheEarlierMessagesAndScrollingThereRevealsThem)
{
    ChildFrame& child = startWith(20000);
    ASSERT_TRUE(counted(child));
    LogList& list = child.list();
    LogListModel& model = list.model();
    const HistoryRows& history = *child.view().getHistoryRows();
    EXPECT_TRUE(QTest::qWaitFor([&] { return history.getEarlierCount() + list.rowCount() == 20000; }, 10000))
        << history.getEarlierCount() << " + " << list.rowCount() << ", " << rowText(child, 1)
        << " first kept";
    const int64_t earlier = history.getEarlierCount();
    EXPECT_EQ(rowText(child, 0),
        QLocale().toString(static_cast<qlonglong>(earlier)).toStdString() + " earlier messages in the file");
    // Grouped as the locale groups digits.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string grouped
        = std::to_string(earlier / 1000) + "." + std::to_string(earlier % 1000 + 1000).substr(1);
    EXPECT_EQ(rowText(child, 0).rfind(grouped + " ", 0), 0u) << rowText(child, 0);
    QLocale::setDefault(before);
    EXPECT_TRUE(model.isEarlierRow(0));

    // Up to the first row: earlier messages come in above, the rows looked at stay in place.
    const std::string firstKept = rowText(child, model.historyRowCount());
    list.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum); // as dragging it would
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.historyRowCount() > 1; }, 10000));
    EXPECT_FALSE(child.view().getFollow());
    const int32_t revealed = model.historyRowCount() - 1;
    EXPECT_GE(revealed, LogList::RevealedRows);
    EXPECT_EQ(rowText(child, model.historyRowCount()), firstKept);
    EXPECT_EQ(rowText(child, model.historyRowCount() - 1), line(static_cast<int>(earlier)));
    EXPECT_GT(list.indexAt(QPoint(1, 1)).row(), 0); // the first row went out of view
    // Page Up at the top reveals more.
    list.setFocus();
    for (int i = 0; i < 200 && model.historyRowCount() - 1 == revealed; ++i)
        QTest::keyClick(&list, Qt::Key_PageUp);
    EXPECT_TRUE(QTest::qWaitFor([&] { return model.historyRowCount() - 1 > revealed; }, 10000));

    // Ctrl+Home: the file's first line; Ctrl+End: back to the newest, following again.
    QTest::keyClick(&list, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_FALSE(model.isEarlierRow(0));
    EXPECT_EQ(currentText(child), line(1));
    QTest::keyClick(&list, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(currentText(child), line(20000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return child.view().getFollow(); }, 10000));
}

// Rows far above the view are concealed again: the rows looked at and the selected one stay in place,
// following conceals them all, and the first row's count and the revealed rows make up the history.
TEST_F(HistoryTest, RevealedRowsFarAboveTheViewAreConcealedAgain)
{
    ChildFrame& child = startWith(20000);
    ASSERT_TRUE(counted(child));
    LogList& list = child.list();
    LogListModel& model = list.model();
    const HistoryRows& history = *child.view().getHistoryRows();
    const int64_t whole = history.getHistoryCount();
    const auto madeUp = [&] { return history.getEarlierCount() + history.getRevealedCount() == whole; };
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Home, Qt::ControlModifier); // every row revealed
    ASSERT_FALSE(model.isEarlierRow(0));
    EXPECT_FALSE(child.view().getFollow());

    // A row in the middle selected and scrolled to the top: the rows far above it go.
    const int32_t middle = 10000;
    list.setCurrentIndex(model.index(middle));
    list.scrollTo(model.index(middle), QAbstractItemView::PositionAtTop);
    const std::string selected = currentText(child);
    const std::string top = rowText(child, list.indexAt(QPoint(1, 1)).row());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.isEarlierRow(0); }, 10000));
    EXPECT_EQ(currentText(child), selected);
    EXPECT_TRUE(list.selectionModel()->isSelected(list.currentIndex()));
    EXPECT_EQ(rowText(child, list.indexAt(QPoint(1, 1)).row()), top);
    EXPECT_LT(list.currentIndex().row(), middle);
    EXPECT_GE(list.currentIndex().row(), 1 + LogList::NearRows);
    EXPECT_EQ(model.historyRowCount(), 1 + history.getRevealedCount());
    EXPECT_TRUE(madeUp());

    // Back at the end, following: all of them go.
    QTest::keyClick(&list, Qt::Key_End, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.historyRowCount() == 1; }, 10000))
        << model.historyRowCount();
    EXPECT_TRUE(child.view().getFollow());
    EXPECT_TRUE(madeUp());
    EXPECT_EQ(rowText(child, model.rowCount() - 1), line(20000));
}

// Filtered to errors the kept rows fit the view and the history's rows are near it; under a long
// append, those that scroll far away are concealed while the newest stay rows.
TEST_F(HistoryTest, UnderALongAppendTheFollowedRowsStayBounded)
{
    ChildFrame& child = startWith(20000);
    app->GetMainFrame()->dispatch(Command::SetToErrors, &child);
    ASSERT_TRUE(counted(child));
    LogList& list = child.list();
    LogListModel& model = list.model();
    const HistoryRows& history = *child.view().getHistoryRows();
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_FALSE(child.view().getFollow());
    ASSERT_FALSE(model.isEarlierRow(0));
    QTest::keyClick(&list, Qt::Key_End, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return child.view().getFollow(); }, 10000));

    int32_t most = 0;
    for (int from = 20001; from <= 120000; from += 10000) {
        std::string text;
        for (int n = from; n < from + 10000; ++n)
            text += line(n) + '\n';
        appendFile(path, text);
        const int newest = from + 9999 - (from + 9999) % 7;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return history.isCounted() && !child.view().hasMoreToRead()
                    && rowText(child, model.rowCount() - 1) == line(newest);
            },
            60000))
            << rowText(child, model.rowCount() - 1);
        QTest::qWait(10); // the far rows are concealed once the event loop ran
        most = std::max(most, model.rowCount());
        // The history's errors: the first row's count and the revealed rows.
        EXPECT_EQ(history.getEarlierCount() + history.getRevealedCount(), history.getHistoryCount() / 7);
        EXPECT_EQ(model.historyRowCount(), (model.isEarlierRow(0) ? 1 : 0) + history.getRevealedCount());
    }
    EXPECT_TRUE(child.view().getFollow());
    // The kept errors, the first row and the rows near the view; not the 14,000 errors appended.
    EXPECT_LT(most, list.rowCount() + 1 + 2 * LogList::NearRows) << most;
}

TEST_F(HistoryTest, AWindowFilteredToErrorsShowsEveryErrorOfTheFile)
{
    ChildFrame& child = startWith(200000);
    app->GetMainFrame()->dispatch(Command::SetToErrors, &child);
    ASSERT_TRUE(counted(child));
    LogList& list = child.list();
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Home, Qt::ControlModifier);
    QCoreApplication::processEvents();
    const LogListModel& model = list.model();
    ASSERT_EQ(model.rowCount(), 200000 / 7);
    for (int row = 0; row < model.rowCount(); row += 997)
        EXPECT_EQ(rowText(child, row), line(7 * (row + 1))) << row;
    EXPECT_EQ(rowText(child, 0), line(7));
    EXPECT_EQ(rowText(child, model.rowCount() - 1), line(199997));
}

TEST_F(HistoryTest, FindReachesTheFirstLineAndCountsTheWholeFile)
{
    ChildFrame& child = startWith(20000);
    ASSERT_TRUE(counted(child));
    app->GetMainFrame()->dispatch(Command::Find, &child);
    FindBar& finder = *child.findChild<FindBar*>();
    finder.patternField().setText(QStringLiteral("line 1 info"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return currentText(child) == line(1); }, 30000));
    // Every line of a kind, counted over the whole file.
    finder.patternField().setText(QStringLiteral("ERROR"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return currentText(child) == line(7); }, 30000)) << currentText(child);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return finder.countLabel().text() == QStringLiteral("2857 matches"); }, 30000))
        << finder.countLabel().text().toStdString();
    // Back from the file's first match: around to the newest, a kept row, counted among the whole file's.
    finder.findPrevious();
    EXPECT_TRUE(QTest::qWaitFor([&] { return currentText(child) == line(19999); }, 30000))
        << currentText(child);
    EXPECT_EQ(finder.noteLabel().text().toStdString(), "Passed the top, continued from the end");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return finder.countLabel().text() == QStringLiteral("2857 of 2857"); }, 30000))
        << finder.countLabel().text().toStdString();
    // On from there: the history's first match again.
    finder.findNext();
    EXPECT_TRUE(QTest::qWaitFor([&] { return currentText(child) == line(7); }, 30000)) << currentText(child);
    EXPECT_EQ(finder.noteLabel().text().toStdString(), "Passed the end, continued from the top");
}

TEST_F(HistoryTest, TheSwitchIsStoredAndRestored)
{
    ChildFrame& child = startWith(5000);
    ASSERT_TRUE(counted(child));
    MainFrame& frame = *app->GetMainFrame();
    EXPECT_TRUE(frame.action(Command::ToggleHistory)->isEnabled());
    frame.dispatch(Command::ToggleHistory, &child);
    EXPECT_FALSE(child.view().showsHistory());
    EXPECT_EQ(child.list().model().historyRowCount(), 0);
    frame.dispatch(Command::ToggleRotatedHistory, &child); // off with the history: not handled
    exit();
    EXPECT_EQ(stored(savedConfiguration()->GetRoot(), {"Workspace", path.c_str()}, "History"), "0");
    EXPECT_EQ(stored(savedConfiguration()->GetRoot(), {"Workspace", path.c_str()}, "HistoryRotated"), "0");

    start();
    ChildFrame* again = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(again, nullptr);
    QTest::qWait(100);
    EXPECT_FALSE(again->view().showsHistory());
    app->GetMainFrame()->dispatch(Command::ToggleHistory, again);
    EXPECT_TRUE(counted(*again));
}

// The descriptors this process holds open on the file.
int descriptorsOn(const std::string& path)
{
    int open = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == path)
            ++open;
    }
    return open;
}

TEST_F(HistoryTest, ClosingTheWindowStopsIndexing)
{
    ChildFrame& child = startWith(400000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return child.view().showsHistory(); }, 10000));
    child.close();
    QCoreApplication::processEvents();
    ASSERT_EQ(app->GetDocTemplate().findFrame(path.c_str()), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return descriptorsOn(path) == 0; }, 10000)); // deleted once events ran
    const size_t runs = files.read.size();
    QTest::qWait(300);
    EXPECT_EQ(files.read.size(), runs);
}

} // namespace
} // namespace kestrano::test
