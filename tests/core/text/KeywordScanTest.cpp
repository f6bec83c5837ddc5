#include "core/text/KeywordScan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace kestrano::test {
namespace {

struct Marks {
    explicit Marks(size_t n)
        : bits(3 * ((n + 63) / 64 + 1), 0xA5A5A5A5A5A5A5A5ull)
        , words((n + 63) / 64 + 1)
    { }
    ScanMarks view() { return ScanMarks {bits.data(), bits.data() + words, bits.data() + 2 * words}; }
    bool at(int array, size_t i) const { return (bits[array * words + i / 64] >> (i % 64)) & 1; }
    std::vector<uint64_t> bits;
    size_t words;
};

const std::vector<ScanKeys::Path> allPaths {
    ScanKeys::Path::Portable, ScanKeys::Path::Sse2, ScanKeys::Path::Avx2, ScanKeys::Path::Avx512};

// Whether the keyword occurs at i, letter case aside (bytes after the text match).
bool occursAt(const std::string& text, size_t i, const std::string& keyword)
{
    for (size_t j = 0; j < keyword.size() && i + j < text.size(); ++j) {
        const char c = text[i + j];
        if ((c >= 'A' && c <= 'Z' ? c + 32 : c) != keyword[j])
            return false;
    }
    return true;
}

void expectMarks(const ScanKeys& keys, const std::vector<std::string>& keywords, const std::string& text)
{
    std::vector<Marks> results;
    const bool holdsNul = text.find('\0') != std::string::npos;
    for (ScanKeys::Path path : allPaths) {
        if (!ScanKeys::supports(path))
            continue;
        results.emplace_back(text.size());
        ASSERT_EQ(keys.scanBy(path, text.data(), static_cast<int32_t>(text.size()), results.back().view()),
            holdsNul)
            << "path " << static_cast<int>(path) << ", " << text.size() << " bytes";
    }
    const Marks& portable = results.front();
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        ASSERT_EQ(portable.at(0, i), c == '\r' || c == '\n') << i;
        ASSERT_EQ(portable.at(2, i), c >= 0x80) << i;
        for (const std::string& keyword : keywords) {
            if (occursAt(text, i, keyword)) {
                ASSERT_TRUE(portable.at(1, i)) << keyword << " at " << i;
            }
        }
    }
    // Every path marks the same, bits beyond the text included (they are clear).
    const size_t usedWords = (text.size() + 63) / 64;
    for (const Marks& other : results) {
        for (int array = 0; array < 3; ++array) {
            for (size_t w = 0; w < usedWords; ++w)
                ASSERT_EQ(other.bits[array * other.words + w], portable.bits[array * portable.words + w])
                    << "array " << array << " word " << w << " of " << text.size() << " bytes";
        }
    }
}

void expectMarksOfRandomTexts(const std::vector<std::string>& keywords)
{
    ScanKeys keys;
    for (const std::string& keyword : keywords)
        keys.add(keyword.data(), static_cast<int32_t>(keyword.size()));
    std::mt19937 random(18);
    const std::string alphabet = "aeiEXWRrnoNOtcTfFgGdDbBq[{!\t\x01 \r\n\xc3\xa9x";
    for (int round = 0; round < 300; ++round) {
        std::string text(random() % 300, ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        // A NUL byte in some texts, anywhere: in a vector block, the padded last one or the bytes after.
        if (round % 3 == 0 && !text.empty())
            text[random() % text.size()] = '\0';
        // A keyword at a block edge: around the 64-byte block and the last bytes.
        if (!text.empty()) {
            const std::string& keyword = keywords[random() % keywords.size()];
            text.replace(random() % text.size(), 0, round % 2 ? keyword : std::string("ERROR"));
        }
        SCOPED_TRACE(round);
        expectMarks(keys, keywords, text);
    }
    for (size_t length = 0; length < 140; ++length) {
        for (const std::string& tail : {std::string("Fatal"), std::string("CRI"), std::string("w")}) {
            std::string text(length, 'z');
            text += tail;
            SCOPED_TRACE(text.size());
            expectMarks(keys, keywords, text);
        }
    }
}

TEST(KeywordScanTest, EveryPathMarksLineEndsNonAsciiAndEveryKeywordStart)
{
    // The default keywords make eight keys, which AVX2 tests with byte shuffles, more keys with compares.
    expectMarksOfRandomTexts(
        {"debug", "debg", "info", "notice", "warn", "error", "exception", "fatal", "crit"});
    expectMarksOfRandomTexts(
        {"debug", "debg", "info", "notice", "warn", "error", "exception", "fatal", "crit", "x", "q[", "\t!"});
    expectMarksOfRandomTexts({"a", "zq"});
}

TEST(KeywordScanTest, ManyKeysAreScannedByTheirFirstPair)
{
    std::vector<std::string> keywords;
    ScanKeys keys;
    for (char a = 'a'; a <= 'z'; ++a) {
        keywords.push_back(std::string {a, static_cast<char>('z' - (a - 'a')), 'k'});
        keys.add(keywords.back().data(), 3);
    }
    std::mt19937 random(5);
    for (int round = 0; round < 100; ++round) {
        std::string text(random() % 200, ' ');
        for (char& c : text)
            c = static_cast<char>("azAZbyBYk\n"[random() % 10]);
        expectMarks(keys, keywords, text);
    }
}

} // namespace
} // namespace kestrano::test
