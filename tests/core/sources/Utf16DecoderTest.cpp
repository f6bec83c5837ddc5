#include "core/sources/Utf16Decoder.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrano::test {
namespace {

TEST(Utf16Decoder, KnowsTheMarksAndReplacesUnpairedSurrogates)
{
    EXPECT_EQ(Utf16Decoder::orderOfMark("\xff\xfe", 2), Utf16Decoder::Order::Little);
    EXPECT_EQ(Utf16Decoder::orderOfMark("\xfe\xff", 2), Utf16Decoder::Order::Big);
    EXPECT_EQ(Utf16Decoder::orderOfMark("\xef\xbb\xbf", 3), Utf16Decoder::Order::None);
    EXPECT_EQ(Utf16Decoder::orderOfMark("\xff", 1), Utf16Decoder::Order::None);

    Utf16Decoder decoder;
    decoder.start(Utf16Decoder::Order::Big);
    std::string out;
    // A lone low surrogate, a high one followed by a letter, a NUL (dropped), and a pair split in
    // the middle of its second unit.
    decoder.decode("\xdc\x00\xd8\x00\x00\x41\x00\x00\xd8\x3d\xdd", 11, out);
    decoder.decode("\x25", 1, out);
    EXPECT_EQ(out,
        "\xef\xbf\xbd\xef\xbf\xbd"
        "A"
        "\xf0\x9f\x94\xa5");
}

} // namespace
} // namespace kestrano::test
