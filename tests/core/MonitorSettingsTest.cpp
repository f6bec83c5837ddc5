#include "core/MonitorSettings.h"
#include "core/Severity.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrano::test {
namespace {

std::vector<std::string> keywordsOf(const MonitorSettings::KeywordList& list)
{
    std::vector<std::string> result;
    for (int32_t i = 0; i < list.GetCount(); ++i)
        result.emplace_back(list.Get(i)->GetText());
    return result;
}

using Words = std::vector<std::string>;

TEST(MonitorSettingsTest, StartsWithTheDefaults)
{
    const MonitorSettings settings;
    EXPECT_EQ(settings.GetUpdateEvery(), 1000);
    EXPECT_EQ(settings.GetInitiallyReadBytes(), 65536);
    EXPECT_EQ(settings.GetKeepLines(), 1000);
    EXPECT_EQ(settings.GetOnTop(), Severity::Error);
    EXPECT_EQ(settings.GetPlaySound(), Severity::Warning);
    EXPECT_TRUE(settings.GetMultiLine());
    EXPECT_EQ(keywordsOf(settings.GetKeywords(0)), (Words {"debug", "debg"}));
    EXPECT_EQ(keywordsOf(settings.GetKeywords(1)), (Words {"info", "notice"}));
    EXPECT_EQ(keywordsOf(settings.GetKeywords(2)), (Words {"warn"}));
    EXPECT_EQ(keywordsOf(settings.GetKeywords(3)), (Words {"error", "exception"}));
    EXPECT_EQ(keywordsOf(settings.GetKeywords(4)), (Words {"fatal", "crit"}));
}

TEST(MonitorSettingsTest, ParseSplitsAtRunsOfSpacesOnlyAndLowerCases)
{
    MonitorSettings::KeywordList list;
    MonitorSettings::ParseKeywords("  Error   FAIL  ", list);
    EXPECT_EQ(keywordsOf(list), (Words {"error", "fail"}));
    EXPECT_STREQ(MonitorSettings::JoinKeywords(list).GetText(), "error fail");

    MonitorSettings::ParseKeywords("warn\tMsg", list);
    EXPECT_EQ(keywordsOf(list), (Words {"warn\tmsg"}));

    MonitorSettings::ParseKeywords("b a b", list);
    EXPECT_EQ(keywordsOf(list), (Words {"b", "a", "b"}));

    MonitorSettings::ParseKeywords("", list);
    EXPECT_EQ(list.GetCount(), 0);
    MonitorSettings::ParseKeywords("     ", list);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_STREQ(MonitorSettings::JoinKeywords(list).GetText(), "");
}

TEST(MonitorSettingsTest, SettersKeepTheirLimits)
{
    MonitorSettings settings;
    settings.SetUpdateEvery(99);
    EXPECT_EQ(settings.GetUpdateEvery(), 100);
    settings.SetUpdateEvery(100);
    EXPECT_EQ(settings.GetUpdateEvery(), 100);
    settings.SetUpdateEvery(-7);
    EXPECT_EQ(settings.GetUpdateEvery(), 100);
    settings.SetKeepLines(0);
    EXPECT_EQ(settings.GetKeepLines(), 1);
    settings.SetKeepLines(-5);
    EXPECT_EQ(settings.GetKeepLines(), 1);
    settings.SetKeepLines(2);
    EXPECT_EQ(settings.GetKeepLines(), 2);
    settings.SetInitiallyReadBytes(-1);
    EXPECT_EQ(settings.GetInitiallyReadBytes(), -1);
    settings.SetOnTop(Severity::Never);
    settings.SetPlaySound(Severity::Unknown);
    EXPECT_EQ(settings.GetOnTop(), 5);
    EXPECT_EQ(settings.GetPlaySound(), -1);
    settings.SetMultiLine(false);
    EXPECT_FALSE(settings.GetMultiLine());
}

} // namespace
} // namespace kestrano::test
