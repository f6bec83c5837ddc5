// Windows that fit the screen: the first start's place, the log window's bars on one row or two, the
// filter row and wrapping chosen in the View menu, and how the windows were left coming back at the
// next start.
#include "config/Config.h"
#include "core/view/ChildView.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "shell/windows/WindowArrangement.h"
#include "tests/shell/ShellFixture.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>

namespace kestrano::test {
namespace {

using LayoutTest = ShellTest;

TEST(FirstStartPlaceTest, TwoThirdsOfTheAvailableAreaCentred)
{
    EXPECT_EQ(firstStartPlace(QRect(0, 0, 1600, 1000)), QRect(267, 167, 1066, 666));
    // A panel above and another screen to the left.
    EXPECT_EQ(firstStartPlace(QRect(1920, 32, 1280, 768)), QRect(1920 + 213, 32 + 128, 853, 512));
}

TEST_F(LayoutTest, TheFirstStartTakesTwoThirdsOfTheScreenAndLaterStartsTheirStoredPlace)
{
    start();
    MainFrame& frame = *app->GetMainFrame();
    const QRect expected = firstStartPlace(QGuiApplication::primaryScreen()->availableGeometry());
    EXPECT_EQ(frame.size(), expected.size());
    EXPECT_EQ(frame.pos(), expected.topLeft());

    frame.resize(700, 450);
    frame.move(30, 40);
    QCoreApplication::processEvents();
    exit();
    start();
    EXPECT_EQ(app->GetMainFrame()->size(), QSize(700, 450));
}

TEST_F(LayoutTest, SwitchesAndFilterShareARowWhenTheWindowIsWideEnough)
{
    const std::string path = log("app.log", "x\n");
    start({path});
    ChildFrame& child = *app->GetDocTemplate().findFrame(path.c_str());
    const auto sameRow = [&child] {
        QCoreApplication::processEvents();
        return child.filterBar().geometry().top() == child.toolBar().geometry().top();
    };
    const int needed = child.toolBar().sizeHint().width() + child.filterBar().sizeHint().width();
    child.resize(needed + 100, 400);
    EXPECT_TRUE(sameRow());
    const int oneRowList = child.list().height();
    child.resize(needed - 100, 400);
    EXPECT_FALSE(sameRow());
    EXPECT_GT(child.filterBar().geometry().top(), child.toolBar().geometry().top());
    EXPECT_LT(child.list().height(), oneRowList);
    child.resize(needed + 100, 400);
    EXPECT_TRUE(sameRow());
}

TEST_F(LayoutTest, TheFilterRowCanBeHiddenAndStaysSoButAFilterInUseIsShown)
{
    const std::string plain = log("plain.log", "x\n");
    const std::string filtered = log("filtered.log", "x\n");
    start({plain, filtered});
    MainFrame& frame = *app->GetMainFrame();
    app->GetDocTemplate().findFrame(filtered.c_str())->filterField().setText(QStringLiteral("x"));
    QAction& filterRow = *frame.action(Command::FilterRow);
    EXPECT_TRUE(filterRow.isChecked());
    filterRow.trigger();
    EXPECT_FALSE(filterRow.isChecked());
    EXPECT_TRUE(app->GetDocTemplate().findFrame(plain.c_str())->filterBar().isHidden());
    EXPECT_FALSE(app->GetDocTemplate().findFrame(filtered.c_str())->filterBar().isHidden());

    exit();
    EXPECT_EQ(stored(savedConfiguration()->GetRoot(), {"View"}, "FilterRow"), "0");
    start({plain});
    EXPECT_TRUE(app->GetDocTemplate().findFrame(plain.c_str())->filterBar().isHidden());
    EXPECT_FALSE(app->GetMainFrame()->action(Command::FilterRow)->isChecked());
    // The text filter's command still shows it where it is wanted.
    ChildFrame& child = *app->GetDocTemplate().findFrame(plain.c_str());
    app->GetMainFrame()->dispatch(Command::FilterText, &child);
    EXPECT_FALSE(child.filterBar().isHidden());
}

TEST_F(LayoutTest, LongRowsScrollSidewaysOrWrap)
{
    const std::string path = log("long.log", "short\n" + std::string(600, 'w') + " end\nshort again\n");
    start({path});
    ChildFrame& child = *app->GetDocTemplate().findFrame(path.c_str());
    child.resize(500, 400);
    LogList& list = child.list();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.model().rowCount() == 3; }, 10000));
    QCoreApplication::processEvents();
    EXPECT_FALSE(list.wrapsRows());
    const int rowHeight = list.visualRect(list.model().index(0)).height();
    // The whole row can be reached sideways.
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.horizontalScrollBar()->maximum() > 0; }, 10000));
    EXPECT_GE(list.horizontalScrollBar()->maximum() + list.viewport()->width(),
        list.fontMetrics().horizontalAdvance(QString(600, QLatin1Char('w'))));

    app->GetMainFrame()->action(Command::WrapRows)->trigger();
    EXPECT_TRUE(list.wrapsRows());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return list.visualRect(list.model().index(1)).height() >= 3 * rowHeight; }, 10000));
    EXPECT_EQ(list.visualRect(list.model().index(2)).height(), rowHeight);
    EXPECT_EQ(list.horizontalScrollBar()->maximum(), 0);

    exit();
    EXPECT_EQ(stored(savedConfiguration()->GetRoot(), {"View"}, "WrapRows"), "1");
    start({path});
    EXPECT_TRUE(app->GetDocTemplate().findFrame(path.c_str())->list().wrapsRows());
}

