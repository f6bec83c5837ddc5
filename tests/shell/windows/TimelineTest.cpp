// The timeline strip and the quiet gaps of a log window over real files: the bars in the severities'
// colours read back from the drawn pixels, counted as lines arrive and afresh when the filter changes,
// the rows in view marked, a click going to a bucket's first message, the switch kept in the workspace;
// a gap of more than the chosen span drawn before its row.
#include "config/Config.h"
#include "core/settings/MonitorSettings.h"
#include "core/text/LogTime.h"
#include "core/text/Message.h"
#include "core/view/ChildView.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "platform/qt/MatchHighlighter.h"
#include "platform/qt/SeverityIcons.h"
#include "platform/qt/TimelineStrip.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

namespace kestrano::test {
namespace {

// "2026-12-09T14:MM:SSZ LEVEL text"
std::string line(int seconds, const char* level, const std::string& text = "message")
{
    char stamp[64];
    std::snprintf(
        stamp, sizeof stamp, "2026-12-09T14:%02d:%02dZ %s ", seconds / 60 % 60, seconds % 60, level);
    return stamp + text + "\n";
}

class TimelineTest : public ShellTest {
protected:
    ChildFrame& open(const std::string& content, int rows)
    {
        path = log("app.log", content);
        start({path});
        MainFrame& frame = *app->GetMainFrame();
        frame.resize(900, 600);
        frame.show();
        ChildFrame* child = app->GetDocTemplate().findFrame(path.c_str());
        EXPECT_NE(child, nullptr);
        child->showMaximized();
        EXPECT_TRUE(QTest::qWaitFor([&] { return child->list().model().rowCount() == rows; }, 10000));
        return *child;
    }
    void showTimeline(ChildFrame& child)
    {
        app->GetMainFrame()->dispatch(Command::ToggleTimeline, &child);
        QTest::qWait(50);
    }
    // The strip as drawn now.
    static QImage drawn(TimelineStrip& strip)
    {
        QCoreApplication::processEvents();
        return strip.grab().toImage();
    }
    static QColor at(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

    std::string path;
};

TEST_F(TimelineTest, BarsAreStackedBySeverityInTheirColoursAndFollowTheLinesAndTheFilter)
{
    std::string content;
    content += line(0, "INFO") + line(0, "INFO") + line(0, "ERROR");
    content += line(10, "WARN");
    content += line(20, "FATAL") + line(20, "FATAL") + line(20, "FATAL");
    content += line(30, "DEBUG");
    ChildFrame& child = open(content, 8);
    TimelineStrip& strip = child.timelineStrip();
    EXPECT_FALSE(strip.isVisible());
    showTimeline(child);
    ASSERT_TRUE(strip.isVisible());
    const TimelineBuckets& buckets = strip.buckets();
    EXPECT_EQ(buckets.getStepMicroseconds(), 1000000);
    ASSERT_EQ(buckets.getBucketCount(), 31);

    QImage image = drawn(strip);
    const int floor = image.height() - 4; // just above the base line
    const int middle = image.height() / 2;
    const auto column = [&](int32_t bucket) { return strip.bucketRect(bucket).left() + 1; };
    const QColor base = strip.palette().color(QPalette::Base);
    // Bucket 0: an error at the foot, two informations above it.
    EXPECT_EQ(at(image, column(0), floor), severityColour(Severity::Error));
    EXPECT_EQ(at(image, column(0), middle), severityColour(Severity::Information));
    EXPECT_EQ(at(image, column(10), floor), severityColour(Severity::Warning));
    EXPECT_EQ(at(image, column(10), middle), base);
    // The tallest bar reaches the top.
    EXPECT_EQ(at(image, column(20), floor), severityColour(Severity::Fatal));
    EXPECT_EQ(at(image, column(20), 4), severityColour(Severity::Fatal));
    EXPECT_EQ(at(image, column(30), floor), severityColour(Severity::DebugInformation));
    EXPECT_EQ(at(image, column(5), floor), base);
    EXPECT_EQ(at(image, column(40), floor), base);
    EXPECT_TRUE(strip.bucketText(QPoint(column(0), middle)).contains(QStringLiteral("3")));

    // Lines arriving while followed are counted in the buckets they fall in.
    appendFile(path, line(10, "ERROR") + line(45, "ERROR"));
    app->GetMainFrame()->pollAllLogs();
    ASSERT_TRUE(QTest::qWaitFor([&] { return buckets.getBucketCount() == 46; }, 10000));
    EXPECT_EQ(buckets.getCounts(10)[Severity::Error + 1], 1);
    image = drawn(strip);
    EXPECT_EQ(at(image, column(45), floor), severityColour(Severity::Error));
    EXPECT_EQ(at(image, column(10), floor), severityColour(Severity::Error));

    // The filter's shown messages only: counted afresh.
    app->GetMainFrame()->dispatch(Command::SetToErrors, &child);
    ASSERT_TRUE(QTest::qWaitFor([&] { return buckets.getTotal(0) == 1; }, 10000));
    EXPECT_EQ(buckets.getTotal(10), 1);
    image = drawn(strip);
    EXPECT_EQ(at(image, column(0), floor), severityColour(Severity::Error));
    EXPECT_EQ(at(image, column(0), 4), base);
}

TEST_F(TimelineTest, TheRowsInViewAreMarkedAndAClickGoesToTheBucketsFirstMessage)
{
    std::string content;
    for (int second = 0; second < 120; ++second)
        content += line(second, second % 10 == 0 ? "WARN" : "INFO", "row " + std::to_string(second));
    ChildFrame& child = open(content, 120);
    showTimeline(child);
    TimelineStrip& strip = child.timelineStrip();
    ASSERT_EQ(strip.buckets().getBucketCount(), 120);
    const QColor mark = strip.palette().color(QPalette::Highlight);
    const auto marked = [&](const QImage& image, int32_t bucket) {
        return at(image, strip.bucketRect(bucket).left() + 1, 0) == mark;
    };
    // Following: the last rows are in view, the first are not.
    QImage image = drawn(strip);
    EXPECT_TRUE(marked(image, 119));
    EXPECT_FALSE(marked(image, 0));

    // A click on bucket 30 selects its message and turns Follow off; the mark moves with the list.
    const QPoint place(strip.bucketRect(30).left() + 1, strip.height() / 2);
    QTest::mouseClick(&strip, Qt::LeftButton, Qt::NoModifier, place);
    EXPECT_FALSE(child.view().getFollow());
    ASSERT_EQ(child.list().selectedRow(), 30);
    QTest::qWait(50);
    image = drawn(strip);
    EXPECT_TRUE(marked(image, 30));
    EXPECT_FALSE(marked(image, 119));

    // The switch belongs to the log and comes back with it.
    exit();
    {
        const std::unique_ptr<haspel::Config> config = savedConfiguration();
        EXPECT_EQ(stored(config->GetRoot(), {"Workspace", path.c_str()}, "ShowTimeline"), "1");
    }
    start();
    ChildFrame* again = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->timelineStrip().isVisibleTo(again));
    EXPECT_TRUE(app->GetMainFrame()->action(Command::ToggleTimeline)->isChecked());
}

TEST_F(TimelineTest, RowsDroppedBeyondTheKeptLinesLeaveTheStripAndItsStartMoves)
{
    editConfiguration(
        [](haspel::ConfigSection& root) { root.GetSection("Sizes").GetParameter("KeepLines").SetInt(3); });
    ChildFrame& child = open(line(0, "INFO") + line(1, "ERROR") + line(2, "WARN"), 3);
    showTimeline(child);
    TimelineStrip& strip = child.timelineStrip();
    const TimelineBuckets& buckets = strip.buckets();
    ASSERT_EQ(buckets.getBucketCount(), 3);
    appendFile(path, line(3, "FATAL") + line(4, "FATAL"));
    app->GetMainFrame()->pollAllLogs();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return buckets.getBucketCount() == 3 && buckets.getTotal(2) == 1; }, 10000));
    // The two oldest rows went: the strip starts at the warning's second.
    EXPECT_EQ(buckets.getCounts(0)[Severity::Warning + 1], 1);
    EXPECT_EQ(buckets.getCounts(2)[Severity::Fatal + 1], 1);
    const QImage image = drawn(strip);
    const int floor = image.height() - 4;
    EXPECT_EQ(at(image, strip.bucketRect(0).left() + 1, floor), severityColour(Severity::Warning));
    EXPECT_EQ(at(image, strip.bucketRect(2).left() + 1, floor), severityColour(Severity::Fatal));
    EXPECT_EQ(at(image, strip.bucketRect(3).left() + 1, floor), strip.palette().color(QPalette::Base));
}

