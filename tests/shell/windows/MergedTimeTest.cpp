// Time in the merged window of two real logs: the timeline strip with the bars of both logs read back
// from its pixels, a click on a bucket, the switch kept in the workspace across a restart; Go to Time
// landing on the right row of the right log with its time in the status bar; a quiet gap between rows of
// different logs, as the Options set it.
#include "config/Config.h"
#include "core/settings/MonitorSettings.h"
#include "core/text/Severity.h"
#include "core/view/ChildView.h"
#include "core/view/MergedView.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "platform/qt/MatchHighlighter.h"
#include "platform/qt/SeverityIcons.h"
#include "platform/qt/TimelineStrip.h"
#include "shell/dialogs/GoToTimeDialog.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "shell/windows/MergedFrame.h"
#include "tests/shell/ShellFixture.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>
#include <QTimer>

namespace kestrano::test {
namespace {

class MergedTimeTest : public ShellTest {
protected:
    // Opens both logs, merges them in a maximized window and waits for its rows.
    MergedFrame& openMerged(const std::string& webLines, const std::string& dbLines, int rows)
    {
        web = log("web.log", webLines);
        db = log("db.log", dbLines);
        start({web, db});
        MainFrame& main = *app->GetMainFrame();
        main.resize(900, 600);
        main.show();
        MergedFrame* merged = app->OpenMergedWindow(
            {app->GetDocTemplate().findFrame(web.c_str()), app->GetDocTemplate().findFrame(db.c_str())});
        merged->showMaximized();
        EXPECT_TRUE(QTest::qWaitFor([&] { return merged->list().model().rowCount() == rows; }, 10000));
        return *merged;
    }
    // The text of a row as the list shows it: the log's name first.
    static QString rowText(const MergedFrame& merged, int row)
    {
        const LogListModel& model = merged.list().model();
        return model.data(model.index(row), Qt::DisplayRole).toString();
    }
    // Runs Go to Time in the active window, typing the text into the dialog.
    void goTo(const QString& text)
    {
        QTimer answer;
        answer.setInterval(20);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<GoToTimeDialog*>(QApplication::activeModalWidget())) {
                answer.stop();
                dialog->field().setText(text);
                dialog->accept();
            }
        });
        answer.start();
        app->GetMainFrame()->dispatch(Command::GoToTime, nullptr);
    }
    QString statusTime() const { return app->GetMainFrame()->selectedTimeLabel().text(); }

    std::string web;
    std::string db;
};

// Rows in time order: web 14:00:00 INFO, web 14:00:00 INFO, db 14:00:10 WARN, web 14:00:20 ERROR,
// db 14:00:30 FATAL.
const std::string webLines = "2026-12-09T14:00:00Z INFO up\n"
                             "2026-12-09T14:00:00Z INFO listening\n"
                             "2026-12-09T14:00:20Z ERROR request failed\n";
const std::string dbLines = "2026-12-09T14:00:10Z WARN slow query\n"
                            "2026-12-09T14:00:30Z FATAL disk full\n";

TEST_F(MergedTimeTest, TheStripShowsTheBarsOfBothLogsGoesToABucketAndComesBackWithTheWorkspace)
{
    MergedFrame& merged = openMerged(webLines, dbLines, 5);
    MainFrame& main = *app->GetMainFrame();
    TimelineStrip& strip = merged.timelineStrip();
    EXPECT_FALSE(strip.isVisible());
    EXPECT_FALSE(main.action(Command::ToggleTimeline)->isChecked());
    main.action(Command::ToggleTimeline)->trigger();
    ASSERT_TRUE(strip.isVisible());
    EXPECT_TRUE(main.action(Command::ToggleTimeline)->isChecked());
    // The logs' own windows keep theirs.
    ChildFrame* webWindow = app->GetDocTemplate().findFrame(web.c_str());
    EXPECT_FALSE(webWindow->view().getShowTimeline());
    EXPECT_FALSE(webWindow->timelineStrip().isVisibleTo(webWindow));

    ASSERT_TRUE(QTest::qWaitFor([&] { return strip.buckets().getBucketCount() == 31; }, 10000));
    QCoreApplication::processEvents();
    const QImage image = strip.grab().toImage();
    const int floor = image.height() - 4;
    const auto colourAt
        = [&](int32_t bucket, int y) { return image.pixelColor(strip.bucketRect(bucket).left() + 1, y); };
    EXPECT_EQ(colourAt(0, floor), severityColour(Severity::Information));
    EXPECT_EQ(colourAt(0, 4), severityColour(Severity::Information)); // the tallest bar: two messages
    EXPECT_EQ(colourAt(10, floor), severityColour(Severity::Warning));
    EXPECT_EQ(colourAt(20, floor), severityColour(Severity::Error));
    EXPECT_EQ(colourAt(30, floor), severityColour(Severity::Fatal));
    EXPECT_EQ(colourAt(10, 4), strip.palette().color(QPalette::Base));
    EXPECT_EQ(colourAt(15, floor), strip.palette().color(QPalette::Base));

    // A click on the error's bucket selects the web log's row, Follow off, its time in the status bar.
    ASSERT_TRUE(merged.view().getSwitches().follow);
    QTest::mouseClick(
        &strip, Qt::LeftButton, Qt::NoModifier, QPoint(strip.bucketRect(20).left() + 1, strip.height() / 2));
    ASSERT_EQ(merged.list().selectedRow(), 3);
    EXPECT_TRUE(rowText(merged, 3).startsWith(QStringLiteral("web.log"))) << rowText(merged, 3).toStdString();
    EXPECT_FALSE(merged.view().getSwitches().follow);
    EXPECT_TRUE(statusTime().endsWith(QStringLiteral("10 s before the end"))) << statusTime().toStdString();

    // The switch belongs to the merged window and comes back with it.
    exit();
    EXPECT_EQ(stored(savedConfiguration()->GetRoot(), {"MergedWindows", "Window1"}, "ShowTimeline"), "1");
    start();
    MainFrame& again = *app->GetMainFrame();
    std::vector<MergedFrame*> restored = again.mergedFrames();
    ASSERT_EQ(restored.size(), 1u);
    again.mdiArea().setActiveSubWindow(restored[0]);
    EXPECT_TRUE(restored[0]->timelineStrip().isVisibleTo(restored[0]));
    EXPECT_TRUE(again.action(Command::ToggleTimeline)->isChecked());
    EXPECT_FALSE(app->GetDocTemplate().findFrame(web.c_str())->view().getShowTimeline());
    // Off again, and so it stays.
    again.action(Command::ToggleTimeline)->trigger();
    EXPECT_FALSE(restored[0]->timelineStrip().isVisibleTo(restored[0]));
    EXPECT_FALSE(again.action(Command::ToggleTimeline)->isChecked());
    exit();
    EXPECT_EQ(stored(savedConfiguration()->GetRoot(), {"MergedWindows", "Window1"}, "ShowTimeline"), "0");
}

