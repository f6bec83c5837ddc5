// The find bar, the text filter, Return and the context menu in a real log window: keys as a user
// types them, the configuration file written and read back.
#include "config/Config.h"
#include "core/view/ChildView.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/dialogs/MessageDialog.h"
#include "shell/widgets/FindBar.h"
#include "shell/widgets/PatternField.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace kestrano::test {
namespace {

// Rows 1, 4 and 6 are about order 10443.
const char* const Orders = "info start\n"
                           "info order 10443 received\n"
                           "info order 10444 received\n"
                           "warn stock low\n"
                           "warn ORDER 10443 late\n"
                           "error payment failed\n"
                           "info order 10443 shipped\n"
                           "info done\n";

class FindTest : public ShellTest {
protected:
    ChildFrame& startWith(const std::string& content)
    {
        path = log("orders.log", content);
        start({path});
        MainFrame& frame = *app->GetMainFrame();
        frame.activateWindow();
        QApplication::setActiveWindow(&frame);
        QCoreApplication::processEvents();
        ChildFrame* child = app->GetDocTemplate().findFrame(path.c_str());
        EXPECT_NE(child, nullptr);
        return *child;
    }
    std::vector<std::string> rows(ChildFrame& child)
    {
        QCoreApplication::processEvents(); // the rows reach the list view
        std::vector<std::string> texts;
        for (int32_t row = 0; row < child.list().rowCount(); ++row)
            texts.push_back(child.list()
                                .model()
                                .data(child.list().model().index(row), Qt::DisplayRole)
                                .toString()
                                .toStdString());
        return texts;
    }
    std::string path;
};

TEST_F(FindTest, TheNewCommandsNeedALogWindow)
{
    start();
    MainFrame& frame = *app->GetMainFrame();
    for (Command command : {Command::Find, Command::FindNext, Command::FindPrevious, Command::FilterText,
             Command::MessageDetails, Command::CopyMessage})
        EXPECT_FALSE(frame.action(command)->isEnabled()) << commandInfo(command).toolTip;
    app->OpenDocumentFile(log("some.log", "x\n").c_str());
    QCoreApplication::processEvents();
    for (Command command : {Command::Find, Command::FindNext, Command::FindPrevious, Command::FilterText,
             Command::MessageDetails, Command::CopyMessage})
        EXPECT_TRUE(frame.action(command)->isEnabled()) << commandInfo(command).toolTip;
}

TEST_F(FindTest, FindsAsYouTypeGoesBothWaysWrapsAndTurnsFollowOff)
{
    ChildFrame& child = startWith(Orders);
    LogList& list = child.list();
    FindBar& bar = child.findBar();
    EXPECT_FALSE(bar.isVisible());
    QTest::keyClick(&list, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(bar.isVisible());
    QLineEdit& field = bar.patternField();

    QTest::keyClicks(&field, "order 10443");
    EXPECT_EQ(list.selectedRow(), 1);
    EXPECT_EQ(bar.countLabel().text(), QStringLiteral("1 of 3"));
    EXPECT_FALSE(child.view().getFollow());
    EXPECT_FALSE(child.toolBarAction(Command::ToggleFollow)->isChecked());
    EXPECT_EQ(stored(app->GetConfigRootSection(), {"Workspace", path.c_str()}, "Follow"), "0");

    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(list.selectedRow(), 4);
    QTest::keyClick(&field, Qt::Key_F3);
    EXPECT_EQ(list.selectedRow(), 6);
    EXPECT_EQ(bar.countLabel().text(), QStringLiteral("3 of 3"));
    EXPECT_EQ(bar.noteLabel().text(), QString());
    QTest::keyClick(&field, Qt::Key_Enter);
    EXPECT_EQ(list.selectedRow(), 1);
    EXPECT_EQ(bar.noteLabel().text(), QStringLiteral("Passed the end, continued from the top"));
    QTest::keyClick(&field, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(list.selectedRow(), 6);
    EXPECT_EQ(bar.noteLabel().text(), QStringLiteral("Passed the top, continued from the end"));
    QTest::keyClick(&field, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(list.selectedRow(), 4);
    EXPECT_EQ(bar.countLabel().text(), QStringLiteral("2 of 3"));

    // Match case keeps the one row written in capitals; a pattern that matches nothing says so.
    bar.matchCaseBox().setChecked(true);
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&field, "ORDER 10443");
    EXPECT_EQ(list.selectedRow(), 4);
    EXPECT_EQ(bar.countLabel().text(), QStringLiteral("1 of 1"));
    QTest::keyClicks(&field, "9");
    EXPECT_EQ(bar.countLabel().text(), QStringLiteral("No match"));
    EXPECT_EQ(list.selectedRow(), 4);

    // Escape closes the bar and gives the list the keyboard; "/" in the list opens it again.
    QTest::keyClick(&field, Qt::Key_Escape);
    EXPECT_FALSE(bar.isVisible());
    EXPECT_EQ(list.highlight(), nullptr);
    QTest::keyClick(&list, Qt::Key_Slash);
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(field.selectedText(), QStringLiteral("ORDER 104439"));
}

TEST_F(FindTest, AnInvalidExpressionTurnsTheFieldRedWithPcre2sMessage)
{
    ChildFrame& child = startWith(Orders);
    FindBar& bar = child.findBar();
    app->GetMainFrame()->dispatch(Command::Find, &child);
    bar.regexBox().setChecked(true);
    QTest::keyClicks(&bar.patternField(), "order (1");
    EXPECT_TRUE(showsPatternError(bar.patternField()));
    EXPECT_EQ(bar.patternField().toolTip(), QStringLiteral("missing closing parenthesis (at offset 8)"));
    EXPECT_EQ(bar.countLabel().text(), QStringLiteral("Invalid expression"));
    EXPECT_EQ(child.list().highlight(), nullptr);
    QTest::keyClick(&bar.patternField(), Qt::Key_F3); // nothing to go to: the field, its text selected
    EXPECT_EQ(bar.patternField().selectedText(), QStringLiteral("order (1"));
    QTest::keyClick(&bar.patternField(), Qt::Key_End);
    QTest::keyClicks(&bar.patternField(), "0443) [a-z]+$");
    EXPECT_FALSE(showsPatternError(bar.patternField()));
    EXPECT_EQ(bar.countLabel().text(), QStringLiteral("1 of 3"));
    EXPECT_EQ(child.list().selectedRow(), 1);
}

TEST_F(FindTest, TheCountFollowsNewLinesAndFilters)
{
    ChildFrame& child = startWith(Orders);
    FindBar& bar = child.findBar();
    app->GetMainFrame()->dispatch(Command::Find, &child);
    QTest::keyClicks(&bar.patternField(), "10443");
    EXPECT_EQ(bar.countLabel().text(), QStringLiteral("1 of 3"));
    appendFile(path, "info order 10443 closed\ninfo order 10446 opened\n");
    app->GetMainFrame()->pollAllLogs();
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar.countLabel().text() == QStringLiteral("1 of 4"); }))
        << bar.countLabel().text().toStdString();
    EXPECT_EQ(child.list().selectedRow(), 1); // Follow is off: the new rows did not move anything