std::string numbered(int count)
{
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += "info row " + std::to_string(i) + "\n";
    return lines;
}

TEST_F(LayoutTest, MaximisedMinimisedActiveAndTheScrolledPlaceComeBack)
{
    const std::string minimized = log("minimized.log", "x\n");
    const std::string scrolled = log("scrolled.log", numbered(200));
    const std::string maximized = log("maximized.log", "x\n");
    start({minimized, scrolled, maximized});
    const auto frameOf
        = [this](const std::string& path) { return app->GetDocTemplate().findFrame(path.c_str()); };
    frameOf(scrolled)->resize(400, 300);
    frameOf(minimized)->showMinimized();
    QCoreApplication::processEvents();
    LogList& list = frameOf(scrolled)->list();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.model().rowCount() == 200; }, 10000));
    frameOf(scrolled)->view().setFollow(false);
    list.scrollToTop(120);
    QCoreApplication::processEvents();
    ASSERT_EQ(list.topRow(), 120);
    app->GetMainFrame()->mdiArea().setActiveSubWindow(frameOf(maximized));
    frameOf(maximized)->showMaximized();
    QCoreApplication::processEvents();
    exit();
    {
        const std::unique_ptr<haspel::Config> config = savedConfiguration();
        haspel::ConfigSection& saved = config->GetRoot();
        EXPECT_EQ(stored(saved, {"Workspace", maximized.c_str(), "ChildFrame"}, "Maximized"), "1");
        EXPECT_EQ(stored(saved, {"Workspace", maximized.c_str(), "ChildFrame"}, "Active"), "1");
        EXPECT_EQ(stored(saved, {"Workspace", minimized.c_str(), "ChildFrame"}, "Minimized"), "1");
        EXPECT_EQ(stored(saved, {"Workspace", scrolled.c_str(), "ChildFrame"}, "TopRow"), "120");
    }

    start();
    ASSERT_NE(frameOf(maximized), nullptr);
    EXPECT_TRUE(frameOf(maximized)->isMaximized());
    EXPECT_EQ(app->GetMainFrame()->activeChild(), frameOf(maximized));
    EXPECT_TRUE(frameOf(minimized)->isMinimized());
    EXPECT_FALSE(frameOf(scrolled)->view().getFollow());
    EXPECT_TRUE(QTest::qWaitFor([&] { return frameOf(scrolled)->list().topRow() == 120; }, 10000));

    // Normal windows, another one active.
    frameOf(maximized)->showNormal();
    app->GetMainFrame()->mdiArea().setActiveSubWindow(frameOf(scrolled));
    QCoreApplication::processEvents();
    exit();
    start();
    EXPECT_EQ(app->GetMainFrame()->activeChild(), frameOf(scrolled));
    EXPECT_FALSE(frameOf(maximized)->isMaximized());
}

} // namespace
} // namespace kestrano::test
