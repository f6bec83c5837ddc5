// Control and bidirectional formatting characters of a log line shown as visible stand-ins;
// everything else, valid UTF-8 or not, kept byte for byte.
#include "core/text/VisibleText.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrano::test {
namespace {

std::string visible(const std::string& text)
{
    return visibleText(text.data(), static_cast<int32_t>(text.size()));
}

TEST(VisibleTextTest, OrdinaryTextTabsAndLineJoinsStayAsTheyAre)
{
    const std::string text = "info\tcafé ok \xE2\x82\xAC 100\r\n\tat main() \xF0\x9F\x98\x80 \xE2\x90\x9B";
    EXPECT_EQ(visible(text), text);
    // Bytes that are no UTF-8 (a Latin-1 log) keep showing as their own characters.
    EXPECT_EQ(visible("caf\xE9 \xFF\xC3"), "caf\xE9 \xFF\xC3");
    EXPECT_EQ(visible(""), "");
}

TEST(VisibleTextTest, TerminalCommandsOfALineAreShownNotObeyed)
{
    // A line that would retitle the terminal, clear it and hide what follows.
    EXPECT_EQ(visible("user=\x1B]0;owned\x07 \x1B[2J\x1B[8mhidden\x1B[0m\x7F\b"),
        "user=^[]0;owned^G ^[[2J^[[8mhidden^[[0m^?^H");
    // A CR of its own, an LF of its own and NUL are controls too; only CR LF joins lines.
    EXPECT_EQ(visible(std::string("a\rb\nc\0d\r", 8)), "a^Mb^Jc^@d^M");
}

TEST(VisibleTextTest, BidirectionalFormattingCannotReorderTheText)
{
    // "evil" behind a right-to-left override is drawn as "live".
    EXPECT_EQ(visible("user \xE2\x80\xAE"
                      "evil\xE2\x80\xAC ok"),
        "user <U+202E>evil<U+202C> ok");
    EXPECT_EQ(visible("\xE2\x81\xA6x\xE2\x81\xA9\xE2\x80\x8F\xD8\x9C\xE2\x80\xA8"),
        "<U+2066>x<U+2069><U+200F><U+061C><U+2028>");
    // Right-to-left letters themselves are text, not formatting.
    EXPECT_EQ(visible("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"), "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D");
}

TEST(VisibleTextTest, C1ControlsAndStrayC1BytesAreEscaped)
{
    // U+009B is a CSI to a terminal; as a stray byte it is one when taken as Latin-1.
    EXPECT_EQ(visible("a\xC2\x9B"
                      "31mb"),
        "a<U+009B>31mb");
    EXPECT_EQ(visible("a\x9B"
                      "31mb\x85"),
        "a<9B>31mb<85>");
    // A character cut short at the end of the text is no character: its bytes are judged alone.
    EXPECT_EQ(visible("x\xE2\x80"), "x\xE2<80>");
    EXPECT_EQ(visible("\xC2\xA0\xC2\x85"), "\xC2\xA0<U+0085>");
}

TEST(VisibleTextTest, AppendsToWhatIsThere)
{
    std::string out = "INFO\t";
    const std::string line = "a\x1B";
    appendVisibleText(line.data(), static_cast<int32_t>(line.size()), out);
    EXPECT_EQ(out, "INFO\ta^[");
}

} // namespace
} // namespace kestrano::test