    QTest::keyClick(&child.list(), Qt::Key_W); // warnings and higher: the rows are rebuilt
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar.countLabel().text() == QStringLiteral("1 match"); }))
        << bar.countLabel().text().toStdString();
    QTest::keyClick(&bar.patternField(), Qt::Key_F3);
    EXPECT_EQ(bar.countLabel().text(), QStringLiteral("1 of 1"));
}

TEST_F(FindTest, MatchesAreMarkedInTheVisibleRows)
{
    ChildFrame& child = startWith(Orders);
    LogList& list = child.list();
    auto markedPixels = [&list] {
        const QImage image = list.viewport()->grab().toImage();
        int marked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                marked += image.pixelColor(x, y) == QColor(255, 214, 64);
        return marked;
    };
    EXPECT_EQ(markedPixels(), 0);
    app->GetMainFrame()->dispatch(Command::Find, &child);
    QTest::keyClicks(&child.findBar().patternField(), "10443");
    EXPECT_GT(markedPixels(), 100);
    QTest::keyClick(&child.findBar().patternField(), Qt::Key_Escape);
    EXPECT_EQ(markedPixels(), 0);
}

TEST_F(FindTest, ReturnOpensTheDetailsAndTheContextMenuOffersDetailsCopyAndFind)
{
    ChildFrame& child = startWith("disk error\n  at block 7\nnext\n");
    LogList& list = child.list();
    list.setFocus();
    list.selectRow(0);

    QString shown;
    QTimer::singleShot(50, [&] {
        if (auto* dialog = qobject_cast<MessageDialog*>(QApplication::activeModalWidget())) {
            shown = dialog->shownText();
            dialog->accept();
        }
    });
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(shown, QStringLiteral("disk error\nat block 7"));

    QStringList entries;
    QTimer::singleShot(50, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                entries << action->text();
            for (QAction* action : menu->actions())
                if (action->text().startsWith(QStringLiteral("&Copy")))
                    menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    const QPoint second = list.visualRect(list.model().index(1)).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, second, list.viewport()->mapToGlobal(second));
    QCoreApplication::sendEvent(list.viewport(), &click);
    EXPECT_EQ(entries, QStringList({"&Details...\tEnter", "&Copy\tCtrl+C", "&Find...\tCtrl+F"}));
    EXPECT_EQ(list.selectedRow(), 1); // the row clicked is the one the menu is about
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("next"));

    list.selectRow(0);
    app->GetMainFrame()->dispatch(Command::CopyMessage, &child);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("disk error\n\tat block 7"));
}

