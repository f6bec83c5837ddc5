// Going to a moment in a log window over a real file: the time typed as ISO 8601, in the locale's format
// or as a time of day, the first message at or after it selected with Follow off and its time in the
// status bar, in the file's history when it is before the kept messages; a text that is no time, a moment
// after every message and a log without times told in a box.
#include "shell/dialogs/GoToTimeDialog.h"
#include "core/view/ChildView.h"
#include "core/view/HistoryRows.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>

namespace kestrano::test {
namespace {

constexpr int64_t Second = 1000000;
// 2026-12-09T13:02:05Z, 14:02:05 in Berlin.
constexpr int64_t Newest = 1796821325 * Second;

class GoToTimeTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
    ChildFrame& open(const std::string& content, int rows)
    {
        path = log("app.log", content);
        useScriptedBoxes = true;
        start({path});
        ChildFrame* child = app->GetDocTemplate().findFrame(path.c_str());
        EXPECT_NE(child, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return child->list().model().rowCount() == rows; }, 10000));
        app->GetMainFrame()->mdiArea().setActiveSubWindow(child);
        return *child;
    }
    // Runs Go to Time, typing each text in turn into the dialog (accepted), then cancelling it; returns
    // what the field offered each time.
    std::vector<QString> goTo(ChildFrame& child, std::vector<QString> texts)
    {
        struct Answers {
            std::vector<QString> texts;
            std::vector<QString> offered;
            bool done = false;
        };
        auto answers = std::make_shared<Answers>();
        answers->texts = std::move(texts);
        auto answer = std::make_shared<std::function<void()>>();
        *answer = [answers, weak = std::weak_ptr(answer)] {
            if (answers->done)
                return;
            auto* dialog = qobject_cast<GoToTimeDialog*>(QApplication::activeModalWidget());
            if (dialog) {
                answers->offered.push_back(dialog->field().text());
                if (answers->texts.empty()) {
                    dialog->reject();
                } else {
                    dialog->field().setText(answers->texts.front());
                    answers->texts.erase(answers->texts.begin());
                    dialog->accept();
                }
            }
            if (auto again = weak.lock())
                QTimer::singleShot(20, *again);
        };
        QTimer::singleShot(20, *answer);
        app->GetMainFrame()->dispatch(Command::GoToTime, &child);
        answers->done = true;
        return answers->offered;
    }
    std::string path;
};

std::string lines()
{
    return "2026-12-09T13:00:00Z INFO start\n"
           "2026-12-09T13:00:30Z WARN slow\n"
           "2026-12-09T13:01:00Z ERROR failed\n"
           "2026-12-09T13:02:05Z INFO recovered\n";
}

TEST_F(GoToTimeTest, TheTimeIsReadAsIsoInTheLocalesFormatOrAsATimeOfDay)
{
    EXPECT_EQ(readTypedTime(QStringLiteral("2026-12-09T13:02:05Z"), Newest), Newest);
    EXPECT_EQ(readTypedTime(QStringLiteral("  14:02  "), Newest), Newest - 5 * Second);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(readTypedTime(QStringLiteral("09.12.26 14:02:05"), Newest), Newest);
    EXPECT_EQ(readTypedTime(QStringLiteral("09.12.26 14:02"), Newest), Newest - 5 * Second);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(readTypedTime(QStringLiteral("12/9/26 2:02 PM"), Newest), Newest - 5 * Second);
    EXPECT_EQ(readTypedTime(QStringLiteral("2:02:05 PM"), Newest), Newest);
    EXPECT_EQ(readTypedTime(QStringLiteral("2:02:06 PM"), Newest), Newest + Second - 86400 * Second);
    for (const char* text : {"", "soon", "14:02 tomorrow", "31/31/26 2:02 PM"})
        EXPECT_FALSE(readTypedTime(QString::fromLatin1(text), Newest).has_value()) << text;
}

