#include "core/settings/MonitorSettings.h"
#include "config/Config.h"
#include "core/settings/SettingsStore.h"
#include "core/text/Severity.h"

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

TEST(MonitorSettingsTest, CopiesAreValuesOfTheirOwn)
{
    MonitorSettings original;
    MonitorSettings::ParseKeywords("Oops  ouch", original.GetKeywords(Severity::Error));
    original.SetMultiLine(false);
    original.SetUpdateEvery(250);
    original.SetInitiallyReadBytes(-1);
    original.SetKeepLines(3);
    original.SetOnTop(Severity::Never);
    original.SetPlaySound(Severity::Unknown);

    MonitorSettings copy(original);
    MonitorSettings::ParseKeywords("other", original.GetKeywords(Severity::Error));
    original.GetKeywords(Severity::Fatal).Clear();
    original.SetKeepLines(9);
    EXPECT_EQ(keywordsOf(copy.GetKeywords(Severity::Error)), (Words {"oops", "ouch"}));
    EXPECT_EQ(keywordsOf(copy.GetKeywords(Severity::Fatal)), (Words {"fatal", "crit"}));
    EXPECT_FALSE(copy.GetMultiLine());
    EXPECT_EQ(copy.GetUpdateEvery(), 250);
    EXPECT_EQ(copy.GetInitiallyReadBytes(), -1);
    EXPECT_EQ(copy.GetKeepLines(), 3);
    EXPECT_EQ(copy.GetOnTop(), Severity::Never);
    EXPECT_EQ(copy.GetPlaySound(), Severity::Unknown);

    // Assignment replaces every list in place, shorter or longer, and leaves the source alone.
    MonitorSettings assigned;
    MonitorSettings::ParseKeywords(
        "a b c d e f g h i j k l m n o p q r", assigned.GetKeywords(Severity::Error));
    const MonitorSettings::KeywordList* list = &assigned.GetKeywords(Severity::Error);
    assigned = copy;
    EXPECT_EQ(&assigned.GetKeywords(Severity::Error), list);
    EXPECT_EQ(keywordsOf(assigned.GetKeywords(Severity::Error)), (Words {"oops", "ouch"}));
    EXPECT_EQ(keywordsOf(assigned.GetKeywords(Severity::Warning)), (Words {"warn"}));
    EXPECT_EQ(assigned.GetKeepLines(), 3);
    const MonitorSettings& same = assigned;
    assigned = same;
    EXPECT_EQ(keywordsOf(assigned.GetKeywords(Severity::Error)), (Words {"oops", "ouch"}));
    EXPECT_EQ(keywordsOf(copy.GetKeywords(Severity::Error)), (Words {"oops", "ouch"}));
}

TEST(MonitorSettingsTest, ValidateRaisesWhatWasLoadedBelowItsBoundAndLeavesTheRest)
{
    haspel::Config config;
    ASSERT_TRUE(config.ParseText("<Analyze>\n\t<UpdateEvery>20</>\n</Analyze>\n"
                                 "<Sizes>\n\t<InitiallyReadBytes>-5</>\n\t<KeepLines>-3</>\n</Sizes>\n"
                                 "<Notifications>\n\t<OnTop>-2</>\n\t<PlaySound>99</>\n</Notifications>\n"));
    MonitorSettings settings;
    loadMonitorSettings(settings, config.GetRoot());
    ASSERT_EQ(settings.GetUpdateEvery(), 20);
    settings.validate();
    EXPECT_EQ(settings.GetUpdateEvery(), 100);
    EXPECT_EQ(settings.GetKeepLines(), 1);
    EXPECT_EQ(settings.GetInitiallyReadBytes(), -5);
    EXPECT_EQ(settings.GetOnTop(), -2);
    EXPECT_EQ(settings.GetPlaySound(), 99);
    settings.SetUpdateEvery(100000);
    settings.validate();
    EXPECT_EQ(settings.GetUpdateEvery(), 100000);
}

} // namespace
} // namespace kestrano::test