TEST_F(FindTest, TheTextFilterIsStoredAtOnceAndComesBackAtTheNextStart)
{
    ChildFrame& child = startWith(Orders);
    QTest::keyClick(&child.list(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(child.filterField().hasFocus());
    QTest::keyClicks(&child.filterField(), "10443");
    EXPECT_EQ(rows(child),
        (std::vector<std::string> {
            "info order 10443 received", "warn ORDER 10443 late", "info order 10443 shipped"}));
    haspel::ConfigSection& root = app->GetConfigRootSection();
    EXPECT_EQ(stored(root, {"Workspace", path.c_str()}, "TextFilter"), "10443");
    EXPECT_EQ(stored(root, {"Workspace", path.c_str()}, "TextFilterHides"), "0");

    child.filterMode().setCurrentIndex(1);
    EXPECT_EQ(rows(child).size(), 5u);
    EXPECT_EQ(stored(root, {"Workspace", path.c_str()}, "TextFilterHides"), "1");
    // D and E are typed into the field, not taken as the severity keys.
    child.filterField().clear();
    child.filterMode().setCurrentIndex(0);
    child.filterRegexButton().click();
    QTest::keyClicks(&child.filterField(), "(start|done)$|(");
    EXPECT_TRUE(showsPatternError(child.filterField()));
    EXPECT_EQ(rows(child).size(), 8u); // an invalid expression filters nothing
    EXPECT_EQ(child.view().getMinimumSeverity(), 0);
    QTest::keyClick(&child.filterField(), Qt::Key_Backspace);
    QTest::keyClick(&child.filterField(), Qt::Key_Backspace);
    EXPECT_FALSE(showsPatternError(child.filterField()));
    EXPECT_EQ(rows(child), (std::vector<std::string> {"info start", "info done"}));
    child.filterCaseButton().click();
    exit();

    auto saved = savedConfiguration();
    EXPECT_EQ(stored(saved->GetRoot(), {"Workspace", path.c_str()}, "TextFilter"), "(start|done)$");
    EXPECT_EQ(stored(saved->GetRoot(), {"Workspace", path.c_str()}, "TextFilterRegex"), "1");
    EXPECT_EQ(stored(saved->GetRoot(), {"Workspace", path.c_str()}, "TextFilterCase"), "1");

    editConfiguration([this](haspel::ConfigSection& config) {
        haspel::ConfigSection& entry = config.GetSection("Workspace").GetSection(path.c_str());
        entry.GetParameter("TextFilter").SetString("order \"1\\d+4\"");
        entry.GetParameter("TextFilterHides").SetBool(false);
        entry.GetParameter("TextFilterCase").SetBool(false);
    });
    writeFile(path, std::string(Orders) + "info order \"10444\" \n");
    start();
    ChildFrame* again = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(again, nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(rows(*again), (std::vector<std::string> {"info order \"10444\""}));
    EXPECT_EQ(again->filterField().text(), QStringLiteral("order \"1\\d+4\""));
    EXPECT_EQ(again->filterMode().currentIndex(), 0);
    EXPECT_TRUE(again->filterRegexButton().isChecked());
    EXPECT_FALSE(again->filterCaseButton().isChecked());
}

// A narrow window: the labels give way to icons and signs before the field gets narrower than twelve
// characters; a wide one shows them again.
TEST_F(FindTest, ANarrowFindBarCollapsesItsLabelsBeforeTheField)
{
    ChildFrame& child = startWith(Orders);
    FindBar& bar = child.findBar();
    bar.open();
    const auto fieldIsWideEnough = [&bar] {
        QLineEdit& field = bar.patternField();
        return field.width() >= field.fontMetrics().averageCharWidth() * 12;
    };
    child.resize(1400, 400);
    QCoreApplication::processEvents();
    EXPECT_FALSE(bar.isCompact());
    EXPECT_EQ(bar.nextButton().text(), QStringLiteral("Next"));
    EXPECT_EQ(bar.matchCaseBox().text(), QStringLiteral("Match case"));

    child.resize(420, 400);
    QCoreApplication::processEvents();
    EXPECT_TRUE(bar.isCompact());
    EXPECT_TRUE(fieldIsWideEnough());
    EXPECT_TRUE(bar.nextButton().text().isEmpty());
    EXPECT_FALSE(bar.nextButton().icon().isNull());
    EXPECT_EQ(bar.nextButton().toolTip(), QStringLiteral("Next match (F3)"));
    EXPECT_EQ(bar.nextButton().accessibleName(), QStringLiteral("Next"));
    EXPECT_EQ(bar.matchCaseBox().text(), QStringLiteral("Aa"));
    EXPECT_EQ(bar.matchCaseBox().toolTip(), QStringLiteral("Match case"));
    EXPECT_EQ(bar.regexBox().text(), QStringLiteral(".*"));

    child.resize(1400, 400);
    QCoreApplication::processEvents();
    EXPECT_FALSE(bar.isCompact());
    EXPECT_TRUE(fieldIsWideEnough());
}

} // namespace
} // namespace kestrano::test
