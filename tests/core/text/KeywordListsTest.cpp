// KeywordLists moved and updated: every part goes along, whichever path classification takes.
#include "core/text/KeywordLists.h"
#include "core/settings/MonitorSettings.h"
#include "core/text/Severity.h"
#include "tests/support/LocaleScope.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace kestrano::test {
namespace {

int32_t classified(const KeywordLists& keywords, const char* line)
{
    return keywords.classify(line, static_cast<int32_t>(std::strlen(line)));
}

// A capital A with stroke, whose small letter (the keyword) has three bytes, and ASCII keywords.
constexpr const char* StrokeLine = "an \xC8\xBA here";
constexpr const char* KelvinLine = "\xE2\x84\xAA"
                                   "ERNEL halted";

class KeywordListsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!locale.active)
            GTEST_SKIP() << "no UTF-8 locale";
        MonitorSettings::ParseKeywords("fatal \xC8\xBA", nonAscii.GetKeywords(Severity::Fatal));
        MonitorSettings::ParseKeywords("kernel", ascii.GetKeywords(Severity::Error));
    }

    // What lists made from these settings say, as a moved or updated one must say too.
    static void expectLike(const KeywordLists& keywords, const MonitorSettings& settings)
    {
        const KeywordLists made(settings);
        EXPECT_EQ(keywords.nonAsciiNeedsSearch(), made.nonAsciiNeedsSearch());
        EXPECT_EQ(keywords.longestKeyword(), made.longestKeyword());
        EXPECT_EQ(keywords.baseSeverity(), made.baseSeverity());
        for (const char* line : {StrokeLine, KelvinLine, "error and warn", "nothing"}) {
            const auto length = static_cast<int32_t>(std::strlen(line));
            EXPECT_EQ(keywords.nonAsciiNeedsSearch(line, length), made.nonAsciiNeedsSearch(line, length))
                << line;
            EXPECT_EQ(classified(keywords, line), classified(made, line)) << line;
        }
    }

    LocaleScope locale {"C.UTF-8"};
    MonitorSettings nonAscii;
    MonitorSettings ascii;
};

TEST_F(KeywordListsTest, AMoveTakesEveryPart)
{
    KeywordLists source(nonAscii);
    ASSERT_TRUE(source.nonAsciiNeedsSearch());
    ASSERT_EQ(classified(source, StrokeLine), Severity::Fatal);

    KeywordLists moved(std::move(source));
    expectLike(moved, nonAscii);
    EXPECT_EQ(classified(moved, StrokeLine), Severity::Fatal);

    KeywordLists assigned(ascii);
    ASSERT_EQ(classified(assigned, KelvinLine), Severity::Error);
    assigned = std::move(moved);
    expectLike(assigned, nonAscii);
    EXPECT_EQ(classified(assigned, StrokeLine), Severity::Fatal);
}

TEST_F(KeywordListsTest, UpdatesInTurnAnswerAsNewListsWould)
{
    KeywordLists keywords;
    for (const MonitorSettings* settings : {&ascii, &nonAscii, &ascii, &nonAscii}) {
        keywords.update(*settings);
        expectLike(keywords, *settings);
    }
    EXPECT_EQ(classified(keywords, StrokeLine), Severity::Fatal);
    keywords.update(ascii);
    EXPECT_EQ(classified(keywords, KelvinLine), Severity::Error);
    EXPECT_EQ(classified(keywords, StrokeLine), Severity::Unknown);
}

} // namespace
} // namespace kestrano::test
