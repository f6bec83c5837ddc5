#include "foundation/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace haspel;

namespace {

using TextList = std::vector<std::string>;

TextList Texts(const ArrayList<String>* list)
{
    TextList texts;
    for (int32_t i = 0; list && i < list->GetCount(); ++i)
        texts.emplace_back(list->Get(i)->GetText());
    return texts;
}

// Parses the elements with "/log" registered for one value (and "/pair" for two).
struct Parsed {
    explicit Parsed(std::vector<const char*> elements)
    {
        line.AddOption("/log", 1);
        line.AddOption("/pair", 2);
        line.Parse(int32_t(elements.size()), elements.data());
    }
    TextList Values(const char* name) const { return Texts(line.GetOptionValues(name)); }
    TextList Arguments() const { return Texts(&line.GetArguments()); }
    CommandLine line;
};

} // namespace

TEST(CommandLineTest, RegisteredSwitchTakesItsValuesWhateverTheyLookLike)
{
    Parsed parsed({"kestrano", "a.log", "/log", "/var/log/b.log", "/pair", "x", "-y", "c.log"});
    EXPECT_EQ(parsed.Values("/log"), TextList {"/var/log/b.log"});
    EXPECT_EQ(parsed.Values("/pair"), (TextList {"x", "-y"}));
    EXPECT_EQ(parsed.Arguments(), (TextList {"a.log", "c.log"}));
}

TEST(CommandLineTest, MissingValuesStopParsing)
{
    Parsed atEnd({"kestrano", "a.log", "/log"});
    ASSERT_NE(atEnd.line.GetOptionValues("/log"), nullptr);
    EXPECT_TRUE(atEnd.Values("/log").empty());
    EXPECT_EQ(atEnd.Arguments(), TextList {"a.log"});

    Parsed tooFew({"kestrano", "/pair", "x", "/log", "debug", "/pair", "y"});
    EXPECT_TRUE(tooFew.Values("/log").empty()); // taken as a value of the first "/pair"
    EXPECT_TRUE(tooFew.Values("/pair").empty());
    EXPECT_EQ(tooFew.Arguments(), TextList {"debug"});
}

TEST(CommandLineTest, UnregisteredSwitchesTakeNoValuesAndNamesAreExact)
{
    Parsed parsed({"kestrano", "-log", "info", "/LOG", "warn"});
    EXPECT_TRUE(parsed.Values("/log").empty());
    EXPECT_EQ(parsed.Arguments(), (TextList {"info", "warn"}));
    ASSERT_NE(parsed.line.GetOptionValues("-log"), nullptr);
    EXPECT_NE(parsed.line.GetOptionValues("/LOG"), nullptr);
    EXPECT_EQ(parsed.line.GetOptionValues("/never"), nullptr);
}

TEST(CommandLineTest, RepeatedSwitchKeepsTheLastValues)
{
    Parsed twice({"kestrano", "/log", "debug", "/x", "/log", "error", "/x", "c"});
    EXPECT_EQ(twice.Values("/log"), TextList {"error"});
    EXPECT_EQ(twice.Arguments(), TextList {"c"});

    Parsed repeatAtEnd({"kestrano", "/log", "debug", "/log"});
    EXPECT_TRUE(repeatAtEnd.Values("/log").empty());
}

TEST(CommandLineTest, OnlyTheProgram)
{
    Parsed parsed({"/usr/bin/kestrano"});
    EXPECT_STREQ(parsed.line.GetProgram().GetText(), "/usr/bin/kestrano");
    EXPECT_NE(parsed.line.GetOptionValues("/log"), nullptr);
    EXPECT_TRUE(parsed.Values("/log").empty());
    EXPECT_TRUE(parsed.Arguments().empty());
}

TEST(CommandLineTest, RegisteringAgainReplacesTheValueCount)
{
    CommandLine line;
    line.AddOption("/size", 2);
    line.AddOption("/size", 1);
    line.AddOption("/n", -1); // counts as 0 instead of revisiting the switch forever
    const char* elements[] = {"p", "/size", "10", "20", "/n", "file"};
    line.Parse(6, elements);
    EXPECT_EQ(Texts(line.GetOptionValues("/size")), TextList {"10"});
    EXPECT_TRUE(Texts(line.GetOptionValues("/n")).empty());
    EXPECT_EQ(Texts(&line.GetArguments()), (TextList {"20", "file"}));
}
