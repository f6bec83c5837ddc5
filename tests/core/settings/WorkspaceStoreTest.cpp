#include "core/settings/WorkspaceStore.h"
#include "config/Config.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace kestrano::test {
namespace {

using Names = std::vector<std::string>;

class WorkspaceStoreTest : public ::testing::Test {
protected:
    // Saves the tree to the configuration file and loads the file into a tree of its own.
    haspel::ConfigSection& saveAndLoad(haspel::Config& written)
    {
        EXPECT_TRUE(written.SaveFile(file.c_str()));
        return load();
    }
    // Loads the file as a user or an older version may have left it.
    haspel::ConfigSection& loadText(const std::string& text)
    {
        writeFile(file, text);
        return load();
    }
    haspel::ConfigSection& load()
    {
        configs.push_back(std::make_unique<haspel::Config>());
        EXPECT_TRUE(configs.back()->LoadFile(file.c_str()));
        return configs.back()->GetRoot();
    }
    haspel::Config& lastLoaded() { return *configs.back(); }

    TempDir folder;
    const std::string file = folder.file("kestrano.cfg");
    std::vector<std::unique_ptr<haspel::Config>> configs;
};

void expectPlace(const WindowPlace& place, int32_t x, int32_t y, int32_t width, int32_t height)
{
    EXPECT_EQ(place.x, x);
    EXPECT_EQ(place.y, y);
    EXPECT_EQ(place.width, width);
    EXPECT_EQ(place.height, height);
}

TEST_F(WorkspaceStoreTest, AnEntryComesBackFromTheFileAsItWasStored)
{
    haspel::Config written;
    LogEntryWriter writer(written.GetRoot(), "/var/log/app.log", true);
    writer.storeSwitches({false, 3, true, false});
    writer.storeTextFilter({"order \"1\\d+\" </x>\tend", true, true, true});
    writer.storePlace({-20, 7, 0, -5}); // off the screen and without size: kept all the same

    haspel::ConfigSection& root = saveAndLoad(written);
    const LogEntry loaded = loadLogEntry(logEntrySection(root, "/var/log/app.log"));
    EXPECT_FALSE(loaded.switches.follow);
    EXPECT_EQ(loaded.switches.minimumSeverity, 3);
    EXPECT_TRUE(loaded.switches.reloadOnChange);
    EXPECT_FALSE(loaded.switches.showUnknown);
    EXPECT_EQ(loaded.textFilter.pattern, "order \"1\\d+\" </x>\tend");
    EXPECT_TRUE(loaded.textFilter.hides);
    EXPECT_TRUE(loaded.textFilter.regex);
    EXPECT_TRUE(loaded.textFilter.matchCase);
    expectPlace(loaded.place, -20, 7, 0, -5);

    // Each part is written on its own and leaves the others alone.
    LogEntryWriter(root, "/var/log/app.log", true).storeSwitches({});
    const LogEntry changed = loadLogEntry(logEntrySection(root, "/var/log/app.log"));
    EXPECT_TRUE(changed.switches.follow);
    EXPECT_EQ(changed.switches.minimumSeverity, 0);
    EXPECT_EQ(changed.textFilter.pattern, "order \"1\\d+\" </x>\tend");
    expectPlace(changed.place, -20, 7, 0, -5);
}

TEST_F(WorkspaceStoreTest, HowAWindowWasLeftComesBackAndAnOldEntryHasNoState)
{
    haspel::Config written;
    LogEntryWriter writer(written.GetRoot(), "/var/log/app.log", true);
    writer.storePlace({1, 2, 300, 400});
    writer.storeWindowState({true, false, true, 1234});
    LogEntryWriter(written.GetRoot(), "/var/log/b.log", true).storeWindowState({false, true, false, -1});

    haspel::ConfigSection& root = saveAndLoad(written);
    EXPECT_EQ(loadLogEntry(logEntrySection(root, "/var/log/app.log")).window,
        (LogWindowState {true, false, true, 1234}));
    EXPECT_EQ(loadLogEntry(logEntrySection(root, "/var/log/b.log")).window,
        (LogWindowState {false, true, false, -1}));
    expectPlace(loadLogEntry(logEntrySection(root, "/var/log/app.log")).place, 1, 2, 300, 400);

    // An entry an older version wrote: a normal window, not active, following.
    haspel::ConfigSection& old
        = loadText("<Workspace>\n\t<journal:c>\n\t\t<Follow>0</>\n\t</journal:c>\n</Workspace>\n");
    EXPECT_EQ(loadLogEntry(logEntrySection(old, "journal:c")).window, LogWindowState {});
}

TEST_F(WorkspaceStoreTest, TheViewLayoutAndTheFirstStartAreKnownFromTheFile)
{
    haspel::Config written;
    EXPECT_FALSE(hasMainWindowPlace(written.GetRoot()));
    const LogViewLayout defaults = loadLogViewLayout(written.GetRoot());
    EXPECT_TRUE(defaults.filterRow);
    EXPECT_FALSE(defaults.wrapRows);
    storeLogViewLayout(written.GetRoot(), {false, true});
    storeMainWindowPlace(written.GetRoot(), {{10, 20, 900, 600}, false});

    haspel::ConfigSection& root = saveAndLoad(written);
    EXPECT_TRUE(hasMainWindowPlace(root));
    const LogViewLayout loaded = loadLogViewLayout(root);
    EXPECT_FALSE(loaded.filterRow);
    EXPECT_TRUE(loaded.wrapRows);
}

TEST_F(WorkspaceStoreTest, AnOpenLogsWriterStoresInItsEntryOrNowhereWhenTheLogIsNotStored)
{
    haspel::Config written;
    LogEntryWriter unstored(written.GetRoot(), "-", false);
    unstored.storeSwitches({false, 3, true, false});
    unstored.storeTextFilter({"x", true, false, false});
    unstored.storePlace({1, 2, 3, 4});
    EXPECT_EQ(written.GetRoot().FindSection("Workspace"), nullptr);

    LogEntryWriter writer(written.GetRoot(), "/var/log/app.log", true);
    writer.storePlace({1, 2, 3, 4});
    writer.remove();
    EXPECT_FALSE(hasLogEntry(written.GetRoot(), "/var/log/app.log"));
    // A store after the removal makes a new entry, holding only what was stored since.
    writer.storeSwitches({false, 3, true, false});
    haspel::ConfigSection& root = saveAndLoad(written);
    EXPECT_EQ(storedLogNames(root), (Names {"/var/log/app.log"}));
    const LogEntry loaded = loadLogEntry(logEntrySection(root, "/var/log/app.log"));
    EXPECT_FALSE(loaded.switches.follow);
    EXPECT_EQ(loaded.switches.minimumSeverity, 3);
    expectPlace(loaded.place, 50, 50, 500, 500);
}

TEST_F(WorkspaceStoreTest, AMissingKeyGetsItsDefaultAndIsThenStored)
{
    // An entry with only "Follow", as written by hand.
    haspel::ConfigSection& root = loadText("<Workspace>\n\t<journal:cron.service>\n\t\t<Follow>0</>\n"
                                           "\t</journal:cron.service>\n</Workspace>\n");
    haspel::ConfigSection& entry = logEntrySection(root, "journal:cron.service");
    const LogEntry loaded = loadLogEntry(entry);
    EXPECT_FALSE(loaded.switches.follow);
    EXPECT_EQ(loaded.switches.minimumSeverity, 0);
    EXPECT_FALSE(loaded.switches.reloadOnChange);
    EXPECT_TRUE(loaded.switches.showUnknown);
    EXPECT_EQ(loaded.textFilter.pattern, "");
    EXPECT_FALSE(loaded.textFilter.hides || loaded.textFilter.regex || loaded.textFilter.matchCase);
    expectPlace(loaded.place, 50, 50, 500, 500);

    for (const char* key : {"Follow", "MinimumSeverity", "ReloadOnChange", "ShowUnknown", "TextFilter",
             "TextFilterHides", "TextFilterRegex", "TextFilterCase"})
        EXPECT_NE(entry.FindParameter(key), nullptr) << key;
    for (const char* key : {"XPos", "YPos", "XSize", "YSize"})
        EXPECT_NE(entry.GetSection("ChildFrame").FindParameter(key), nullptr) << key;

    // A fresh view's switches are an empty entry's.
    const LogEntry empty = loadLogEntry(logEntrySection(root, "/var/log/new.log"));
    const LogSwitches fresh;
    EXPECT_EQ(empty.switches.follow, fresh.follow);
    EXPECT_EQ(empty.switches.minimumSeverity, fresh.minimumSeverity);
    EXPECT_EQ(empty.switches.reloadOnChange, fresh.reloadOnChange);
    EXPECT_EQ(empty.switches.showUnknown, fresh.showUnknown);
}

TEST_F(WorkspaceStoreTest, DamagedValuesAreReadAsNumbersAsTheyStand)
{
    haspel::ConfigSection& root = loadText("<Workspace>\n\t<app>\n\t\t<Follow>yes</>\n\t\t<ShowUnknown>2</>\n"
                                           "\t\t<MinimumSeverity>9</>\n\t\t<ReloadOnChange></>\n"
                                           "\t\t<ChildFrame>\n\t\t\t<XPos>abc</>\n\t\t\t<YPos> -20px</>\n"
                                           "\t\t\t<XSize>99999999999</>\n\t\t</ChildFrame>\n\t</app>\n"
                                           "</Workspace>\n<MainFrame>\n\t<Maximized>true</>\n"
                                           "\t<YSize>-1</>\n</MainFrame>\n");
    const LogEntry loaded = loadLogEntry(logEntrySection(root, "app"));
    EXPECT_FALSE(loaded.switches.follow); // not a number
    EXPECT_TRUE(loaded.switches.showUnknown);
    EXPECT_EQ(loaded.switches.minimumSeverity, 9); // no range check
    EXPECT_FALSE(loaded.switches.reloadOnChange);
    expectPlace(loaded.place, 0, -20, INT_MAX, 500);
    EXPECT_STREQ(logEntrySection(root, "app").GetSection("ChildFrame").GetString("XPos", "?"), "abc");

    const MainWindowPlace mainWindow = loadMainWindowPlace(root);
    EXPECT_FALSE(mainWindow.maximized);
    expectPlace(mainWindow.place, 50, 50, 500, -1);
}

TEST_F(WorkspaceStoreTest, TheMainWindowKeepsItsNormalPlaceWhileMaximized)
{
    haspel::Config written;
    const MainWindowPlace defaults = loadMainWindowPlace(written.GetRoot());
    EXPECT_FALSE(defaults.maximized);
    expectPlace(defaults.place, 50, 50, 500, 500);
    for (const char* key : {"XPos", "YPos", "XSize", "YSize", "Maximized"})
        EXPECT_NE(written.GetRoot().GetSection("MainFrame").FindParameter(key), nullptr) << key;

    storeMainWindowPlace(written.GetRoot(), {{70, 80, 640, 480}, false});
    storeMainWindowPlace(written.GetRoot(), {{0, 0, 1920, 1080}, true});
    haspel::ConfigSection& root = saveAndLoad(written);
    MainWindowPlace mainWindow = loadMainWindowPlace(root);
    EXPECT_TRUE(mainWindow.maximized);
    expectPlace(mainWindow.place, 70, 80, 640, 480);

    storeMainWindowPlace(root, {{10, 20, 600, 400}, false});
    mainWindow = loadMainWindowPlace(saveAndLoad(lastLoaded()));
    EXPECT_FALSE(mainWindow.maximized);
    expectPlace(mainWindow.place, 10, 20, 600, 400);
}

TEST_F(WorkspaceStoreTest, TheStoredLogsAreTheEntriesWithANameUntilRemoved)
{
    haspel::Config written;
    for (const char* name : {"/var/log/syslog", "", "journal:", "/tmp/a b.log.gz"})
        LogEntryWriter(written.GetRoot(), name, true).storeSwitches({});
    LogEntryWriter(written.GetRoot(), "/var/log/syslog", true).storePlace({});

    haspel::ConfigSection& root = saveAndLoad(written);
    Names names = storedLogNames(root);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Names {"/tmp/a b.log.gz", "/var/log/syslog", "journal:"}));
    EXPECT_TRUE(hasLogEntry(root, "/var/log/syslog"));
    EXPECT_FALSE(hasLogEntry(root, "/var/log/other"));

    removeLogEntry(root, "/var/log/syslog");
    EXPECT_FALSE(hasLogEntry(root, "/var/log/syslog"));
    names = storedLogNames(saveAndLoad(lastLoaded()));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Names {"/tmp/a b.log.gz", "journal:"}));

    // Asking about a tree without a workspace leaves it without one.
    haspel::Config none;
    EXPECT_FALSE(hasLogEntry(none.GetRoot(), "/var/log/syslog"));
    removeLogEntry(none.GetRoot(), "/var/log/syslog");
    EXPECT_EQ(none.GetRoot().FindSection("Workspace"), nullptr);
    EXPECT_TRUE(storedLogNames(none.GetRoot()).empty());
}

