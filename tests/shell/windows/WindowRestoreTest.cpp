// A minimised window brought to the front by a new message comes back in the state it had: maximised
// stays maximised.
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"

#include <QCoreApplication>
#include <QMdiArea>

namespace kestrano::test {
namespace {

using WindowRestoreTest = ShellTest;

TEST_F(WindowRestoreTest, AnErrorBringsMinimisedWindowsBackAsTheyWere)
{
    const std::string normalLog = log("normal.log", "start\n");
    const std::string maximizedLog = log("maximized.log", "start\n");
    start({normalLog, maximizedLog});
    MainFrame& frame = *app->GetMainFrame();
    ChildFrame* normal = app->GetDocTemplate().findFrame(normalLog.c_str());
    ChildFrame* maximized = app->GetDocTemplate().findFrame(maximizedLog.c_str());
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(maximized, nullptr);
    auto minimize = [&](QWidget& window) {
        window.showMinimized();
        QCoreApplication::processEvents();
        ASSERT_TRUE(window.isMinimized());
    };
    auto pollAfter = [&](const std::string& path, const std::string& line) {
        appendFile(path, line);
        frame.pollAllLogs();
        QCoreApplication::processEvents();
    };

    // A log window at its normal size comes back at it, in a main window that comes back maximised.
    frame.showMaximized();
    QCoreApplication::processEvents();
    minimize(*normal);
    minimize(frame);
    pollAfter(normalLog, "fatal crash\n");
    EXPECT_FALSE(frame.isMinimized());
    EXPECT_TRUE(frame.isMaximized());
    EXPECT_FALSE(normal->isMinimized());
    EXPECT_FALSE(normal->isMaximized());
    EXPECT_EQ(frame.mdiArea().currentSubWindow(), normal);

    // A maximised log window comes back maximised.
    maximized->showMaximized();
    QCoreApplication::processEvents();
    minimize(*maximized);
    minimize(frame);
    pollAfter(maximizedLog, "disk error\n");
    EXPECT_TRUE(frame.isMaximized());
    EXPECT_FALSE(maximized->isMinimized());
    EXPECT_TRUE(maximized->isMaximized());
    EXPECT_EQ(frame.mdiArea().currentSubWindow(), maximized);
}

} // namespace
} // namespace kestrano::test
