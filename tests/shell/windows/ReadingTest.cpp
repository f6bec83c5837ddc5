// Reading a log in its window: Follow as the user scrolls, copying several rows and saving the shown
// messages in the form kestrano-tail prints them.
#include "core/view/ChildView.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QWheelEvent>

namespace kestrano::test {
namespace {

class ReadingTest : public ShellTest {
protected:
    ChildFrame& startWith(const std::string& content)
    {
        path = log("app.log", content);
        start({path});
        MainFrame& frame = *app->GetMainFrame();
        frame.resize(800, 600);
        frame.activateWindow();
        QApplication::setActiveWindow(&frame);
        ChildFrame* child = app->GetDocTemplate().findFrame(path.c_str());
        EXPECT_NE(child, nullptr);
        child->showMaximized();
        QCoreApplication::processEvents();
        return *child;
    }
    static bool atEnd(const LogList& list)
    {
        const QScrollBar* bar = list.verticalScrollBar();
        return bar->maximum() > 0 && bar->value() == bar->maximum();
    }
    // Appends lines and lets the next poll read them.
    void append(const std::string& lines)
    {
        appendFile(path, lines);
        app->GetMainFrame()->pollAllLogs();
        QCoreApplication::processEvents();
    }
    std::string path;
};

std::string manyLines(int from, int count)
{
    std::string lines;
    for (int i = from; i < from + count; ++i)
        lines += "info line " + std::to_string(i) + "\n";
    return lines;
}

TEST_F(ReadingTest, ScrollingAwayTurnsFollowOffAndBackToTheEndTurnsItOn)
{
    ChildFrame& child = startWith(manyLines(0, 300));
    LogList& list = child.list();
    QAction& follow = *child.toolBarAction(Command::ToggleFollow);
    ASSERT_TRUE(child.view().getFollow());
    ASSERT_TRUE(QTest::qWaitFor([&] { return atEnd(list); }, 10000));

    // Page Up: the view stays where the user went, also when lines come.
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_PageUp);
    EXPECT_FALSE(child.view().getFollow());
    EXPECT_FALSE(follow.isChecked());
    const int place = list.verticalScrollBar()->value();
    append(manyLines(300, 20));
    EXPECT_EQ(list.verticalScrollBar()->value(), place);

    // End follows again, and the next lines are shown.
    QTest::keyClick(&list, Qt::Key_End);
    EXPECT_TRUE(child.view().getFollow());
    EXPECT_TRUE(follow.isChecked());
    append(manyLines(320, 20));
    EXPECT_TRUE(atEnd(list));

    // The wheel, up and down again to the end.
    const QPoint middle = list.viewport()->rect().center();
    QWheelEvent up(middle, list.viewport()->mapToGlobal(middle), QPoint(), QPoint(0, 240), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(list.viewport(), &up);
    EXPECT_FALSE(child.view().getFollow());
    QWheelEvent down(middle, list.viewport()->mapToGlobal(middle), QPoint(), QPoint(0, -2400), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(list.viewport(), &down);
    EXPECT_TRUE(child.view().getFollow());

    // Dragging the scroll bar up: judged once it moved.
    list.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !child.view().getFollow(); }, 10000));

    // Clicking an earlier row.
    QTest::keyClick(&list, Qt::Key_End);
    ASSERT_TRUE(child.view().getFollow());
    const QModelIndex top = list.indexAt(QPoint(2, 2));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(top).center());
    EXPECT_FALSE(child.view().getFollow());

    // The shortcut, L, as the toolbar button.
    QTest::keyClick(&list, Qt::Key_L);
    EXPECT_TRUE(child.view().getFollow());
    EXPECT_TRUE(atEnd(list));
    EXPECT_EQ(app->GetMainFrame()->action(Command::ToggleFollow)->shortcut(), QKeySequence(Qt::Key_L));
}

