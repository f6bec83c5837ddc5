// The main window's timer: one pass over every open log in the order of opening, and the notifications.
#include "core/text/Message.h"
#include "core/view/ChildView.h"
#include "core/view/PollScheduler.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/platform/KernelWatches.h"
#include "tests/shell/MessageBoxAnswerer.h"
#include "tests/shell/ShellFixture.h"

#include <QApplication>
#include <QMdiArea>
#include <QTest>

#include <filesystem>
#include <new>

namespace kestrano::test {
namespace {

class PollingTest : public ShellTest {
protected:
    // Opens c.log, a.log and b.log, in that order, and appends a line to each.
    std::vector<std::string> threeGrownLogs()
    {
        const std::vector<std::string> paths
            = {log("c.log", "c\n"), log("a.log", "a\n"), log("b.log", "b\n")};
        start(paths);
        for (const std::string& path : paths)
            appendFile(path, "more\n");
        return paths;
    }
    // Starts with the log open and the interval stored; the log's window.
    ChildFrame* startPolling(int32_t updateEvery, const std::string& path)
    {
        editConfiguration([updateEvery](haspel::ConfigSection& root) {
            root.GetSection("Analyze").GetParameter("UpdateEvery").SetInt(updateEvery);
        });
        start({path});
        return app->GetDocTemplate().findFrame(path.c_str());
    }
};

TEST_F(PollingTest, APassPollsEveryLogOnceInOrderOfOpening)
{
    const std::vector<std::string> paths = threeGrownLogs();
    const std::string &c = paths[0], &a = paths[1], &b = paths[2];
    MainFrame& frame = *app->GetMainFrame();
    files.read.clear();
    bool timerRanDuringPoll = false;
    files.onRead = [&] { timerRanDuringPoll |= frame.updateTimer().isActive(); };

    frame.pollAllLogs();

    EXPECT_EQ(files.read, (std::vector<std::string> {c, a, b}));
    EXPECT_FALSE(timerRanDuringPoll);
    EXPECT_TRUE(frame.updateTimer().isActive());
    for (const auto& child : app->GetDocTemplate().GetFrames())
        EXPECT_EQ(child->list().rowCount(), 2);
}

TEST_F(PollingTest, AFailingLogEndsOnlyItsOwnPoll)
{
    const std::vector<std::string> paths = threeGrownLogs();
    const std::string &c = paths[0], &a = paths[1], &b = paths[2];
    MainFrame& frame = *app->GetMainFrame();
    files.onRead = [&] {
        if (files.read.back() == c)
            throw std::bad_alloc();
    };

    MessageBoxAnswerer boxes(QMessageBox::Ok);
    frame.pollAllLogs();

    EXPECT_EQ(app->GetDocTemplate().findFrame(c.c_str())->list().rowCount(), 1);
    EXPECT_EQ(app->GetDocTemplate().findFrame(a.c_str())->list().rowCount(), 2);
    EXPECT_EQ(app->GetDocTemplate().findFrame(b.c_str())->list().rowCount(), 2);
    EXPECT_EQ(boxes.texts, QStringList {QStringLiteral("Out of memory.")});
    EXPECT_TRUE(frame.updateTimer().isActive());
}

TEST_F(PollingTest, ALogWithMoreToReadIsReadOnAtOnce)
{
    editConfiguration([](haspel::ConfigSection& root) {
        root.GetSection("Analyze").GetParameter("UpdateEvery").SetInt(1000000);
    });
    const std::string busy = log("busy.log", "start\n");
    const std::string idle = log("idle.log", "idle\n");
    start({busy, idle});
    MainFrame& frame = *app->GetMainFrame();
    ChildView& view = app->GetDocTemplate().findFrame(busy.c_str())->view();
    // Two million lines: more than one poll can read.
    std::string text;
    for (int i = 0; i < 2 << 20; ++i)
        text += "a line\n";
    appendFile(busy, text);
    appendFile(idle, "more\n");

    frame.pollAllLogs();
    EXPECT_TRUE(view.hasMoreToRead());
    EXPECT_EQ(frame.updateTimer().interval(), 0);
    EXPECT_EQ(app->GetDocTemplate().findFrame(idle.c_str())->list().rowCount(), 2);
    // The following passes come at once, not after the interval.
    const uint64_t size = std::filesystem::file_size(busy);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.getReadPosition() == size; }, 60000));
    EXPECT_FALSE(view.hasMoreToRead());
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame.updateTimer().interval() == 1000000; }, 1000));
}

