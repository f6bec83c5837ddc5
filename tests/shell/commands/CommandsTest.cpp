// The command table, its routing, and what the main window and its toolbars offer.
#include "core/sources/SourceRegistry.h"
#include "core/view/ChildView.h"
#include "foundation/Exception.h"
#include "platform/qt/LogList.h"
#include "shell/app/ErrorGuard.h"
#include "shell/app/ProgramArguments.h"
#include "shell/commands/CommandTarget.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/MessageBoxAnswerer.h"
#include "tests/shell/ShellFixture.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <new>

namespace kestrano::test {
namespace {

using CommandsTest = ShellTest;

QStringList texts(const QList<QAction*>& actions)
{
    QStringList result;
    for (QAction* action : actions)
        result << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return result;
}

QStringList toolTips(QToolBar& bar)
{
    QStringList result;
    for (QAction* action : bar.actions())
        result << (action->isSeparator() ? QStringLiteral("-") : action->toolTip());
    return result;
}

TEST_F(CommandsTest, ToolbarsCarryTheirButtonsInOrder)
{
    const std::string path = log("tools.log", "x\n");
    start({path});
    MainFrame& frame = *app->GetMainFrame();
    EXPECT_EQ(frame.toolBar().windowTitle(), QStringLiteral("Tools"));
    EXPECT_EQ(toolTips(frame.toolBar()),
        QStringList({"Open", "-", "Cascade Windows", "Tile Windows horizontally", "Tile Windows vertically",
            "-", "Clear all windows", "Delete all open files", "-", "Setup", "About"}));
    EXPECT_EQ(frame.toolBar().allowedAreas(), Qt::AllToolBarAreas);

    ChildFrame* child = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->toolBar().windowTitle(), QStringLiteral("Tools"));
    EXPECT_EQ(toolTips(child->toolBar()),
        QStringList({"Show debug messages or higher", "Show information messages or higher",
            "Show warning messages or higher", "Show error messages or higher", "Show fatal messages only",
            "-", "Show unknown severity messages", "-", "View follows end of log", "Reload on change", "-",
            "Clear windows", "Delete file"}));
    EXPECT_EQ(child->toolBar().allowedAreas(), Qt::AllToolBarAreas);
}

TEST_F(CommandsTest, TheLogWindowShowsItsToolbarAndListInsideTheMainWindow)
{
    const std::string path = log("inside.log", "x\n");
    start({path});
    ChildFrame* child = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(child, nullptr);
    QWidget* content = child->widget();
    ASSERT_NE(content, nullptr);
    EXPECT_FALSE(content->isWindow());
    EXPECT_TRUE(content->isVisible());
    EXPECT_TRUE(child->toolBar().isVisible());
}

TEST_F(CommandsTest, LogToolbarChecksFollowTheSwitches)
{
    const std::string path = log("checks.log", "x\n");
    start({path});
    ChildFrame* child = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(child, nullptr);

    child->toolBarAction(Command::SetToWarnings)->trigger();
    EXPECT_EQ(child->view().getMinimumSeverity(), 2);
    int checked = 0;
    for (Command command : {Command::SetToDebugs, Command::SetToInformations, Command::SetToWarnings,
             Command::SetToErrors, Command::SetToFatals})
        checked += child->toolBarAction(command)->isChecked() ? 1 : 0;
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(child->toolBarAction(Command::SetToWarnings)->isChecked());
    // Pressing the checked one again keeps it checked.
    child->toolBarAction(Command::SetToWarnings)->trigger();
    EXPECT_TRUE(child->toolBarAction(Command::SetToWarnings)->isChecked());

    child->toolBarAction(Command::ToggleFollow)->trigger();
    EXPECT_FALSE(child->view().getFollow());
    EXPECT_FALSE(child->toolBarAction(Command::ToggleFollow)->isChecked());
    EXPECT_TRUE(child->toolBarAction(Command::ToggleUnknowns)->isChecked());
    EXPECT_FALSE(child->toolBarAction(Command::ToggleReloadOnChange)->isChecked());
    haspel::ConfigSection& root = app->GetConfigRootSection();
    EXPECT_EQ(stored(root, {"Workspace", path.c_str()}, "Follow"), "0");
    EXPECT_EQ(stored(root, {"Workspace", path.c_str()}, "MinimumSeverity"), "2");
}

TEST_F(CommandsTest, LogCommandsNeedALogWindowAndMenusSwap)
{
    start();
    MainFrame& frame = *app->GetMainFrame();
    for (Command command : {Command::SetToDebugs, Command::SetToFatals, Command::ToggleUnknowns,
             Command::Clear, Command::DeleteFile, Command::Refresh, Command::Cascade})
        EXPECT_FALSE(frame.action(command)->isEnabled()) << commandInfo(command).toolTip;
    for (Command command : {Command::Open, Command::ClearAll, Command::DeleteAllFiles, Command::Exit})
        EXPECT_TRUE(frame.action(command)->isEnabled()) << commandInfo(command).toolTip;
    EXPECT_EQ(texts(frame.menuBar()->actions()), QStringList({"&File", "&View", "&Help"}));

    const std::string path = log("menus.log", "x\n");
    ChildFrame* child = app->OpenDocumentFile(path.c_str());
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.action(Command::SetToDebugs)->isEnabled());
    EXPECT_TRUE(frame.action(Command::DeleteFile)->isEnabled());
    EXPECT_EQ(texts(frame.menuBar()->actions()),
        QStringList({"&File", "&Edit", "Fil&ter", "&View", "&Window", "&Help"}));