TEST_F(MergedTimeTest, GoToTimeSelectsTheFirstRowAtOrAfterTheMomentInWhicheverLogItIs)
{
    useScriptedBoxes = true;
    MergedFrame& merged = openMerged(webLines, dbLines, 5);
    MainFrame& main = *app->GetMainFrame();
    ASSERT_EQ(main.mdiArea().currentSubWindow(), &merged);
    EXPECT_TRUE(main.action(Command::GoToTime)->isEnabled());
    EXPECT_TRUE(statusTime().isEmpty());

    goTo(QStringLiteral("2026-12-09T14:00:15Z"));
    ASSERT_EQ(merged.list().selectedRow(), 3);
    EXPECT_TRUE(rowText(merged, 3).startsWith(QStringLiteral("web.log")));
    EXPECT_FALSE(merged.view().getSwitches().follow);
    EXPECT_TRUE(statusTime().endsWith(QStringLiteral("10 s before the end"))) << statusTime().toStdString();

    goTo(QStringLiteral("2026-12-09T14:00:01Z"));
    ASSERT_EQ(merged.list().selectedRow(), 2);
    EXPECT_TRUE(rowText(merged, 2).startsWith(QStringLiteral("db.log")));
    EXPECT_TRUE(statusTime().endsWith(QStringLiteral("20 s before the end"))) << statusTime().toStdString();
    EXPECT_TRUE(scriptedBoxes.errors.empty());

    // After every message: told, the selection stays.
    goTo(QStringLiteral("2026-12-09T14:00:31Z"));
    ASSERT_EQ(scriptedBoxes.errors.size(), 1u);
    EXPECT_EQ(scriptedBoxes.errors[0].rfind("No message is at or after ", 0), 0u) << scriptedBoxes.errors[0];
    EXPECT_EQ(merged.list().selectedRow(), 2);

    // Another window active: the status bar tells its selection, not the merged window's.
    main.mdiArea().setActiveSubWindow(app->GetDocTemplate().findFrame(db.c_str()));
    EXPECT_TRUE(statusTime().isEmpty());
    main.mdiArea().setActiveSubWindow(&merged);
    EXPECT_TRUE(statusTime().endsWith(QStringLiteral("20 s before the end")));
}

TEST_F(MergedTimeTest, AQuietGapBetweenRowsOfDifferentLogsIsMarkedAsTheOptionsSetIt)
{
    // Rows: web 14:00:00, db 14:00:10, web 14:05:00 (4 min 50 s after the db row).
    MergedFrame& merged = openMerged("2026-12-09T14:00:00Z INFO up\n2026-12-09T14:05:00Z INFO back\n",
        "2026-12-09T14:00:10Z INFO ready\n", 3);
    const auto markedAt = [](const LogList& list, int row) {
        QCoreApplication::processEvents();
        const QImage image = list.viewport()->grab().toImage();
        const QRect rect = list.visualRect(list.model().index(row));
        return image.pixelColor(rect.left() + 40, rect.top()) == MatchHighlighter::quietGapColour();
    };
    LogList& list = merged.list();
    EXPECT_FALSE(markedAt(list, 1));
    EXPECT_TRUE(markedAt(list, 2));

    MonitorSettings chosen = app->GetSettings();
    chosen.SetQuietGap(400);
    app->applySettings(chosen, app->GetDesktopNotifications());
    EXPECT_FALSE(markedAt(list, 2));
    chosen.SetQuietGap(5);
    app->applySettings(chosen, app->GetDesktopNotifications());
    EXPECT_TRUE(markedAt(list, 1));
    EXPECT_TRUE(markedAt(list, 2));

    // A merged window opened now takes the chosen span.
    MergedFrame* second = app->OpenMergedWindow(
        {app->GetDocTemplate().findFrame(web.c_str()), app->GetDocTemplate().findFrame(db.c_str())});
    second->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->list().model().rowCount() == 3; }, 10000));
    EXPECT_TRUE(markedAt(second->list(), 1));
}

} // namespace
} // namespace kestrano::test
