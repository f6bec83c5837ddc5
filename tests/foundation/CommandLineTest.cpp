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
    if (list)
        for (int32_t i = 0; i < list->GetCount(); ++i)
            texts.emplace_back(list->Get(i)->GetText());
    return texts;
}

// A command line with "/log" registered for one value, parsed from the given elements.
struct Parsed {
    explicit Parsed(std::vector<const char*> elements)
    {
        line.AddOption("/log", 1);
        line.Parse(int32_t(elements.size()), elements.data());
    }
    TextList Values(const char* name) const { return Texts(line.GetOptionValues(name)); }
    TextList Arguments() const { return Texts(&line.GetArguments()); }
    CommandLine line;
};

} // namespace

TEST(CommandLineTest, RegisteredSwitchTakesItsValueWhateverItLooksLike)
{
    Parsed debug({"kestrano", "/log", "debug"});
    EXPECT_EQ(debug.Values("/log"), TextList {"debug"});
    EXPECT_TRUE(debug.Arguments().empty());

    Parsed fileName({"kestrano", "/log", "/var/log/app.log"});
    EXPECT_EQ(fileName.Values("/log"), TextList {"/var/log/app.log"});
    EXPECT_TRUE(fileName.Arguments().empty());
}

TEST(CommandLineTest, MissingValueStopsParsingWithEmptyValues)
{
    Parsed atEnd({"kestrano", "a.log", "/log"});
    ASSERT_NE(atEnd.line.GetOptionValues("/log"), nullptr);
    EXPECT_TRUE(atEnd.Values("/log").empty());
    EXPECT_EQ(atEnd.Arguments(), TextList {"a.log"});

    // Two values wanted, one present: parsing stops and the rest is ignored.
    CommandLine line;
    line.AddOption("/pair", 2);
    const char* elements[] = {"p", "/pair", "x"};
    line.Parse(3, elements);
    EXPECT_TRUE(Texts(line.GetOptionValues("/pair")).empty());
    EXPECT_EQ(line.GetArguments().GetCount(), 0);
}

TEST(CommandLineTest, UnregisteredSwitchesTakeNoValuesAndNamesAreExact)
{
    Parsed parsed({"kestrano", "-log", "info", "/LOG", "warn", "/x"});
    EXPECT_TRUE(parsed.Values("/log").empty());
    EXPECT_EQ(parsed.Arguments(), (TextList {"info", "warn"}));
    ASSERT_NE(parsed.line.GetOptionValues("-log"), nullptr);
    EXPECT_TRUE(parsed.Values("-log").empty());
    EXPECT_NE(parsed.line.GetOptionValues("/LOG"), nullptr);
    EXPECT_NE(parsed.line.GetOptionValues("/x"), nullptr);
    EXPECT_EQ(parsed.line.GetOptionValues("/never"), nullptr);
}

TEST(CommandLineTest, RepeatedSwitchKeepsTheLastValues)
{
    Parsed twice({"kestrano", "/log", "debug", "b.log", "/log", "error", "/x", "/x", "c"});
    EXPECT_EQ(twice.Values("/log"), TextList {"error"});
    EXPECT_EQ(twice.Arguments(), (TextList {"b.log", "c"}));

    // A repeat without its value empties the earlier values.
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

    CommandLine empty;
    empty.Parse(0, nullptr);
    EXPECT_STREQ(empty.GetProgram().GetText(), "");
}

TEST(CommandLineTest, ReRegisteringChangesTheValueCount)
{
    CommandLine line;
    line.AddOption("/size", 2);
    line.AddOption("/size", 1);
    const char* elements[] = {"p", "/size", "10", "20"};
    line.Parse(4, elements);
    EXPECT_EQ(Texts(line.GetOptionValues("/size")), TextList {"10"});
    EXPECT_EQ(Texts(&line.GetArguments()), TextList {"20"});
}

TEST(CommandLineTest, NegativeValueCountActsAsNoValues)
{
    // Would otherwise revisit the same switch forever.
    CommandLine line;
    line.AddOption("/n", -1);
    const char* elements[] = {"p", "/n", "file"};
    line.Parse(3, elements);
    EXPECT_TRUE(Texts(line.GetOptionValues("/n")).empty());
    EXPECT_EQ(Texts(&line.GetArguments()), TextList {"file"});
}
