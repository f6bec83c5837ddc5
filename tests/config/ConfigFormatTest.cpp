#include "config/Config.h"
#include "tests/config/TreeDump.h"

#include <gtest/gtest.h>

#include <string>

using namespace haspel;
using kestrano::test::DumpTree;
using kestrano::test::StringWriter;
using kestrano::test::WriteTree;

namespace {

// Every byte that has an escape, around and between ordinary ones.
const char* const kAwkward = "\t<a>\\b/c\r\nd\fe> </ 0\\0\xC3\xA9\x7F";

void FillSample(ConfigSection& root)
{
    root.GetParameter("b").SetInt(2);
    root.GetParameter("_x").SetString("u");
    root.GetParameter("A").SetBool(true);
    root.GetSection("Zeta").GetParameter("k").SetString("v");
    ConfigSection& alpha = root.GetSection("alpha");
    alpha.GetParameter("p").SetString("1");
    alpha.GetSection("Inner2");
    alpha.GetSection("inner");
}

} // namespace

TEST(ConfigFormatTest, WritesSortedContentWithTabsAndBlankLines)
{
    Config config;
    EXPECT_EQ(WriteTree(config.GetRoot()), "");
    FillSample(config.GetRoot());
    EXPECT_EQ(WriteTree(config.GetRoot()),
        "<_x>u</>\n"
        "<A>1</>\n"
        "<b>2</>\n"
        "\n"
        "<alpha>\n"
        "\t<p>1</>\n"
        "\n"
        "\t<inner>\n"
        "\t</inner>\n"
        "\n"
        "\t<Inner2>\n"
        "\t</Inner2>\n"
        "</alpha>\n"
        "\n"
        "<Zeta>\n"
        "\t<k>v</>\n"
        "</Zeta>\n");
}

TEST(ConfigFormatTest, WritesEveryTypeAndEscape)
{
    ConfigSection root("Root");
    root.GetParameter("none");
    root.GetParameter("double").SetDouble(0.25);
    root.GetParameter("big").SetDouble(1e20);
    root.GetParameter("int").SetInt(-2147483647 - 1);
    root.GetParameter("char").SetChar('<');
    root.GetParameter("empty").SetString("");
    root.GetParameter("path").SetString("C:\\x/y");
    root.GetParameter(kAwkward).SetString(kAwkward);
    EXPECT_EQ(WriteTree(root),
        "<\\t\\<a\\>\\\\b\\/c\\r\\nd\\fe\\> \\<\\/ 0\\\\0\xC3\xA9\x7F>"
        "\\t\\<a\\>\\\\b\\/c\\r\\nd\\fe\\> \\<\\/ 0\\\\0\xC3\xA9\x7F</>\n"
        "<big>1e+20</>\n"
        "<char>\\<</>\n"
        "<double>0.25</>\n"
        "<empty>\\0</>\n"
        "<int>-2147483648</>\n"
        "<none>\\0</>\n"
        "<path>C:\\\\x\\/y</>\n");
}

TEST(ConfigFormatTest, WritingStopsAtTheFirstFailedWrite)
{
    Config config;
    FillSample(config.GetRoot());
    const std::string whole = WriteTree(config.GetRoot());
    for (long budget = 0; budget < static_cast<long>(whole.size()); ++budget) {
        StringWriter writer(budget);
        EXPECT_FALSE(config.GetRoot().Write(writer, 0)) << budget;
        EXPECT_EQ(writer.text(), whole.substr(0, budget));
        EXPECT_EQ(writer.writesAfterFailure(), 0) << budget;
    }
    StringWriter failing(0);
    EXPECT_FALSE(WriteEscaped(failing, ""));
    EXPECT_FALSE(WriteIndent(failing, 1));
    EXPECT_TRUE(WriteIndent(failing, 0));
}

TEST(ConfigFormatTest, WrittenTreesReadBackTheSame)
{
    Config written;
    ConfigSection& root = written.GetRoot();
    root.GetParameter(kAwkward).SetString(kAwkward);
    root.GetParameter("").SetString("empty name");
    root.GetParameter("empty value").SetString("");
    root.GetParameter("inner spaces").SetString("a  b");
    root.GetParameter("Both").SetString("parameter");
    root.GetSection("Both").GetParameter("child").SetString("of the section");
    ConfigSection& deep = root.GetSection("").GetSection("a").GetSection(kAwkward);
    deep.GetParameter("x").SetInt(42);
    deep.GetParameter(" spaced name ").SetBool(false);
    deep.GetSection("empty section");
    root.GetSection("Workspace").GetSection("/var/log/app.log").GetParameter("Follow").SetBool(true);

    const std::string text = WriteTree(root);
    Config read;
    ASSERT_TRUE(read.ParseText(text.c_str()));
    EXPECT_EQ(DumpTree(read.GetRoot()), DumpTree(root));
    EXPECT_EQ(WriteTree(read.GetRoot()), text);
    EXPECT_EQ(read.GetRoot().FindParameter("Both")->GetType(), ValueType::String);
}

