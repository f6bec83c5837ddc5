// Logs in UTF-16 with a byte-order mark, decoded before they are cut into lines, and the decoder's
// handling of pieces that split a character.
#include "tests/core/ViewFixture.h"

namespace kestrano::test {
namespace {

// The UTF-16 of a UTF-8 text (the test texts are valid), in either byte order, a mark first.
std::string utf16(const std::u16string& text, bool little)
{
    std::string bytes = little ? "\xff\xfe" : "\xfe\xff";
    for (char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xff);
        const char high = static_cast<char>(unit >> 8);
        bytes += little ? low : high;
        bytes += little ? high : low;
    }
    return bytes;
}

using Utf16LogTest = ViewTest;

TEST_F(Utf16LogTest, IsDecodedInBothByteOrdersAndFollowedAsItGrows)
{
    for (bool little : {true, false}) {
        SCOPED_TRACE(little ? "little endian" : "big endian");
        writeFile(path, utf16(u"start ü\r\nan error \U0001F525\r\n  detail\r\n", little));
        view.refreshLog();
        catchUp();
        EXPECT_EQ(messageTexts(), (std::vector<std::string> {"start ü", "an error 🔥\r\ndetail"}));
        EXPECT_EQ(view.getMessages().GetTail()->getSeverity(), Severity::Error);

        // A character split between two polls waits for its second half.
        const std::string more = utf16(u"fatal Ω\n", little).substr(2);
        appendAndPoll(more.substr(0, 13));
        appendAndPoll(more.substr(13));
        EXPECT_EQ(messageTexts().back(), "fatal Ω");
        EXPECT_EQ(view.getMessages().GetTail()->getSeverity(), Severity::Fatal);
    }
}

TEST_F(Utf16LogTest, ItsTailStartsAtACharacter)
{
    std::u16string text;
    for (int i = 0; i < 100; ++i)
        text += u"line " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u"\n";
    writeFile(path, utf16(text, true));
    // 31 bytes: odd, so the read starts one byte later, at the line end of "line t" (dropped as the
    // partial first line).
    settings.SetInitiallyReadBytes(31);
    pollAndCatchUp();
    EXPECT_EQ(messageTexts(), (std::vector<std::string> {"line u", "line v"}));
}

} // namespace
} // namespace kestrano::test
