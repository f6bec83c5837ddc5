// Finding text with ASCII case ignored, against a plain model on random bytes.
#include "core/search/CaselessSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kestrano::test {
namespace {

char fold(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// The first place of needle in text, folding both: npos when none.
size_t modelFind(const std::string& text, const std::string& needle)
{
    std::string a, b;
    for (char c : text)
        a += fold(c);
    for (char c : needle)
        b += fold(c);
    return a.find(b);
}

TEST(CaselessSearchTest, FindsWhatTheFoldedModelFinds)
{
    std::mt19937 random(7);
    // Letters of both cases, the bytes that differ from a letter by 0x20 only ('@', '[', '`', '{'), and
    // bytes beyond ASCII.
    const std::string alphabet = "aAbBzZ@[`{ \\xc3\\x84\\xe4\\n";
    for (int round = 0; round < 20000; ++round) {
        std::string text(random() % 80, ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        std::string needle(1 + random() % 4, ' ');
        for (char& c : needle)
            c = alphabet[random() % alphabet.size()];
        const char* found = findCaseless(text.data(), text.size(), needle.data(), needle.size());
        const size_t expected = modelFind(text, needle);
        ASSERT_EQ(found ? static_cast<size_t>(found - text.data()) : std::string::npos, expected)
            << "text '" << text << "' needle '" << needle << "'";
    }
}

TEST(CaselessSearchTest, FindsAtEveryPlaceOfALongTextAndNotBeyondIt)
{
    const std::string needle = "NeEdLe";
    for (size_t at = 0; at + needle.size() <= 100; ++at) {
        std::string text(100, '.');
        text.replace(at, needle.size(), "needle");
        EXPECT_EQ(findCaseless(text.data(), text.size(), needle.data(), needle.size()), text.data() + at);
        // Cut short before its end, it is not found.
        EXPECT_EQ(findCaseless(text.data(), at + needle.size() - 1, needle.data(), needle.size()), nullptr);
    }
    const char text[] = "abc";
    EXPECT_EQ(findCaseless(text, 3, "", 0), text);
}

} // namespace
} // namespace kestrano::test
