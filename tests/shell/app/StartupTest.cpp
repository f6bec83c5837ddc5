// The application object's life: settings loaded and stored, start-up, workspace, shut-down.
#include "config/Config.h"
#include "core/settings/MonitorSettings.h"
#include "core/settings/WorkspaceStore.h"
#include "core/text/Severity.h"
#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QToolBar>

#include <cstring>
#include <filesystem>

namespace kestrano::test {
namespace {

using StartupTest = ShellTest;

TEST_F(StartupTest, FirstRunWritesAllSettingsAtExit)
{
    start();
    EXPECT_EQ(app->GetDocTemplate().count(), 0);
    EXPECT_TRUE(app->GetMainFrame()->isVisible());
    EXPECT_FALSE(app->IsStarting());
    exit();

    auto config = savedConfiguration();
    haspel::ConfigSection& root = config->GetRoot();
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } expected[] = {
        {"Analyze", "DebugInformation", "debug debg"},
        {"Analyze", "Information", "info notice"},
        {"Analyze", "Warning", "warn"},
        {"Analyze", "Error", "error exception"},
        {"Analyze", "Fatal", "fatal crit"},
        {"Analyze", "MultiLine", "1"},
        {"Analyze", "UpdateEvery", "1000"},
        {"Sizes", "InitiallyReadBytes", "65536"},
        {"Sizes", "KeepLines", "1000"},
        {"Notifications", "OnTop", "3"},
        {"Notifications", "PlaySound", "2"},
        {"Notifications", "Desktop", "1"},
    };
    for (const auto& setting : expected) {
        EXPECT_EQ(stored(root, {setting.section}, setting.key), setting.value) << setting.key;
    }
}

TEST_F(StartupTest, StoredValuesAreTakenAsTheyStandAndWrittenBack)
{
    editConfiguration([](haspel::ConfigSection& root) {
        root.GetSection("Analyze").GetParameter("UpdateEvery").SetInt(20);
        root.GetSection("Analyze").GetParameter("Error").SetString("  Disk   FAIL ");
        root.GetSection("Sizes").GetParameter("KeepLines").SetString("lots");
    });
    start();
    EXPECT_EQ(app->GetSettings().GetUpdateEvery(), 20);
    EXPECT_EQ(app->GetSettings().GetKeepLines(), 0);
    EXPECT_EQ(app->GetMainFrame()->updateTimer().interval(), 20);
    exit();

    auto config = savedConfiguration();
    EXPECT_EQ(stored(config->GetRoot(), {"Analyze"}, "Error"), "disk fail");
    EXPECT_EQ(stored(config->GetRoot(), {"Sizes"}, "KeepLines"), "0");
}

TEST_F(StartupTest, WorkspaceComesBackAsStoredAndStartingStoresNothing)
{
    const std::string first = log("first.log", "one\ntwo\n");
    const std::string second = log("second.log", "three\n");
    const std::string named = log("named.log", "four\n");
    editConfiguration([&](haspel::ConfigSection& root) {
        haspel::ConfigSection& workspace = root.GetSection("Workspace");
        haspel::ConfigSection& a = workspace.GetSection(first.c_str());
        a.GetParameter("MinimumSeverity").SetInt(3);
        a.GetParameter("Follow").SetBool(false);
        a.GetParameter("ReloadOnChange").SetBool(true);
        a.GetParameter("ShowUnknown").SetBool(false);
        haspel::ConfigSection& place = a.GetSection("ChildFrame");
        place.GetParameter("XPos").SetInt(10);
        place.GetParameter("YPos").SetInt(20);
        place.GetParameter("XSize").SetInt(300);
        place.GetParameter("YSize").SetInt(200);
        workspace.GetSection(second.c_str()).GetParameter("Follow").SetBool(true);
        workspace.GetSection("").GetParameter("Follow").SetBool(true);
    });

    start({named});
    ASSERT_EQ(app->GetDocTemplate().count(), 3);
    ChildFrame* a = app->GetDocTemplate().findFrame(first.c_str());
    ChildFrame* b = app->GetDocTemplate().findFrame(second.c_str());
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->geometry(), QRect(10, 20, 300, 200));
    EXPECT_EQ(a->view().getMinimumSeverity(), 3);
    EXPECT_FALSE(a->view().getFollow());
    EXPECT_TRUE(a->view().getReloadOnChange());
    EXPECT_FALSE(a->view().getShowUnknown());
    EXPECT_TRUE(a->toolBarAction(Command::SetToErrors)->isChecked());
    EXPECT_FALSE(a->toolBarAction(Command::SetToDebugs)->isChecked());
    EXPECT_FALSE(a->toolBarAction(Command::ToggleFollow)->isChecked());
    EXPECT_TRUE(a->toolBarAction(Command::ToggleReloadOnChange)->isChecked());
    EXPECT_FALSE(a->toolBarAction(Command::ToggleUnknowns)->isChecked());
    EXPECT_EQ(b->view().getMinimumSeverity(), 0);
    EXPECT_TRUE(b->view().getFollow());
    EXPECT_EQ(b->geometry(), QRect(50, 50, 500, 500));