TEST_F(TimelineTest, AQuietGapIsDrawnBeforeItsRowAsLongAsItIsLongerThanTheChosenSpan)
{
    ChildFrame& child = open(line(0, "INFO") + line(10, "INFO") + line(322, "INFO") + line(330, "INFO"), 4);
    LogList& list = child.list();
    const QColor gap = MatchHighlighter::quietGapColour();
    // Whether the row's top is drawn in the gap's colour.
    const auto markedAt = [&](int row) {
        QCoreApplication::processEvents();
        const QImage image = list.viewport()->grab().toImage();
        const QRect rect = list.visualRect(list.model().index(row));
        return image.pixelColor(rect.left() + 40, rect.top()) == gap;
    };
    // The default minute: 5 min 12 s after the second row.
    EXPECT_FALSE(markedAt(0));
    EXPECT_FALSE(markedAt(1));
    EXPECT_TRUE(markedAt(2));
    EXPECT_FALSE(markedAt(3));

    MonitorSettings chosen = app->GetSettings();
    chosen.SetQuietGap(400);
    app->applySettings(chosen, app->GetDesktopNotifications());
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.model().rowCount() == 4; }, 10000));
    EXPECT_FALSE(markedAt(2));
    chosen.SetQuietGap(5);
    app->applySettings(chosen, app->GetDesktopNotifications());
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.model().rowCount() == 4; }, 10000));
    EXPECT_TRUE(markedAt(1));
    EXPECT_TRUE(markedAt(2));
    EXPECT_TRUE(markedAt(3));
    chosen.SetQuietGap(0);
    app->applySettings(chosen, app->GetDesktopNotifications());
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.model().rowCount() == 4; }, 10000));
    EXPECT_FALSE(markedAt(2));
}

} // namespace
} // namespace kestrano::test