TEST_F(PollingTest, TheTimerKeepsPollingAtTheStoredInterval)
{
    const std::string path = log("timed.log", "first\n");
    ChildFrame* child = startPolling(20, path);
    ASSERT_NE(child, nullptr);

    appendFile(path, "second\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return child->list().rowCount() == 2; }, 2000));
    appendFile(path, "third\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return child->list().rowCount() == 3; }, 2000));
}

TEST_F(PollingTest, AnIntervalNoTimerCanTakeStillPolls)
{
    editConfiguration([](haspel::ConfigSection& root) {
        root.GetSection("Analyze").GetParameter("UpdateEvery").SetInt(-5);
    });
    start();
    EXPECT_EQ(app->GetSettings().GetUpdateEvery(), -5);
    EXPECT_TRUE(app->GetMainFrame()->updateTimer().isActive());
    EXPECT_EQ(app->GetMainFrame()->updateTimer().interval(), 10);
}

TEST_F(PollingTest, AChangedFileIsPolledWithoutWaitingForTheInterval)
{
    const std::string path = log("woken.log", "first\n");
    ChildFrame* child = startPolling(60000, path);
    ASSERT_NE(child, nullptr);
    const auto shows = [child](const char* text) {
        const LogListModel& rows = child->list().model();
        return rows.rowCount() > 0 && rows.at(rows.rowCount() - 1)->getText() == std::string(text);
    };

    // Bounded waits far shorter than the interval.
    appendFile(path, "second\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return shows("second"); }, 20000));
    std::filesystem::rename(path, path + ".1");
    writeFile(path, "third\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return shows("third"); }, 20000));

    // A closed log's watches (its file's and its folder's) are gone.
    const int watcher = app->GetMainFrame()->pollScheduler().getDescriptor();
    EXPECT_EQ(kernelWatches(watcher), 2);
    child->close();
    EXPECT_EQ(kernelWatches(watcher), 0);
}

TEST_F(PollingTest, ANewErrorLineRaisesTheWindowsWithoutActivatingAndRequestsTheSoundOnce)
{
    const std::string watched = log("watched.log", "start\n");
    const std::string other = log("other.log", "start\n");
    start({watched, other});
    MainFrame& frame = *app->GetMainFrame();
    ChildFrame* child = app->GetDocTemplate().findFrame(watched.c_str());
    ASSERT_NE(child, nullptr);
    ASSERT_NE(frame.mdiArea().currentSubWindow(), child);
    frame.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(soundPlays, 0);
    const QWidget* activeWindow = QApplication::activeWindow();

    appendFile(watched, "disk error\n");
    frame.pollAllLogs();
    QCoreApplication::processEvents();

    EXPECT_EQ(soundPlays, 1);
    EXPECT_FALSE(frame.isMinimized());
    // On top of the others and marked; the active log window stays the user's.
    EXPECT_EQ(frame.mdiArea().subWindowList(QMdiArea::StackingOrder).last(), child);
    EXPECT_TRUE(child->hasNews());
    EXPECT_NE(frame.mdiArea().currentSubWindow(), child);
    EXPECT_EQ(QApplication::activeWindow(), activeWindow);

    frame.pollAllLogs(); // nothing new
    EXPECT_EQ(soundPlays, 1);
    appendFile(other, "just a warn\n");
    frame.pollAllLogs();
    EXPECT_EQ(soundPlays, 2);
    EXPECT_NE(frame.mdiArea().currentSubWindow(), child);
    EXPECT_FALSE(app->GetDocTemplate().findFrame(other.c_str())->hasNews()) << "a warning is below OnTop";
}

} // namespace
} // namespace kestrano::test
