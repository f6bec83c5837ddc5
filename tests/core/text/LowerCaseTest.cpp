#include "core/text/LowerCase.h"
#include "tests/support/LocaleScope.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrano::test {
namespace {

std::string lowered(const std::string& text)
{
    std::string out(text.size(), '?');
    lowerCase(text.data(), static_cast<int32_t>(text.size()), out.data());
    return out;
}

TEST(LowerCaseTest, AsciiLettersOnlyInEveryBlockPosition)
{
    const std::string upper = "@AZ[`az{ HELLO, World! 0123456789 QUICK brown FOX";
    EXPECT_EQ(lowered(upper), "@az[`az{ hello, world! 0123456789 quick brown fox");
    for (size_t start = 0; start < 17; ++start) {
        const std::string text = std::string(start, '.') + "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        EXPECT_EQ(lowered(text), std::string(start, '.') + "abcdefghijklmnopqrstuvwxyz");
    }
}

TEST(LowerCaseTest, InPlaceWorks)
{
    std::string text = "MIXED Case\xC9";
    lowerCase(text.data(), static_cast<int32_t>(text.size()), text.data());
    EXPECT_EQ(text.substr(0, 10), "mixed case");
}

TEST(LowerCaseTest, CLocaleLeavesOtherBytesAlone)
{
    LocaleScope scope("C");
    EXPECT_EQ(lowered("\xC9\xE9\x80\xFF ABC"), "\xC9\xE9\x80\xFF abc");
}

TEST(LowerCaseTest, Utf8LettersOfTheSameLengthAreLowered)
{
    LocaleScope scope("C.UTF-8");
    if (!scope.active)
        GTEST_SKIP() << "no UTF-8 locale";
    // E with acute, Cyrillic DE, Greek SIGMA.
    EXPECT_EQ(lowered("\xC3\x89RREUR \xD0\x94 \xCE\xA3"), "\xC3\xA9rreur \xD0\xB4 \xCF\x83");
    // Capital I with dot above lowers to a one-byte i: kept as it is, so positions stay.
    EXPECT_EQ(lowered("\xC4\xB0X"), "\xC4\xB0x");
    // Invalid and cut-off sequences pass through byte by byte.
    EXPECT_EQ(lowered("\xFFZ\xC3"), "\xFFz\xC3");
    EXPECT_EQ(lowered("AAAAAAA\xC3\x89"), "aaaaaaa\xC3\xA9");
}

std::string loweredForSearch(const std::string& text)
{
    std::string out(static_cast<size_t>(LoweredGrowth) * text.size(), '?');
    out.resize(
        static_cast<size_t>(lowerCaseForSearch(text.data(), static_cast<int32_t>(text.size()), out.data())));
    return out;
}

std::string loweredForAsciiSearch(const std::string& text)
{
    std::string out(text.size(), '?');
    const AsciiLowering lowering = currentAsciiLowering();
    out.resize(static_cast<size_t>(
        lowerCaseForAsciiSearch(text.data(), static_cast<int32_t>(text.size()), out.data(), lowering)));
    return out;
}

TEST(LowerCaseTest, ForSearchingEveryUtf8LetterIsLoweredWhateverItsLength)
{
    LocaleScope scope("C.UTF-8");
    if (!scope.active)
        GTEST_SKIP() << "no UTF-8 locale";
    // Capital I with dot above into i, the Kelvin sign into k, capital A with stroke into three bytes.
    EXPECT_EQ(
        loweredForSearch("\xC4\xB0NFO \xE2\x84\xAA \xC8\xBA\xC8\xBA"), "info k \xE2\xB1\xA5\xE2\xB1\xA5");
    EXPECT_EQ(loweredForSearch("\xC3\x89RREUR \xD0\x94 \xFFZ\xC3"), "\xC3\xA9rreur \xD0\xB4 \xFFz\xC3");
    EXPECT_EQ(loweredForSearch(""), "");

    // For ASCII keywords only the letters that become ASCII matter; the rest is copied.
    const AsciiLowering lowering = currentAsciiLowering();
    EXPECT_TRUE(lowering.target['k']);
    EXPECT_TRUE(lowering.target['i']);
    EXPECT_FALSE(lowering.target['a']);
    EXPECT_EQ(loweredForAsciiSearch("\xC4\xB0NFO \xE2\x84\xAA \xC8\xBA \xD0\x94 \xC3\x89"),
        "info k \xC8\xBA \xD0\x94 \xC3\x89");
}

TEST(LowerCaseTest, InTheCLocaleNoOtherByteLowersIntoAscii)
{
    LocaleScope scope("C");
    const AsciiLowering lowering = currentAsciiLowering();
    for (int c = 0; c < 128; ++c)
        EXPECT_FALSE(lowering.target[c]) << c;
    EXPECT_EQ(loweredForSearch("\xC4\xB0NFO \xE2\x84\xAA"), "\xC4\xB0nfo \xE2\x84\xAA");
}

} // namespace
} // namespace kestrano::test
