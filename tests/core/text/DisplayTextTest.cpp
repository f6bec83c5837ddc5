#include "core/text/DisplayText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace kestrano::test {
namespace {

std::string display(const std::string& text)
{
    const auto length = static_cast<int32_t>(std::strlen(text.c_str()));
    std::string out(static_cast<size_t>(length) + 1, '\0');
    out.resize(static_cast<size_t>(displayText(text.c_str(), length, out.data())));
    return out;
}

// The rendering done step by step: line ends to spaces, then the first pair of spaces becomes one
// until none is left.
std::string displayedStepByStep(std::string text)
{
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    for (size_t pair; (pair = text.find("  ")) != std::string::npos;)
        text.erase(pair, 1);
    return text;
}

TEST(DisplayTextTest, MultiLineTextBecomesOneLine)
{
    EXPECT_EQ(display("first\r\nsecond"), "first second");
    EXPECT_EQ(display("a\r\n\r\nb\rc\nd"), "a b c d");
    EXPECT_EQ(display("trailing\r\n"), "trailing ");
}

TEST(DisplayTextTest, RunsOfSpacesShrinkAndTabsStay)
{
    EXPECT_EQ(display("a    b"), "a b");
    EXPECT_EQ(display("a\t\tb \t c"), "a\t\tb \t c");
    EXPECT_EQ(display("   "), " ");
    EXPECT_EQ(display(""), "");
}

TEST(DisplayTextTest, LongTextsAgreeWithTheStepwiseRendering)
{
    std::mt19937 random(7);
    const char alphabet[] = {' ', ' ', '\r', '\n', '\t', 'a', 'b'};
    for (int round = 0; round < 200; ++round) {
        std::string text(random() % 1500, 'x');
        for (char& c : text)
            c = alphabet[random() % sizeof alphabet];
        ASSERT_EQ(display(text), displayedStepByStep(text)) << "round " << round;
    }
}

TEST(DisplayTextTest, RowPrefixIsBoundedAndNeverSplitsACharacter)
{
    const std::string shortText = "short";
    EXPECT_EQ(rowPrefixLength(shortText.data(), 5), 5);
    const std::string ascii(10 * 1024 * 1024, 'x');
    EXPECT_EQ(rowPrefixLength(ascii.data(), static_cast<int32_t>(ascii.size())), RowTextBytes);
    // "\xC3\xA9" (e acute) over the bound: the prefix ends before it.
    const std::string accented = "abc\xC3\xA9"
                                 "def";
    EXPECT_EQ(rowPrefixLength(accented.data(), 8, 4), 3);
    EXPECT_EQ(rowPrefixLength(accented.data(), 8, 5), 5);
    const std::string euro = "ab\xE2\x82\xAC";
    EXPECT_EQ(rowPrefixLength(euro.data(), 5, 4), 2);
}

} // namespace
} // namespace kestrano::test
