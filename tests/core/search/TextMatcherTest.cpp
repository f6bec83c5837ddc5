#include "core/search/TextMatcher.h"
#include "tests/support/LocaleScope.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrano::test {
namespace {

TextQuery plainText(std::string pattern, bool matchCase = false)
{
    return TextQuery {{std::move(pattern)}, false, matchCase};
}

TextQuery expression(std::string pattern, bool matchCase = false)
{
    return TextQuery {{std::move(pattern)}, true, matchCase};
}

bool matches(const TextQuery& query, const std::string& text)
{
    TextMatcher matcher(query);
    return matcher.matches(text.data(), static_cast<int32_t>(text.size()));
}

// The matched part of a line from a position, or "-" when there is none.
std::string found(const TextMatcher& matcher, const std::string& line, int32_t from = 0)
{
    int32_t start = -1, end = -1;
    if (!matcher.find(line.data(), static_cast<int32_t>(line.size()), from, start, end))
        return "-";
    return std::to_string(start) + ":"
        + line.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

TEST(TextMatcherTest, PlainTextIgnoresCaseUnlessAsked)
{
    EXPECT_TRUE(matches(plainText("order 10443"), "2026-12-07 Shipped ORDER 10443 to Lisbon"));
    EXPECT_FALSE(matches(plainText("order 10443", true), "2026-12-07 Shipped ORDER 10443 to Lisbon"));
    EXPECT_TRUE(matches(plainText("ORDER", true), "Shipped ORDER 10443"));
    EXPECT_FALSE(matches(plainText("order 10444"), "Shipped order 10443"));
    // Plain text is not an expression: the dot and the brackets are themselves.
    EXPECT_TRUE(matches(plainText("a.b[1]("), "x a.b[1]( y"));
    EXPECT_FALSE(matches(plainText("a.b"), "axb"));
    EXPECT_TRUE(matches(plainText(""), "anything"));
}

TEST(TextMatcherTest, PlainTextLowersLettersBeyondAsciiInAUtf8Locale)
{
    LocaleScope locale("C.UTF-8");
    if (!locale.active)
        GTEST_SKIP() << "no UTF-8 locale";
    EXPECT_TRUE(matches(plainText("\xC3\xA4rger"), "Viel \xC3\x84RGER heute")); // Ä and ä
    EXPECT_FALSE(matches(plainText("\xC3\xA4rger", true), "Viel \xC3\x84RGER heute"));
}

TEST(TextMatcherTest, ExpressionsUsePcre2SyntaxAndCase)
{
    EXPECT_TRUE(matches(expression("order \\d{5}\\b"), "shipped Order 10443."));
    EXPECT_FALSE(matches(expression("order \\d{5}\\b", true), "shipped Order 10443."));
    EXPECT_FALSE(matches(expression("order \\d{6}"), "shipped order 10443"));
    EXPECT_TRUE(matches(expression("^shipped"), "Shipped order"));
    EXPECT_TRUE(matches(expression("(?i)SHIPPED", true), "shipped order"));
}

TEST(TextMatcherTest, ExpressionsKnowLettersBeyondAsciiAndSurviveInvalidBytes)
{
    LocaleScope locale("C.UTF-8");
    if (!locale.active)
        GTEST_SKIP() << "no UTF-8 locale";
    EXPECT_TRUE(matches(expression("\xC3\xA4rger"), "\xC3\x84RGER"));
    EXPECT_TRUE(matches(expression("^.rger$"), "\xC3\x84rger")); // one character, two bytes
    // A log line that is no valid UTF-8 is searched, not refused.
    EXPECT_TRUE(matches(expression("error"), "\xFF\xFE bad bytes then error"));
}

TEST(TextMatcherTest, AnInvalidExpressionIsAnErrorWithPcre2sMessageAndOffset)
{
    try {
        TextMatcher matcher(expression("order (10443"));
        FAIL() << "compiled";
    } catch (const EInvalidPattern& error) {
        EXPECT_STREQ(error.GetMessage(), "missing closing parenthesis");
        EXPECT_EQ(error.getOffset(), 12);
    }
    EXPECT_THROW(TextMatcher(TextQuery {{"fine", "[z-a]"}, true, false}), EInvalidPattern);
    // As plain text, the same pattern is fine.
    EXPECT_TRUE(matches(plainText("order (10443"), "ORDER (10443"));
}

TEST(TextMatcherTest, AnExpressionThatBacktracksWithoutEndGivesUp)
{
    const std::string line = std::string(200, 'a') + "c";
    EXPECT_FALSE(matches(expression("^(a+)+$"), line)); // without a limit, 2^200 ways to fail
    EXPECT_TRUE(matches(expression("(a+)+c"), line));
}

TEST(TextMatcherTest, AMessageMatchesWhenAnyOfItsLinesDoes)
{
    const std::string message = "Exception in worker\r\n  at Orders.ship(10443)\r\n  at Main.run";
    EXPECT_TRUE(matches(plainText("orders.ship"), message));
    EXPECT_TRUE(matches(expression("^\\s*at Main\\.run$"), message)); // anchors hold per line
    EXPECT_TRUE(matches(expression("\\(10443\\)$"), message));
    // No match spans a line end.
    EXPECT_FALSE(matches(expression("worker\\s+at"), message));
    EXPECT_FALSE(matches(plainText("worker  at"), message));
    EXPECT_FALSE(matches(expression("^$"), "first\r\nsecond"));
}

TEST(TextMatcherTest, AnyOfSeveralPatternsMatches)
{
    const TextQuery query {{"timeout", "refused"}, false, false};
    EXPECT_TRUE(matches(query, "connection REFUSED"));
    EXPECT_TRUE(matches(query, "read timeout"));
    EXPECT_FALSE(matches(query, "connected"));
    EXPECT_TRUE(matches(TextQuery {{"^a", "b$"}, true, false}, "xxb"));
}

TEST(TextMatcherTest, FindGivesTheEarliestNonEmptyMatchFromAPosition)
{
    TextMatcher plain(plainText("ab"));
    EXPECT_EQ(found(plain, "xAbyaBz"), "1:Ab");
    EXPECT_EQ(found(plain, "xAbyaBz", 2), "4:aB");
    EXPECT_EQ(found(plain, "xAbyaBz", 5), "-");
    EXPECT_EQ(found(plain, "xAbyaBz", 99), "-");

    TextMatcher stars(expression("o*"));
    EXPECT_EQ(found(stars, "xooy o"), "1:oo"); // the empty match before x is skipped
    EXPECT_EQ(found(stars, "xooy o", 3), "5:o");

    TextMatcher several(TextQuery {{"cd", "bcde", "b"}, false, true});
    EXPECT_EQ(found(several, "abcdef"), "1:bcde"); // earliest start, then longest
}

} // namespace
} // namespace kestrano::test