    haspel::ConfigSection& root = app->GetConfigRootSection();
    EXPECT_EQ(stored(root, {"Workspace", first.c_str(), "ChildFrame"}, "XPos"), "10");
    // Reading with defaults filled the entry of the second log.
    EXPECT_EQ(stored(root, {"Workspace", second.c_str()}, "ReloadOnChange"), "0");
    EXPECT_EQ(stored(root, {"Workspace", second.c_str(), "ChildFrame"}, "YSize"), "500");
    // Stored entries stay as they were; the file named on the command line joins the workspace.
    EXPECT_EQ(stored(root, {"Workspace", first.c_str(), "ChildFrame"}, "XSize"), "300");
    ChildFrame* c = app->GetDocTemplate().findFrame(named.c_str());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(stored(root, {"Workspace", named.c_str(), "ChildFrame"}, "XSize"), std::to_string(c->width()));
    EXPECT_EQ(stored(root, {"Workspace", named.c_str(), "ChildFrame"}, "YPos"), std::to_string(c->y()));
}

TEST_F(StartupTest, ARestoredLogIsReadOnceWithItsStoredSwitchesFilterAndPlace)
{
    const std::string path
        = log("restored.log", "info starting\nerror disk full\ninfo disk fine\nwarn disk low\n");
    editConfiguration([&](haspel::ConfigSection& root) {
        haspel::ConfigSection& entry = root.GetSection("Workspace").GetSection(path.c_str());
        entry.GetParameter("MinimumSeverity").SetInt(Severity::Warning);
        entry.GetParameter("TextFilter").SetString("disk");
        haspel::ConfigSection& place = entry.GetSection("ChildFrame");
        place.GetParameter("XPos").SetInt(15);
        place.GetParameter("YPos").SetInt(25);
        place.GetParameter("XSize").SetInt(310);
        place.GetParameter("YSize").SetInt(210);
    });
    // What the log's view and window hold when the file is first opened, and the list's rebuilds after.
    int reads = 0;
    int rebuildsAfterRead = 0;
    LogSwitches switchesAtRead;
    TextFilter filterAtRead;
    QRect placeAtRead;
    files.onRead = [&] {
        ChildFrame* frame = app ? app->GetDocTemplate().findFrame(path.c_str()) : nullptr;
        if (!frame || reads++ > 0)
            return;
        switchesAtRead = frame->view().getSwitches();
        filterAtRead = frame->view().getTextFilter();
        placeAtRead = frame->geometry();
        QObject::connect(&frame->list().model(), &QAbstractItemModel::modelAboutToBeReset,
            [&rebuildsAfterRead] { ++rebuildsAfterRead; });
    };
    app = std::make_unique<Kestrano>(std::make_unique<RecordingAlertSound>(soundPlays), &files);
    app->InitInstance({});
    // Before the event loop turns, when the list announces the rows it was given.
    EXPECT_EQ(rebuildsAfterRead, 0);
    QCoreApplication::processEvents();
    files.onRead = nullptr;

    EXPECT_EQ(reads, 1);
    EXPECT_EQ(switchesAtRead.minimumSeverity, Severity::Warning);
    EXPECT_EQ(filterAtRead.pattern, "disk");
    EXPECT_EQ(placeAtRead, QRect(15, 25, 310, 210));
    ChildFrame* frame = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->list().rowCount(), 2);
    EXPECT_STREQ(frame->list().rowMessage(0)->getText(), "error disk full");
    EXPECT_STREQ(frame->list().rowMessage(1)->getText(), "warn disk low");
    EXPECT_EQ(frame->filterField().text(), QStringLiteral("disk"));
    EXPECT_TRUE(frame->toolBarAction(Command::SetToWarnings)->isChecked());
}