TEST_F(GoToTimeTest, TheFirstMessageAtOrAfterTheTimeIsSelectedAndItsTimeShown)
{
    ChildFrame& child = open(lines(), 4);
    ASSERT_TRUE(child.view().getFollow());
    // The field offers the newest message's time while none is selected.
    const std::vector<QString> offered = goTo(child, {QStringLiteral("14:00:10")});
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0], QStringLiteral("2026-12-09T14:02:05.000"));
    EXPECT_EQ(child.list().selectedRow(), 1);
    EXPECT_FALSE(child.view().getFollow());
    EXPECT_TRUE(scriptedBoxes.errors.empty());
    const QString status = app->GetMainFrame()->selectedTimeLabel().text();
    EXPECT_TRUE(status.endsWith(QStringLiteral("1 min 35 s before the end"))) << status.toStdString();

    goTo(child, {QStringLiteral("2026-12-09T13:01:00Z")});
    EXPECT_EQ(child.list().selectedRow(), 2);
    // A row clicked.
    LogList& list = child.list();
    QTest::mouseClick(
        list.viewport(), Qt::LeftButton, Qt::NoModifier, list.visualRect(list.model().index(3)).center());
    EXPECT_EQ(list.selectedRow(), 3);
    EXPECT_TRUE(app->GetMainFrame()->selectedTimeLabel().text().endsWith(QStringLiteral("at the end")));
}

TEST_F(GoToTimeTest, WhatIsNoTimeOrFindsNoMessageIsToldInABox)
{
    ChildFrame& child = open(lines(), 4);
    // Not a time: told, and asked again.
    const std::vector<QString> offered
        = goTo(child, {QStringLiteral("half past two"), QStringLiteral("2027-01-01")});
    EXPECT_EQ(offered.size(), 2u);
    ASSERT_EQ(scriptedBoxes.errors.size(), 2u);
    EXPECT_EQ(scriptedBoxes.errors[0], "\"half past two\" is not a time.");
    EXPECT_EQ(scriptedBoxes.errors[1].rfind("No message is at or after ", 0), 0u) << scriptedBoxes.errors[1];
    EXPECT_EQ(child.list().selectedRow(), -1);
    EXPECT_TRUE(child.view().getFollow());

    exit();
    scriptedBoxes.errors.clear();
    ChildFrame& untimed = open("no time\nnor here\n", 2);
    goTo(untimed, {});
    ASSERT_EQ(scriptedBoxes.errors.size(), 1u);
    EXPECT_EQ(scriptedBoxes.errors[0], "No message in this window states its time.");
}

// A message every second from 2026-12-09T10:00:00Z, its number in its text.
std::string secondLines(int count)
{
    std::string text;
    for (int n = 0; n < count; ++n) {
        char line[80];
        std::snprintf(line, sizeof line, "2026-12-09T%02d:%02d:%02dZ INFO message %d\n", 10 + n / 3600,
            n / 60 % 60, n % 60, n);
        text += line;
    }
    return text;
}

TEST_F(GoToTimeTest, AMomentBeforeTheKeptMessagesIsFoundInTheFilesHistory)
{
    path = log("app.log", secondLines(5000));
    useScriptedBoxes = true;
    start({path});
    ChildFrame& child = *app->GetDocTemplate().findFrame(path.c_str());
    app->GetMainFrame()->mdiArea().setActiveSubWindow(&child);
    LogListModel& model = child.list().model();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const HistoryRows* history = child.view().getHistoryRows();
            return history && history->isCounted() && model.historyRowCount() > 0;
        },
        60000));
    const auto selectedText
        = [&] { return model.data(child.list().currentIndex(), Qt::DisplayRole).toString().toStdString(); };
    // A row clicked first: Follow is off.
    LogList& list = child.list();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 30));
    // 10:00:12 UTC is 11:00:12 in Berlin: message 12, far before the kept ones.
    goTo(child, {QStringLiteral("11:00:12")});
    EXPECT_TRUE(scriptedBoxes.errors.empty());
    EXPECT_EQ(selectedText(), "2026-12-09T10:00:12Z INFO message 12");
    EXPECT_FALSE(child.view().getFollow());
    const QString status = app->GetMainFrame()->selectedTimeLabel().text();
    EXPECT_TRUE(status.endsWith(QStringLiteral("1 h 23 min before the end"))) << status.toStdString();
    EXPECT_TRUE(
        child.list().visualRect(child.list().currentIndex()).intersects(child.list().viewport()->rect()));
    // Within the kept ones, a kept row.
    goTo(child, {QStringLiteral("2026-12-09T11:23:00Z")});
    EXPECT_EQ(selectedText(), "2026-12-09T11:23:00Z INFO message 4980");
    EXPECT_GE(child.list().selectedRow(), 0);
    // Before the file's first message: its first.
    goTo(child, {QStringLiteral("2026-12-09T09:00:00Z")});
    EXPECT_EQ(selectedText(), "2026-12-09T10:00:00Z INFO message 0");
}

} // namespace
} // namespace kestrano::test
