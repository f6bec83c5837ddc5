// The merged window in the real program: rows of several logs in time order with their names and
// colours, its own filters through the command route, a log window closing, the workspace, the dialog.
#include "config/Config.h"
#include "core/view/MergedView.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/dialogs/MergeDialog.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "shell/windows/MergedFrame.h"
#include "tests/shell/ShellFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>

namespace kestrano::test {
namespace {

using MergedWindowTest = ShellTest;

QStringList rowTexts(const LogList& list)
{
    QStringList texts;
    const LogListModel& model = list.model();
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.data(model.index(row), Qt::DisplayRole).toString();
    return texts;
}

MergedFrame* mergedWindow(MainFrame& frame)
{
    for (QMdiSubWindow* window : frame.mdiArea().subWindowList())
        if (auto* merged = qobject_cast<MergedFrame*>(window))
            return merged;
    return nullptr;
}

TEST_F(MergedWindowTest, ShowsTheLogsInTimeOrderFollowsThemAndComesBackWithTheWorkspace)
{
    const std::string web = log("web.log",
        "2026-12-09 10:00:01 INFO web up\n"
        "2026-12-09 10:00:03 ERROR web failed\n");
    const std::string db = log("db.log",
        "2026-12-09 10:00:02 WARN db slow\n"
        "2026-12-09 10:00:04 INFO db done\n");
    start({web, db});
    MainFrame& main = *app->GetMainFrame();
    ChildFrame* webWindow = app->GetDocTemplate().findFrame(web.c_str());
    ChildFrame* dbWindow = app->GetDocTemplate().findFrame(db.c_str());
    ASSERT_TRUE(webWindow && dbWindow);
    EXPECT_TRUE(main.action(Command::MergeLogs)->isEnabled());

    MergedFrame* merged = app->OpenMergedWindow({webWindow, dbWindow});
    EXPECT_EQ(main.mdiArea().currentSubWindow(), merged);
    QCoreApplication::processEvents();
    EXPECT_EQ(main.mdiArea().currentSubWindow(), merged);
    EXPECT_EQ(merged->windowTitle(), "Merged: web.log, db.log");
    EXPECT_EQ(rowTexts(merged->list()),
        QStringList({"web.log  2026-12-09 10:00:01 INFO web up", "db.log   2026-12-09 10:00:02 WARN db slow",
            "web.log  2026-12-09 10:00:03 ERROR web failed", "db.log   2026-12-09 10:00:04 INFO db done"}));
    // A colour per log, the same for its rows.
    const LogListModel& model = merged->list().model();
    const auto colour
        = [&model](int row) { return model.data(model.index(row), Qt::BackgroundRole).value<QColor>(); };
    EXPECT_TRUE(colour(0).isValid());
    EXPECT_EQ(colour(0), colour(2));
    EXPECT_NE(colour(0), colour(1));

    // New lines take their place by time as they come.
    appendFile(db, "2026-12-09 10:00:02 INFO db between\n");
    main.pollAllLogs();
    QCoreApplication::processEvents();
    EXPECT_EQ(rowTexts(merged->list()).at(2), "db.log   2026-12-09 10:00:02 INFO db between");

    // The window's own filters, through the menus' route while it is active.
    ASSERT_EQ(main.mdiArea().currentSubWindow(), merged);
    main.dispatch(Command::SetToErrors, nullptr);
    EXPECT_EQ(rowTexts(merged->list()), QStringList({"web.log  2026-12-09 10:00:03 ERROR web failed"}));
    EXPECT_TRUE(merged->toolBarAction(Command::SetToErrors)->isChecked());
    EXPECT_EQ(webWindow->view().getMinimumSeverity(), 0); // the logs' windows keep theirs
    main.dispatch(Command::SetToDebugs, nullptr);
    main.dispatch(Command::ToggleUnknowns, nullptr);

    exit();
    start();
    MergedFrame* restored = mergedWindow(*app->GetMainFrame());
    ASSERT_NE(restored, nullptr);
    EXPECT_FALSE(restored->view().getSwitches().showUnknown);
    EXPECT_EQ(restored->view().getLogCount(), 2);
    EXPECT_EQ(restored->list().model().rowCount(), 5);

    // A log window closing takes its rows out; the last one closes the merged window.
    app->GetDocTemplate().findFrame(web.c_str())->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return restored->view().getLogCount() == 1; }, 10000));
    EXPECT_EQ(restored->windowTitle(), "Merged: db.log");
    EXPECT_EQ(restored->list().model().rowCount(), 3);
    QPointer<MergedFrame> closing(restored);
    app->GetDocTemplate().findFrame(db.c_str())->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closing.isNull(); }, 10000));
    exit();
    EXPECT_EQ(stored(savedConfiguration()->GetRoot(), {"MergedWindows", "Window1", "Logs"}, "Log1"), Missing);
}

TEST_F(MergedWindowTest, TheDialogTakesTwoOrMoreLogsAndAllChecksEveryOne)
{
    start();
    MergeDialog dialog({"a.log", "b.log", "c.log"}, app->GetMainFrame());
    QPushButton* ok = dialog.buttonBox()->button(QDialogButtonBox::Ok);
    EXPECT_FALSE(ok->isEnabled());
    dialog.logBoxes()[0]->setChecked(true);
    EXPECT_FALSE(ok->isEnabled());
    dialog.logBoxes()[2]->setChecked(true);
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.chosen(), std::vector<int>({0, 2}));
    EXPECT_FALSE(dialog.allBox()->isChecked());

    dialog.allBox()->click();
    EXPECT_EQ(dialog.chosen(), std::vector<int>({0, 1, 2}));
    EXPECT_TRUE(dialog.allBox()->isChecked());
    dialog.allBox()->click();
    EXPECT_TRUE(dialog.chosen().empty());
    EXPECT_FALSE(ok->isEnabled());
}

} // namespace
} // namespace kestrano::test