TEST(ConfigFormatTest, ReadValuesAreTextsAndWinOverDefaults)
{
    Config config;
    ASSERT_TRUE(config.ParseText("<Sizes>\n\t<KeepLines>abc</>\n\t<On>1</>\n</Sizes>\n"));
    ConfigSection& sizes = config.GetRoot().GetSection("Sizes");
    EXPECT_EQ(sizes.GetInt("KeepLines", 1000), 0);
    EXPECT_FALSE(sizes.GetBool("KeepLines", true));
    EXPECT_TRUE(sizes.GetBool("On", false));
    EXPECT_STREQ(sizes.GetString("On", "x"), "1");
}

TEST(ConfigFormatTest, WhiteSpaceAroundValuesIsLostButNamesKeepTheirs)
{
    Config config;
    ASSERT_TRUE(config.ParseText("\r\n< a >  x  y \t</>\r\n<spaces>   </>\r\n"));
    ConfigSection& root = config.GetRoot();
    ASSERT_NE(root.FindParameter(" a "), nullptr);
    EXPECT_STREQ(root.FindParameter(" a ")->ToString(), "x  y");
    // A value of spaces only reads as nothing: an empty section stands in its place.
    EXPECT_EQ(root.FindParameter("spaces"), nullptr);
    ASSERT_NE(root.FindSection("spaces"), nullptr);
    EXPECT_EQ(root.GetSections().GetSize(), 1);
}

TEST(ConfigFormatTest, TagPairsAndCloseTagsByName)
{
    Config config;
    ASSERT_TRUE(config.ParseText("<a></><b>\\0</b><c><x>1</x></>"));
    ConfigSection& root = config.GetRoot();
    ASSERT_NE(root.FindSection("a"), nullptr);
    EXPECT_EQ(root.FindParameter("a"), nullptr);
    ASSERT_NE(root.FindParameter("b"), nullptr);
    EXPECT_STREQ(root.FindParameter("b")->ToString(), "");
    EXPECT_EQ(root.FindSection("b"), nullptr);
    EXPECT_STREQ(root.GetSection("c").GetString("x", "-"), "1");
}

TEST(ConfigFormatTest, ParameterLineAfterItsSectionDiscardsTheSection)
{
    Config config;
    ASSERT_TRUE(config.ParseText("<s>\n\t<k>v</>\n</s>\n<s>value</>\n"));
    EXPECT_EQ(config.GetRoot().FindSection("s"), nullptr);
    EXPECT_STREQ(config.GetRoot().GetString("s", "-"), "value");
}

TEST(ConfigFormatTest, UnescapingRules)
{
    Config config;
    ASSERT_TRUE(config.ParseText("<n\\0a\\0>\\q\\0\\\\0\\t\\xz</>"));
    ASSERT_NE(config.GetRoot().FindParameter("na"), nullptr);
    EXPECT_STREQ(config.GetRoot().FindParameter("na")->ToString(), "q\\0\txz");
}

TEST(ConfigFormatTest, EverySyntaxErrorLeavesAnEmptyConfiguration)
{
    std::string tooDeep;
    for (int i = 0; i < 1001; ++i)
        tooDeep += "<d>";
    for (int i = 0; i < 1001; ++i)
        tooDeep += "</d>";
    const std::string rejected[] = {
        "text before",
        "\xEF\xBB\xBF<a>1</>",
        "<a>1</>\nstray",
        "<a>1</b>",
        "<a><b></a></b>",
        "</a>",
        "<a>1</></>",
        "<a><b>",
        "<a>",
        tooDeep,
    };
    for (const std::string& text : rejected) {
        Config config;
        config.GetRoot().GetSection("Old").GetInt("Kept", 1);
        EXPECT_FALSE(config.ParseText(text.c_str())) << text.substr(0, 40);
        EXPECT_EQ(config.GetRoot().GetSections().GetSize(), 0);
        EXPECT_EQ(config.GetRoot().GetParameters().GetSize(), 0);
    }
    std::string deepEnough;
    for (int i = 0; i < 1000; ++i)
        deepEnough += "<d>";
    for (int i = 0; i < 1000; ++i)
        deepEnough += "</>";
    Config config;
    EXPECT_TRUE(config.ParseText(deepEnough.c_str()));
    EXPECT_TRUE(config.ParseText(" \r\n\t\f"));
    EXPECT_EQ(config.GetRoot().GetSections().GetSize(), 0);
}