TEST_F(StartupTest, MovingALogWindowAfterStartUpStoresItsPlace)
{
    const std::string path = log("moved.log", "line\n");
    start();
    app->OpenDocumentFile(path.c_str());
    ChildFrame* frame = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(frame, nullptr);
    frame->setGeometry(30, 40, 320, 240);

    haspel::ConfigSection& root = app->GetConfigRootSection();
    EXPECT_EQ(stored(root, {"Workspace", path.c_str(), "ChildFrame"}, "XPos"), "30");
    EXPECT_EQ(stored(root, {"Workspace", path.c_str(), "ChildFrame"}, "YPos"), "40");
    EXPECT_EQ(stored(root, {"Workspace", path.c_str(), "ChildFrame"}, "XSize"), "320");
    EXPECT_EQ(stored(root, {"Workspace", path.c_str(), "ChildFrame"}, "YSize"), "240");

    frame->showMinimized();
    EXPECT_EQ(stored(root, {"Workspace", path.c_str(), "ChildFrame"}, "XPos"), "30");
    EXPECT_EQ(stored(root, {"Workspace", path.c_str(), "ChildFrame"}, "XSize"), "320");
}

TEST_F(StartupTest, ClosingALogWindowRemovesItsEntryAndExitKeepsTheOthers)
{
    const std::string kept = log("kept.log", "a\n");
    const std::string closed = log("closed.log", "b\n");
    start();
    app->OpenDocumentFile(kept.c_str());
    app->OpenDocumentFile(closed.c_str());
    haspel::ConfigSection& workspace = app->GetConfigRootSection().GetSection("Workspace");
    ASSERT_NE(workspace.FindSection(closed.c_str()), nullptr);

    ChildFrame* frame = app->GetDocTemplate().findFrame(closed.c_str());
    ASSERT_NE(frame, nullptr);
    frame->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(workspace.FindSection(closed.c_str()), nullptr);
    EXPECT_EQ(app->GetDocTemplate().count(), 1);
    exit();

    auto config = savedConfiguration();
    haspel::ConfigSection* saved = config->GetRoot().FindSection("Workspace");
    ASSERT_NE(saved, nullptr);
    EXPECT_NE(saved->FindSection(kept.c_str()), nullptr);
    EXPECT_EQ(saved->FindSection(closed.c_str()), nullptr);

    start();
    EXPECT_EQ(app->GetDocTemplate().count(), 1);
    EXPECT_NE(app->GetDocTemplate().findFrame(kept.c_str()), nullptr);
}