    child->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame.action(Command::SetToDebugs)->isEnabled());
    EXPECT_EQ(texts(frame.menuBar()->actions()), QStringList({"&File", "&View", "&Help"}));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Kestrano"));
}

TEST_F(CommandsTest, ShortcutsGoToTheActiveLogWindow)
{
    const std::string first = log("first.log", "x\n");
    const std::string second = log("second.log", "x\n");
    start({first, second});
    MainFrame& frame = *app->GetMainFrame();
    ChildFrame* active = app->GetDocTemplate().findFrame(second.c_str());
    ASSERT_EQ(frame.mdiArea().currentSubWindow(), active);
    frame.activateWindow();
    QApplication::setActiveWindow(&frame);

    QTest::keyClick(&active->list(), Qt::Key_E);
    EXPECT_EQ(active->view().getMinimumSeverity(), 3);
    EXPECT_EQ(app->GetDocTemplate().findFrame(first.c_str())->view().getMinimumSeverity(), 0);
}

TEST_F(CommandsTest, StatusBarShowsReadyAndPrompts)
{
    start();
    MainFrame& frame = *app->GetMainFrame();
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Ready"));
    frame.action(Command::Open)->showStatusText(&frame);
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Open an existing document."));
    QStatusTipEvent leave {QString()};
    QCoreApplication::sendEvent(&frame, &leave);
    EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("Ready"));
}

TEST_F(CommandsTest, AFailingHandlerEndsInAnErrorBoxAndTheProgramGoesOn)
{
    MessageBoxAnswerer boxes(QMessageBox::Ok);
    EXPECT_FALSE(runGuarded(nullptr, [] { throw haspel::EIllegalState("Broken state", "Test::run", 12); }));
    EXPECT_FALSE(runGuarded(nullptr, [] { throw haspel::EOutOfMemory(); }));
    EXPECT_FALSE(runGuarded(nullptr, [] { throw std::bad_alloc(); }));
    EXPECT_TRUE(runGuarded(nullptr, [] {}));
    EXPECT_EQ(boxes.texts, QStringList({"Broken state", "Out of memory.", "Out of memory."}));
    EXPECT_EQ(boxes.captions, QStringList({"Kestrano", "Kestrano", "Kestrano"}));
    EXPECT_EQ(boxes.icons.value(0), QMessageBox::Critical);
}

// A target whose table has one command always and one only while its condition holds.
class TwoCommands : public CommandTarget {
public:
    TwoCommands()
    {
        setCommands({{Command::Clear, [this] { ++cleared; }},
            {Command::Refresh, [this] { ++refreshed; }, [this] { return ready; }}});
    }
    int cleared = 0;
    int refreshed = 0;
    bool ready = false;
};

TEST(CommandTargetTest, TheTableSaysWhatIsHandledAndRunsItsRow)
{
    TwoCommands first, second;
    EXPECT_TRUE(first.handlesCommand(Command::Clear));
    EXPECT_FALSE(first.handlesCommand(Command::Refresh));
    EXPECT_FALSE(first.handlesCommand(Command::Open));
    // The route skips a target whose condition fails.
    EXPECT_EQ(findHandler(Command::Refresh, {nullptr, &first, &second}), nullptr);
    second.ready = true;
    EXPECT_EQ(findHandler(Command::Refresh, {nullptr, &first, &second}), &second);
    EXPECT_EQ(findHandler(Command::Clear, {&second, &first}), &second);
    second.runCommand(Command::Refresh);
    second.runCommand(Command::Open); // not in the table: nothing
    EXPECT_EQ(second.refreshed, 1);
    EXPECT_EQ(second.cleared, 0);
    EXPECT_EQ(first.refreshed, 0);
}

