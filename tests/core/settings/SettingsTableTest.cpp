// Every row of the settings table against the store and MonitorSettings: defaults, a round trip, keys
// made where missing, bounds kept by validate and the setters.
#include "core/settings/SettingsTable.h"
#include "config/Config.h"
#include "config/ConfigParameter.h"
#include "config/ConfigSection.h"
#include "core/settings/MonitorSettings.h"
#include "core/settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace kestrano::test {
namespace {

bool held(const Setting& row)
{
    return row.type == SettingType::Keywords || row.flag || row.number;
}

// The row's value in settings as the store writes it: a keyword list's text, a flag or number in
// decimal.
std::string valueOf(const MonitorSettings& settings, const Setting& row)
{
    if (row.type == SettingType::Keywords)
        return MonitorSettings::JoinKeywords(settings.GetKeywords(row.keywordList)).GetText();
    return std::to_string(row.flag ? settings.*row.flag : settings.*row.number);
}

// The row's key in the tree in the same form; "?" when it is missing.
std::string storedValue(const haspel::ConfigSection& root, const Setting& row)
{
    const haspel::ConfigSection* section = root.FindSection(row.section);
    const haspel::ConfigParameter* parameter = section ? section->FindParameter(row.key) : nullptr;
    if (!parameter)
        return "?";
    if (row.type == SettingType::Keywords || row.type == SettingType::Text)
        return parameter->ToString();
    return std::to_string(row.type == SettingType::Flag ? parameter->ToBool() : parameter->ToInt());
}

std::string defaultOf(const Setting& row)
{
    return row.defaultText ? row.defaultText : std::to_string(row.defaultNumber);
}

// A value other than the default, within the bounds.
void changeValue(MonitorSettings& settings, const Setting& row)
{
    if (row.type == SettingType::Keywords)
        MonitorSettings::ParseKeywords("  Alpha  beta", settings.GetKeywords(row.keywordList));
    else if (row.flag)
        settings.*row.flag = row.defaultNumber == 0;
    else
        settings.*row.number = row.defaultNumber + 7;
}

TEST(SettingsTableTest, EveryRowIsNamedOnceWithItsIdAndItsHolder)
{
    const char* expected[SettingsTable::Count][2]
        = {{"Analyze", "DebugInformation"}, {"Analyze", "Information"}, {"Analyze", "Warning"},
            {"Analyze", "Error"}, {"Analyze", "Fatal"}, {"Analyze", "MultiLine"}, {"Analyze", "StatedLevel"},
            {"Analyze", "UpdateEvery"}, {"Sizes", "InitiallyReadBytes"}, {"Sizes", "KeepLines"},
            {"Notifications", "OnTop"}, {"Notifications", "PlaySound"}, {"Notifications", "Desktop"},
            {"Notifications", "Notify"}, {"View", "Font"}, {"View", "QuietGap"}, {"Sizes", "HistoryUpTo"}};
    for (const Setting& row : SettingsTable::rows) {
        EXPECT_STREQ(row.section, expected[row.id][0]) << row.key;
        EXPECT_STREQ(row.key, expected[row.id][1]) << row.id;
        const bool desktopOwn
            = row.id == SettingsTable::DesktopNotifications || row.id == SettingsTable::LogFont;
        EXPECT_EQ(held(row), !desktopOwn) << row.key;
    }
    EXPECT_EQ(SettingsTable::rows[SettingsTable::UpdateEvery].minimum, 100);
    EXPECT_EQ(SettingsTable::rows[SettingsTable::KeepLines].minimum, 1);
    EXPECT_EQ(SettingsTable::rows[SettingsTable::QuietGap].minimum, 0);
    EXPECT_EQ(SettingsTable::rows[SettingsTable::QuietGap].defaultNumber, 60);
    EXPECT_EQ(SettingsTable::rows[SettingsTable::HistoryUpTo].minimum, 0);
    EXPECT_EQ(SettingsTable::rows[SettingsTable::HistoryUpTo].defaultNumber, 4096); // 4 GiB
}

TEST(SettingsTableTest, ANewRecordHoldsEveryDefault)
{
    const MonitorSettings settings;
    for (const Setting& row : SettingsTable::rows) {
        if (held(row)) {
            EXPECT_EQ(valueOf(settings, row), defaultOf(row)) << row.key;
        }
    }
}

TEST(SettingsTableTest, AMissingKeyIsCreatedHoldingItsDefault)
{
    haspel::Config config;
    MonitorSettings settings;
    for (const Setting& row : SettingsTable::rows) {
        if (held(row))
            changeValue(settings, row);
    }
    loadMonitorSettings(settings, config.GetRoot());
    haspel::ConfigSection& root = config.GetRoot();
    for (const Setting& row : SettingsTable::rows) {
        if (!held(row)) {
            EXPECT_EQ(storedValue(root, row), "?") << row.key;
            continue;
        }
        EXPECT_EQ(valueOf(settings, row), defaultOf(row)) << row.key;
        EXPECT_EQ(storedValue(root, row), defaultOf(row)) << row.key;
    }
    // The desktop program's own rows load the same way, one at a time.
    EXPECT_TRUE(loadFlag(root, SettingsTable::rows[SettingsTable::DesktopNotifications]));
    EXPECT_STREQ(loadText(root, SettingsTable::rows[SettingsTable::LogFont]), "");
    for (const SettingsTable::Id id : {SettingsTable::DesktopNotifications, SettingsTable::LogFont})
        EXPECT_EQ(storedValue(root, SettingsTable::rows[id]), defaultOf(SettingsTable::rows[id]));
}

TEST(SettingsTableTest, EveryStoredRowLoadsBackTheSame)
{
    MonitorSettings written;
    for (const Setting& row : SettingsTable::rows) {
        if (held(row))
            changeValue(written, row);
    }
    haspel::Config config;
    haspel::ConfigSection& root = config.GetRoot();
    storeMonitorSettings(written, root);
    storeFlag(root, SettingsTable::rows[SettingsTable::DesktopNotifications], false);
    storeText(root, SettingsTable::rows[SettingsTable::LogFont], "Mono,11");

    MonitorSettings read;
    loadMonitorSettings(read, root);
    for (const Setting& row : SettingsTable::rows) {
        if (!held(row))
            continue;
        EXPECT_NE(valueOf(read, row), defaultOf(row)) << row.key;
        EXPECT_EQ(valueOf(read, row), valueOf(written, row)) << row.key;
        EXPECT_EQ(storedValue(root, row), valueOf(written, row)) << row.key;
    }
    EXPECT_FALSE(loadFlag(root, SettingsTable::rows[SettingsTable::DesktopNotifications]));
    EXPECT_STREQ(loadText(root, SettingsTable::rows[SettingsTable::LogFont]), "Mono,11");
}

TEST(SettingsTableTest, ValidateAndTheSettersKeepEachBoundAndNothingElse)
{
    for (const Setting& row : SettingsTable::rows) {
        if (!row.number)
            continue;
        for (const int32_t value : {INT32_MIN, -1, 0, 1, 99, 100, 101, INT32_MAX}) {
            MonitorSettings settings;
            settings.*row.number = value;
            settings.validate();
            const int32_t expected = row.minimum != INT32_MIN && value < row.minimum ? row.minimum : value;
            EXPECT_EQ(settings.*row.number, expected) << row.key << " " << value;
        }
    }
    MonitorSettings settings;
    settings.SetUpdateEvery(SettingsTable::rows[SettingsTable::UpdateEvery].minimum - 1);
    EXPECT_EQ(settings.GetUpdateEvery(), SettingsTable::rows[SettingsTable::UpdateEvery].minimum);
    settings.SetKeepLines(SettingsTable::rows[SettingsTable::KeepLines].minimum - 1);
    EXPECT_EQ(settings.GetKeepLines(), SettingsTable::rows[SettingsTable::KeepLines].minimum);
    settings.SetQuietGap(-5);
    EXPECT_EQ(settings.GetQuietGap(), 0);
}

} // namespace
} // namespace kestrano::test