TEST_F(StartupTest, MainWindowPlaceMaximizedAndMinimized)
{
    editConfiguration([](haspel::ConfigSection& root) {
        haspel::ConfigSection& place = root.GetSection("MainFrame");
        place.GetParameter("XPos").SetInt(70);
        place.GetParameter("YPos").SetInt(80);
        place.GetParameter("XSize").SetInt(640);
        place.GetParameter("YSize").SetInt(480);
    });
    start();
    MainFrame& frame = *app->GetMainFrame();
    EXPECT_EQ(frame.pos(), QPoint(70, 80));
    EXPECT_EQ(frame.size(), QSize(640, 480));
    haspel::ConfigSection& root = app->GetConfigRootSection();

    frame.showMaximized();
    QCoreApplication::processEvents();
    EXPECT_EQ(stored(root, {"MainFrame"}, "Maximized"), "1");
    EXPECT_EQ(stored(root, {"MainFrame"}, "XSize"), "640");

    frame.showNormal();
    QCoreApplication::processEvents();
    frame.setGeometry(QRect(frame.pos() + QPoint(5, 5), QSize(600, 400)));
    EXPECT_EQ(stored(root, {"MainFrame"}, "Maximized"), "0");
    EXPECT_EQ(stored(root, {"MainFrame"}, "XSize"), "600");
    EXPECT_EQ(stored(root, {"MainFrame"}, "YSize"), "400");

    frame.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(stored(root, {"MainFrame"}, "Maximized"), "0");
    EXPECT_EQ(stored(root, {"MainFrame"}, "XSize"), "600");
    exit();

    editConfiguration([](haspel::ConfigSection& root) {
        root.GetSection("MainFrame").GetParameter("Maximized").SetBool(true);
    });
    start();
    EXPECT_TRUE(app->GetMainFrame()->isMaximized());
}

TEST_F(StartupTest, AFileOfTheWorkspaceNamedOnTheCommandLineHasOneWindow)
{
    const std::string path = log("twice.log", "x\n");
    editConfiguration([&](haspel::ConfigSection& root) {
        root.GetSection("Workspace").GetSection(path.c_str()).GetParameter("Follow").SetBool(true);
    });
    const std::string relative = std::filesystem::relative(path).string();
    start({path, relative, logs.path() + "/./twice.log"});
    EXPECT_EQ(app->GetDocTemplate().count(), 1);
    EXPECT_EQ(app->GetMainFrame()->mdiArea().subWindowList().size(), 1);
}

TEST_F(StartupTest, FilesOnTheCommandLineOpenInOrderAndMissingOnesStillGetAWindow)
{
    const std::string a = log("a.log", "a\n");
    const std::string missing = logs.file("missing.log");
    start({a, missing});
    const auto frames = app->GetDocTemplate().GetFrames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_STREQ(frames[0]->document().getPathName().GetText(), a.c_str());
    EXPECT_STREQ(frames[1]->document().getPathName().GetText(), missing.c_str());
    EXPECT_EQ(frames[0]->list().rowCount(), 1);
    EXPECT_EQ(frames[1]->list().rowCount(), 0);
    EXPECT_EQ(app->GetMainFrame()->windowTitle(), QStringLiteral("Kestrano - missing.log"));
}

TEST_F(StartupTest, ASettingsFileThatCannotBeUsedIsToldOnceAtStart)
{
    std::filesystem::create_directories(std::filesystem::path(configurationFile()).parent_path());
    writeFile(configurationFile(), "<Sizes>\n\t<KeepLines>10</>\n</Size>\n");
    useScriptedBoxes = true;
    start();
    ASSERT_EQ(scriptedBoxes.errors.size(), 1u);
    EXPECT_EQ(scriptedBoxes.errors[0],
        "The settings file " + configurationFile()
            + " is damaged at line 3: a closing tag names another section than the open one.\n\n"
              "Kestrano starts with the default settings.");
    exit();
    // Put aside by the save, which wrote the defaults; the next start has nothing to say.
    EXPECT_EQ(readFile(configurationFile() + ".bad"), "<Sizes>\n\t<KeepLines>10</>\n</Size>\n");
    scriptedBoxes.errors.clear();
    start();
    EXPECT_TRUE(scriptedBoxes.errors.empty());
    exit();

    std::filesystem::remove(configurationFile());
    std::filesystem::remove(configurationFile() + ".old");
    std::filesystem::create_directory(configurationFile());
    start();
    ASSERT_EQ(scriptedBoxes.errors.size(), 1u);
    EXPECT_EQ(scriptedBoxes.errors[0],
        "Cannot read the settings file " + configurationFile()
            + ": Is a directory.\n\nKestrano starts with the default settings.");
}

} // namespace
} // namespace kestrano::test
