// The log windows inside the main window: where new ones go, the caption, the bars and their check
// marks, the Window menu and the keys of multiple-window programs.
#include "config/Config.h"
#include "core/text/KeywordLists.h"
#include "core/text/Message.h"
#include "platform/qt/LogFont.h"
#include "platform/qt/LogList.h"
#include "shell/dialogs/MessageDialog.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "shell/windows/WindowArrangement.h"
#include "tests/shell/ShellFixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolBar>

namespace kestrano::test {
namespace {

using WindowsTest = ShellTest;

TEST(CascadedPlaceTest, StepsDownAndStartsOverInsideTheArea)
{
    const QSize space(800, 600);
    EXPECT_EQ(cascadedPlace(space, 0, 25), QRect(0, 0, 725, 525));
    EXPECT_EQ(cascadedPlace(space, 1, 25), QRect(25, 25, 725, 525));
    EXPECT_EQ(cascadedPlace(space, 3, 25), QRect(75, 75, 725, 525));
    EXPECT_EQ(cascadedPlace(space, 4, 25), QRect(0, 0, 725, 525));
    // A small area: at least half of it, and only the steps that fit.
    EXPECT_EQ(cascadedPlace(QSize(100, 80), 0, 25), QRect(0, 0, 50, 40));
    EXPECT_EQ(cascadedPlace(QSize(100, 80), 1, 25), QRect(25, 25, 50, 40));
    EXPECT_EQ(cascadedPlace(QSize(100, 80), 2, 25), QRect(0, 0, 50, 40));
    for (int index = 0; index < 10; ++index) {
        for (const QSize size : {QSize(500, 400), QSize(90, 300), QSize(3, 3)}) {
            const QRect place = cascadedPlace(size, index, 22);
            EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(place)) << index << " " << size.width();
        }
    }
}

TEST_F(WindowsTest, NewWindowsCascadeInsideTheAreaOnAFirstRun)
{
    const std::string a = log("a.log", "one\n");
    const std::string b = log("b.log", "two\n");
    const std::string c = log("c.log", "three\n");
    start({a, b, c});
    MainFrame& frame = *app->GetMainFrame();
    const QRect area = frame.mdiArea().viewport()->rect();
    std::vector<QRect> places;
    for (const std::string& path : {a, b, c}) {
        ChildFrame* child = app->GetDocTemplate().findFrame(path.c_str());
        ASSERT_NE(child, nullptr);
        EXPECT_TRUE(area.contains(child->geometry())) << path;
        places.push_back(child->geometry());
    }
    EXPECT_LT(places[0].topLeft().x(), places[1].topLeft().x());
    EXPECT_LT(places[1].topLeft().y(), places[2].topLeft().y());
    EXPECT_EQ(places[0].size(), places[2].size());

    // One opened later goes on cascading, inside the area as it is now.
    const std::string d = log("d.log", "four\n");
    ChildFrame* later = app->OpenDocumentFile(d.c_str());
    EXPECT_TRUE(frame.mdiArea().viewport()->rect().contains(later->geometry()));
    EXPECT_NE(later->geometry().topLeft(), places[2].topLeft());
}

TEST_F(WindowsTest, AMaximisedLogWindowNamesItselfOnceInTheCaption)
{
    const std::string other = log("other.log", "x\n");
    const std::string path = log("rot.log", "x\n");
    start({other, path});
    MainFrame& frame = *app->GetMainFrame();
    ChildFrame* child = app->GetDocTemplate().findFrame(path.c_str());
    const auto captionBecomes = [&](const char* caption) {
        const bool became
            = QTest::qWaitFor([&] { return frame.windowTitle() == QString::fromLatin1(caption); });
        EXPECT_TRUE(became) << frame.windowTitle().toStdString() << " instead of " << caption;
    };
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Kestrano - rot.log"));
    child->showMaximized();
    captionBecomes("Kestrano - [rot.log]");
    // Going to the other window keeps the area maximised.
    frame.mdiArea().activateNextSubWindow();
    captionBecomes("Kestrano - [other.log]");
    frame.mdiArea().activateNextSubWindow();
    captionBecomes("Kestrano - [rot.log]");
    child->showNormal();
    captionBecomes("Kestrano - rot.log");
}

TEST_F(WindowsTest, NoBarIsLostAndEveryCheckMarkTellsTheTruth)
{
    const std::string path = log("bars.log", "x\n");
    start({path});
    MainFrame& frame = *app->GetMainFrame();
    QAction* toolbar = frame.action(Command::Toolbar);
    EXPECT_TRUE(toolbar->isChecked());
    // The window's context menu hides the main toolbar the way the framework does.
    frame.toolBar().toggleViewAction()->trigger();
    EXPECT_FALSE(frame.toolBar().isVisibleTo(&frame));
    EXPECT_FALSE(toolbar->isChecked());
    toolbar->trigger();
    EXPECT_TRUE(frame.toolBar().isVisibleTo(&frame));
    EXPECT_TRUE(toolbar->isChecked());

    // A log window's toolbar has no context menu that could hide it for good.
    ChildFrame* child = app->GetDocTemplate().findFrame(path.c_str());
    QWidget* inner = child->toolBar().parentWidget();
    ASSERT_NE(qobject_cast<QMainWindow*>(inner), nullptr);
    QContextMenuEvent menuRequest(QContextMenuEvent::Mouse, QPoint(5, 5), inner->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(inner, &menuRequest);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(child->toolBar().isVisibleTo(child));
}

TEST_F(WindowsTest, TheWindowMenuMarksOnlyTheActiveWindow)
{
    const std::string first = log("first.log", "x\n");
    const std::string second = log("second.log", "x\n");
    start({first, second});
    MainFrame& frame = *app->GetMainFrame();
    QMenu* window = menuNamed(frame, "&Window");
    ASSERT_NE(window, nullptr);
    QMetaObject::invokeMethod(window, "aboutToShow");
    QStringList marks;
    for (QAction* entry : window->actions()) {
        if (entry->text().startsWith(QLatin1Char('&')) && entry->text().contains(QStringLiteral(".log")))
            marks << QStringLiteral("%1 %2 %3")
                         .arg(entry->text())
                         .arg(entry->isCheckable())
                         .arg(entry->isChecked());
    }
    EXPECT_EQ(marks, QStringList({"&1 first.log 0 0", "&2 second.log 1 1"}));
}

TEST_F(WindowsTest, CtrlF6CyclesCtrlF4ClosesCtrlQExits)
{
    const std::string first = log("first.log", "x\n");
    const std::string second = log("second.log", "x\n");
    const std::string third = log("third.log", "x\n");
    start({first, second, third});
    MainFrame& frame = *app->GetMainFrame();
    QApplication::setActiveWindow(&frame);
    const auto active = [&] { return frame.activeChild() ? frame.activeChild()->windowTitle() : QString(); };
    EXPECT_EQ(active(), QStringLiteral("third.log"));

    QTest::keyClick(&frame, Qt::Key_F6, Qt::ControlModifier);
    const QString next = active();
    EXPECT_NE(next, QStringLiteral("third.log"));
    QTest::keyClick(&frame, Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(active(), QStringLiteral("third.log"));

    // Closed as by the user: its workspace entry goes.
    QTest::keyClick(&frame, Qt::Key_F4, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(app->GetDocTemplate().count(), 2);
    EXPECT_EQ(app->GetDocTemplate().findFrame(third.c_str()), nullptr);
    EXPECT_EQ(app->GetConfigRootSection().GetSection("Workspace").FindSection(third.c_str()), nullptr);

    // Alt+X stays; Ctrl+Q does the same.
    EXPECT_TRUE(frame.action(Command::Exit)->shortcuts().contains(QKeySequence(QStringLiteral("Alt+X"))));
    QTest::keyClick(&frame, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(frame.isVisible());
    EXPECT_TRUE(frame.isClosing());
}

// A platform theme may name a proportional font as the fixed one: the log's columns still line up.
TEST_F(WindowsTest, AProportionalFixedFontGivesWayToAFixedPitchFamily)
{
    start();
    const QFont proportional(QStringLiteral("DejaVu Sans"), 13);
    ASSERT_FALSE(QFontInfo(proportional).fixedPitch()) << "the machine lacks DejaVu Sans";
    const QFont fixed = fixedPitchFont(proportional);
    EXPECT_TRUE(QFontInfo(fixed).fixedPitch()) << fixed.family().toStdString();
    EXPECT_EQ(fixed.pointSize(), 13);
    EXPECT_EQ(QFontMetrics(fixed).horizontalAdvance(QStringLiteral("iiii")),
        QFontMetrics(fixed).horizontalAdvance(QStringLiteral("WWWW")));
    // A fixed-pitch font stays as it is.
    const QFont mono(QStringLiteral("DejaVu Sans Mono"), 9);
    EXPECT_EQ(fixedPitchFont(mono), mono);
    EXPECT_TRUE(QFontInfo(logFont()).fixedPitch());
}

TEST_F(WindowsTest, LogsAreShownInTheDesktopsFixedFontOrTheOneChosenWhichIsKept)
{
    const std::string first = log("first.log", "12:00:01 info  started\n12:00:02 error failed\n");
    start({first});
    ChildFrame* frame = app->GetDocTemplate().findFrame(first.c_str());
    const QFont desktop = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    EXPECT_EQ(frame->list().font().family(), desktop.family());
    EXPECT_EQ(frame->list().font().pointSize(), desktop.pointSize());

    QFont chosen(QStringLiteral("Serif"), 15);
    app->SetLogFont(chosen.toString());
    EXPECT_EQ(frame->list().font().pointSize(), 15);
    const std::string second = log("second.log", "x\n");
    EXPECT_EQ(app->OpenDocumentFile(second.c_str())->list().font().pointSize(), 15);
    exit();
    EXPECT_EQ(stored(savedConfiguration()->GetRoot(), {"View"}, "Font"), chosen.toString().toStdString());

    start();
    ChildFrame* again = app->GetDocTemplate().findFrame(first.c_str());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->list().font().family(), chosen.family());
    EXPECT_EQ(again->list().font().pointSize(), 15);
    const KeywordLists keywords(app->GetSettings());
    Message message("12:00:02 error failed", 21, keywords);
    MessageDialog details(message, nullptr);
    EXPECT_EQ(details.textBox().font().pointSize(), 15);

    // Back to the desktop's font; nonsense in the file is the desktop's font too.
    app->SetLogFont(QString());
    EXPECT_EQ(again->list().font().family(), desktop.family());
    exit();
    EXPECT_EQ(stored(savedConfiguration()->GetRoot(), {"View"}, "Font"), "");
    editConfiguration(
        [](haspel::ConfigSection& root) { root.GetSection("View").GetParameter("Font").SetString(","); });
    start();
    EXPECT_EQ(app->GetDocTemplate().findFrame(first.c_str())->list().font().family(), desktop.family());
}

} // namespace
} // namespace kestrano::test