TEST(CommandTableTest, FiltersAndSwitchesCheckOnTheLogToolbarTheBarsInTheMenu)
{
    std::vector<Command> onToolbar, inMenu;
    for (const CommandInfo& info : commandTable()) {
        if (info.checkable == Checkable::OnLogToolbar)
            onToolbar.push_back(info.command);
        else if (info.checkable == Checkable::InMenu)
            inMenu.push_back(info.command);
    }
    EXPECT_EQ(onToolbar,
        (std::vector<Command> {Command::SetToDebugs, Command::SetToInformations, Command::SetToWarnings,
            Command::SetToErrors, Command::SetToFatals, Command::ToggleUnknowns, Command::ToggleFollow,
            Command::ToggleReloadOnChange}));
    EXPECT_EQ(inMenu,
        (std::vector<Command> {Command::Toolbar, Command::StatusBar, Command::FilterRow, Command::WrapRows,
            Command::ToggleTime, Command::ToggleTimeline, Command::ToggleHistory,
            Command::ToggleRotatedHistory}));
}

TEST(ProgramArgumentsTest, EveryArgumentButTheSwitchesIsAFile)
{
    const char* argv[]
        = {"kestrano", "/log", "debug", "a.log", "--log", "info", "/var/log/b", "--", "--help"};
    ProgramArguments parsed = parseProgramArguments(9, argv);
    EXPECT_EQ(parsed.files, (std::vector<std::string> {"a.log", "/var/log/b", "--help"}));
    EXPECT_FALSE(parsed.help);

    const char* help[] = {"kestrano", "--help", "--version", "/log"};
    parsed = parseProgramArguments(4, help);
    EXPECT_TRUE(parsed.help);
    EXPECT_TRUE(parsed.version);
    EXPECT_TRUE(parsed.files.empty());
}

TEST(ProgramArgumentsTest, UnknownOptionsAreRefusedAndDashedFilesComeAfterTheEnd)
{
    const char* bogus[] = {"kestrano", "a.log", "--bogus", "-x"};
    ProgramArguments parsed = parseProgramArguments(4, bogus);
    EXPECT_EQ(parsed.error, "unknown option '--bogus'"); // the first one
    EXPECT_EQ(usageErrorText("/usr/bin/kestrano", parsed.error),
        "kestrano: unknown option '--bogus'\nTry 'kestrano --help' for more information.\n");

    const char* dashed[] = {"kestrano", "", "-", "--", "-x.log", "", "--bogus"};
    parsed = parseProgramArguments(7, dashed);
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.files, (std::vector<std::string> {"-", "-x.log", "--bogus"}));

    const char* noLevel[] = {"kestrano", "a.log", "--log"};
    EXPECT_EQ(parseProgramArguments(3, noLevel).error, "option '--log' needs a level");
}

TEST(ProgramArgumentsTest, QtsOwnOptionsAreNeitherFilesNorErrors)
{
    const char* argv[] = {"kestrano", "-platform", "offscreen", "--style=fusion", "-reverse", "-display",
        ":3", "-qmljsdebugger=port:1", "a.log"};
    const ProgramArguments parsed = parseProgramArguments(9, argv);
    EXPECT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.files, (std::vector<std::string> {"a.log"}));
}

TEST(ProgramArgumentsTest, LongOptionsMayBeAbbreviatedAndSlashLogIsTheOnlySlashSwitch)
{
    // "--jour" would be "--journal" or "--journal-file".
    const char* argv[] = {"kestrano", "--he", "a.log", "--vers", "--journal=ssh", "--lo", "Debug", "/log",
        "info", "/var/log/syslog", "-h", "-"};
    ProgramArguments parsed = parseProgramArguments(12, argv);
    EXPECT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_TRUE(parsed.help);
    EXPECT_TRUE(parsed.version);
    EXPECT_EQ(parsed.logLevel, "Debug"); // the first given
    EXPECT_EQ(parsed.files, (std::vector<std::string> {"a.log", journalName("ssh"), "/var/log/syslog", "-"}));

    const char* slash[] = {"kestrano", "/log", "warn", "--log=error", "--", "/log", "x"};
    parsed = parseProgramArguments(7, slash);
    EXPECT_EQ(parsed.logLevel, "warn");
    EXPECT_EQ(parsed.files, (std::vector<std::string> {"/log", "x"}));
    const char* none[] = {"kestrano", "a.log"};
    EXPECT_FALSE(parseProgramArguments(2, none).logLevel);

    // A short option in a group is named alone; a missing level after an abbreviation names the option.
    const char* grouped[] = {"kestrano", "-hx"};
    EXPECT_EQ(parseProgramArguments(2, grouped).error, "unknown option '-x'");
    const char* cut[] = {"kestrano", "a.log", "--lo"};
    EXPECT_EQ(parseProgramArguments(3, cut).error, "option '--log' needs a level");
}

TEST(ProgramArgumentsTest, QtsOwnOptionsAreTakenWhereverTheyStandAsQtTakesThem)
{
    const char* argv[] = {"kestrano", "a.log", "--", "-reverse", "-style", "fusion", "-b.log"};
    const ProgramArguments parsed = parseProgramArguments(7, argv);
    EXPECT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.files, (std::vector<std::string> {"a.log", "-b.log"}));
}

} // namespace
} // namespace kestrano::test