TEST_F(WorkspaceStoreTest, MergedWindowsComeBackInOrderAndReplaceThoseStoredBefore)
{
    haspel::Config written;
    MergedWindowEntry first;
    first.logs = {"/var/log/web.log", "journal:", "/var/log/db.log"};
    first.entry.switches = {false, 2, false, false, true};
    first.entry.textFilter = {"timeout", true, false, true};
    first.entry.place = {10, 20, 300, 200};
    first.entry.window.maximized = true;
    MergedWindowEntry second;
    second.logs = {"/a.log", "/b.log"};
    storeMergedWindows(written.GetRoot(), {first, second});

    std::vector<MergedWindowEntry> loaded = loadMergedWindows(saveAndLoad(written));
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[0].logs, first.logs);
    EXPECT_FALSE(loaded[0].entry.switches.follow);
    EXPECT_EQ(loaded[0].entry.switches.minimumSeverity, 2);
    EXPECT_FALSE(loaded[0].entry.switches.showUnknown);
    EXPECT_TRUE(loaded[0].entry.switches.showTime);
    EXPECT_EQ(loaded[0].entry.textFilter.pattern, "timeout");
    EXPECT_TRUE(loaded[0].entry.textFilter.hides);
    EXPECT_TRUE(loaded[0].entry.textFilter.matchCase);
    expectPlace(loaded[0].entry.place, 10, 20, 300, 200);
    EXPECT_TRUE(loaded[0].entry.window.maximized);
    EXPECT_EQ(loaded[1].logs, second.logs);
    EXPECT_TRUE(loaded[1].entry.switches.follow);

    // Storing again replaces the windows: none left removes the section; the logs' entries stay.
    haspel::ConfigSection& root = lastLoaded().GetRoot();
    LogEntryWriter(root, "/a.log", true).storeSwitches({});
    storeMergedWindows(root, {second});
    ASSERT_EQ(loadMergedWindows(root).size(), 1u);
    storeMergedWindows(root, {});
    EXPECT_TRUE(loadMergedWindows(root).empty());
    EXPECT_EQ(root.FindSection("MergedWindows"), nullptr);
    EXPECT_EQ(storedLogNames(root), Names {"/a.log"});

    // A window whose logs are all gone from the file, as a user may edit it, is left out.
    haspel::ConfigSection& edited = loadText(
        "<MergedWindows>\n\t<Window1>\n\t\t<Logs>\n\t\t\t<Log1></>\n\t\t</Logs>\n\t</Window1>\n"
        "\t<Window2>\n\t\t<Logs>\n\t\t\t<Log1>/x.log</>\n\t\t</Logs>\n\t</Window2>\n</MergedWindows>\n");
    loaded = loadMergedWindows(edited);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].logs, Names {"/x.log"});
}

} // namespace
} // namespace kestrano::test
