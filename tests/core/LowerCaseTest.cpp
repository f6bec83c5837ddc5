#include "core/LowerCase.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace kestrano::test {
namespace {

std::string lowered(const std::string& text)
{
    std::string out(text.size(), '?');
    lowerCase(text.data(), static_cast<int32_t>(text.size()), out.data());
    return out;
}

// Switches LC_CTYPE for one test and back.
class LocaleScope {
public:
    explicit LocaleScope(const char* name)
        : previous(std::setlocale(LC_CTYPE, nullptr))
    {
        active = std::setlocale(LC_CTYPE, name) != nullptr;
    }
    ~LocaleScope() { std::setlocale(LC_CTYPE, previous.c_str()); }
    bool active = false;

private:
    std::string previous;
};

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
    // Capital I with dot above lowers to a one-byte i: kept as it is, the length never changes.
    EXPECT_EQ(lowered("\xC4\xB0X"), "\xC4\xB0x");
    // Invalid and cut-off sequences pass through byte by byte.
    EXPECT_EQ(lowered("\xFFZ\xC3"), "\xFFz\xC3");
    EXPECT_EQ(lowered("AAAAAAA\xC3\x89"), "aaaaaaa\xC3\xA9");
}

} // namespace
} // namespace kestrano::test
