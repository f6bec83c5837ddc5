#include "core/settings/SettingsStore.h"
#include "config/Config.h"
#include "core/settings/MonitorSettings.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrano::test {
namespace {

std::string keywordText(const MonitorSettings& settings, int32_t severity)
{
    return MonitorSettings::JoinKeywords(settings.GetKeywords(severity)).GetText();
}

TEST(SettingsStoreTest, AnEmptyTreeGivesTheDefaultsAndGainsEveryKey)
{
    haspel::Config config;
    MonitorSettings settings;
    settings.SetKeepLines(5);
    settings.SetMultiLine(false);
    MonitorSettings::ParseKeywords("x", settings.GetKeywords(2));
    loadMonitorSettings(settings, config.GetRoot());

    EXPECT_EQ(settings.GetKeepLines(), 1000);
    EXPECT_TRUE(settings.GetMultiLine());
    EXPECT_EQ(keywordText(settings, 2), "warn");
    EXPECT_EQ(keywordText(settings, 4), "fatal crit");

    haspel::ConfigSection& root = config.GetRoot();
    const char* analyze[]
        = {"DebugInformation", "Information", "Warning", "Error", "Fatal", "MultiLine", "UpdateEvery"};
    for (const char* key : analyze)
        EXPECT_NE(root.GetSection("Analyze").FindParameter(key), nullptr) << key;
    EXPECT_STREQ(root.GetSection("Analyze").GetString("Error", ""), "error exception");
    EXPECT_EQ(root.GetSection("Sizes").FindParameter("InitiallyReadBytes")->ToInt(), 65536);
    EXPECT_EQ(root.GetSection("Sizes").FindParameter("KeepLines")->ToInt(), 1000);
    EXPECT_EQ(root.GetSection("Notifications").FindParameter("OnTop")->ToInt(), 3);
    EXPECT_EQ(root.GetSection("Notifications").FindParameter("PlaySound")->ToInt(), 2);
}

TEST(SettingsStoreTest, StoredValuesAreTakenAsTheyStand)
{
    haspel::Config config;
    ASSERT_TRUE(config.ParseText("<Analyze>\n\t<Warning>  Error   FAIL  </>\n\t<MultiLine>0</>\n"
                                 "\t<UpdateEvery>20</>\n</Analyze>\n"
                                 "<Sizes>\n\t<InitiallyReadBytes>-1</>\n\t<KeepLines>abc</>\n</Sizes>\n"
                                 "<Notifications>\n\t<OnTop>9</>\n\t<PlaySound>-1</>\n</Notifications>\n"));
    MonitorSettings settings;
    loadMonitorSettings(settings, config.GetRoot());

    EXPECT_EQ(keywordText(settings, 2), "error fail");
    EXPECT_EQ(keywordText(settings, 3), "error exception");
    EXPECT_FALSE(settings.GetMultiLine());
    EXPECT_EQ(settings.GetUpdateEvery(), 20); // below the setter's 100
    EXPECT_EQ(settings.GetInitiallyReadBytes(), -1);
    EXPECT_EQ(settings.GetKeepLines(), 0); // not a number, and below the setter's 1
    EXPECT_EQ(settings.GetOnTop(), 9);
    EXPECT_EQ(settings.GetPlaySound(), -1);
}

TEST(SettingsStoreTest, StoredSettingsLoadBackTheSame)
{
    MonitorSettings written;
    MonitorSettings::ParseKeywords("  Alpha  beta ", written.GetKeywords(0));
    MonitorSettings::ParseKeywords("", written.GetKeywords(4));
    written.SetMultiLine(false);
    written.SetUpdateEvery(250);
    written.SetInitiallyReadBytes(-1);
    written.SetKeepLines(7);
    written.SetOnTop(5);
    written.SetPlaySound(-1);
    haspel::Config config;
    storeMonitorSettings(written, config.GetRoot());
    EXPECT_STREQ(config.GetRoot().GetSection("Analyze").GetString("DebugInformation", ""), "alpha beta");

    MonitorSettings read;
    loadMonitorSettings(read, config.GetRoot());
    for (int32_t severity = 0; severity < 5; ++severity)
        EXPECT_EQ(keywordText(read, severity), keywordText(written, severity)) << severityKey(severity);
    EXPECT_TRUE(read.GetKeywords(4).GetCount() == 0);
    EXPECT_FALSE(read.GetMultiLine());
    EXPECT_EQ(read.GetUpdateEvery(), 250);
    EXPECT_EQ(read.GetInitiallyReadBytes(), -1);
    EXPECT_EQ(read.GetKeepLines(), 7);
    EXPECT_EQ(read.GetOnTop(), 5);
    EXPECT_EQ(read.GetPlaySound(), -1);
}

} // namespace
} // namespace kestrano::test