TEST_F(ReadingTest, AFollowedWindowShowsItsLastRowAfterTileCascadeAndFilters)
{
    ChildFrame& child = startWith(manyLines(0, 300) + "error last one\n");
    const std::string other = log("other.log", "x\n");
    app->OpenDocumentFile(other.c_str());
    MainFrame& frame = *app->GetMainFrame();
    LogList& list = child.list();
    const auto lastRowShown = [&list] {
        QCoreApplication::processEvents();
        const int last = list.model().rowCount() - 1;
        return last >= 0 && list.viewport()->rect().contains(list.visualRect(list.model().index(last)));
    };
    for (Command arrange : {Command::TileHorizontally, Command::Cascade, Command::TileVertically}) {
        frame.dispatch(arrange, nullptr);
        EXPECT_TRUE(QTest::qWaitFor(lastRowShown, 10000)) << static_cast<int>(arrange);
    }
    frame.dispatch(Command::SetToWarnings, &child);
    EXPECT_TRUE(QTest::qWaitFor(lastRowShown, 10000));
    frame.dispatch(Command::SetToDebugs, &child);
    EXPECT_TRUE(QTest::qWaitFor(lastRowShown, 10000));
    child.filterField().setText(QStringLiteral("line 1"));
    EXPECT_TRUE(QTest::qWaitFor(lastRowShown, 10000));
    EXPECT_TRUE(child.view().getFollow());
}

TEST_F(ReadingTest, SeveralRowsAreCopiedWithLineFeedsAndTabbedContinuations)
{
    ChildFrame& child = startWith("error boom\n  at a.b(C.java:1)\n  at d.e(F.java:2)\n"
                                  "info between\n"
                                  "warn caf\xc3\xa9 \xff\n");
    LogList& list = child.list();
    list.setFocus();
    list.selectRow(0);
    QTest::keyClick(&list, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&list, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(list.selectedRows(), (std::vector<int32_t> {0, 1, 2}));
    app->GetMainFrame()->dispatch(Command::CopyMessage, &child);
    EXPECT_EQ(QApplication::clipboard()->text(),
        QString::fromUtf8("error boom\n\tat a.b(C.java:1)\n\tat d.e(F.java:2)\ninfo between\nwarn café ")
            + QChar(0xff));

    // Ctrl+click adds or leaves out a single row.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier,
        list.visualRect(list.model().index(1)).center());
    EXPECT_EQ(list.selectedRows(), (std::vector<int32_t> {0, 2}));
    QTest::keySequence(&list, QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(),
        QString::fromUtf8("error boom\n\tat a.b(C.java:1)\n\tat d.e(F.java:2)\nwarn café ") + QChar(0xff));
}

TEST_F(ReadingTest, SaveMessagesWritesTheShownMessagesAsTheyAreCopied)
{
    ChildFrame& child = startWith("error boom\n  at a.b(C.java:1)\ninfo hidden\nwarn \xff raw\n");
    app->GetMainFrame()->dispatch(Command::SetToWarnings, &child);
    QCoreApplication::processEvents();
    const std::string saved = logs.file("saved.txt");
    ASSERT_TRUE(child.saveMessages(QString::fromStdString(saved)));
    EXPECT_EQ(readFile(saved), "error boom\n\tat a.b(C.java:1)\nwarn \xff raw\n");

    // A file that can't be written is told, and nothing is left behind.
    useScriptedBoxes = true;
    exit();
    start({path});
    ChildFrame* again = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(again->saveMessages(QString::fromStdString(logs.file("no/such/folder/x.txt"))));
    ASSERT_EQ(scriptedBoxes.errors.size(), 1u);
    EXPECT_EQ(scriptedBoxes.errors[0].rfind("Cannot save " + logs.file("no/such/folder/x.txt") + ": ", 0), 0u)
        << scriptedBoxes.errors[0];
    EXPECT_TRUE(app->GetMainFrame()->action(Command::SaveMessages)->isEnabled());
}

} // namespace
} // namespace kestrano::test
