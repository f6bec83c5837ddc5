#include "config/Config.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace haspel;

TEST(ConfigModelTest, TypedReadsCreateTheirDefaultAndStoredValuesWin)
{
    ConfigSection section("Sizes");
    EXPECT_EQ(section.GetInt("KeepLines", 1000), 1000);
    ASSERT_NE(section.FindParameter("KeepLines"), nullptr);
    EXPECT_EQ(section.FindParameter("KeepLines")->GetType(), ValueType::Int);
    EXPECT_EQ(section.GetInt("KeepLines", 5), 1000);
    EXPECT_STREQ(section.GetString("KeepLines", "x"), ""); // an Int has no text
    EXPECT_TRUE(section.GetBool("KeepLines", false));

    EXPECT_STREQ(section.GetString("Name", "default"), "default");
    EXPECT_EQ(section.FindParameter("Name")->GetType(), ValueType::String);
    EXPECT_FALSE(section.GetBool("Flag", false));
    EXPECT_EQ(section.FindParameter("Flag")->GetType(), ValueType::Bool);
}

TEST(ConfigModelTest, NamesAreExactBytesAndTheEmptyNameIsValid)
{
    ConfigSection root("Root");
    ConfigSection& lower = root.GetSection("workspace");
    ConfigSection& upper = root.GetSection("Workspace");
    EXPECT_NE(&lower, &upper);
    EXPECT_EQ(&root.GetSection("Workspace"), &upper);
    EXPECT_STREQ(upper.GetName(), "Workspace");

    ConfigSection& empty = root.GetSection("");
    EXPECT_STREQ(empty.GetName(), "");
    root.GetParameter("").SetInt(7);
    EXPECT_EQ(root.GetInt("", 0), 7);
    // A parameter and a sub-section may share a name.
    root.GetParameter("Workspace").SetString("value");
    EXPECT_EQ(root.FindSection("Workspace"), &upper);
    EXPECT_EQ(root.GetSections().GetSize(), 3);
    EXPECT_EQ(root.GetParameters().GetSize(), 2);
}

TEST(ConfigModelTest, RemoveSectionDestroysTheSubtreeAndIgnoresAbsentNames)
{
    ConfigSection root("Root");
    ConfigSection& workspace = root.GetSection("Workspace");
    workspace.GetSection("/var/log/syslog").GetInt("Follow", 1);
    workspace.GetSection("/var/log/syslog").GetSection("deeper").GetBool("x", true);
    root.GetSection("Sizes");

    root.RemoveSection("Absent");
    EXPECT_EQ(root.GetSections().GetSize(), 2);
    root.RemoveSection("Workspace");
    EXPECT_EQ(root.FindSection("Workspace"), nullptr);
    EXPECT_EQ(root.GetSections().GetSize(), 1);
    EXPECT_EQ(root.GetSection("Workspace").GetSections().GetSize(), 0); // a fresh one
}

TEST(ConfigModelTest, ConversionsOfEveryType)
{
    ConfigParameter p;
    EXPECT_FALSE(p.ToBool());
    EXPECT_EQ(p.ToInt(), 0);
    EXPECT_STREQ(p.ToString(), "");

    p.SetBool(true);
    EXPECT_EQ(p.ToInt(), 1);
    EXPECT_STREQ(p.ToString(), "1");
    p.SetBool(false);
    EXPECT_STREQ(p.ToString(), "0");

    p.SetDouble(-2.7);
    EXPECT_TRUE(p.ToBool());
    EXPECT_EQ(p.ToInt(), -2);
    EXPECT_STREQ(p.ToString(), "");
    p.SetDouble(std::nan(""));
    EXPECT_TRUE(p.ToBool());
    EXPECT_EQ(p.ToInt(), 0);
    p.SetDouble(1e300);
    EXPECT_EQ(p.ToInt(), 2147483647);
    p.SetDouble(0.0);
    EXPECT_FALSE(p.ToBool());

    p.SetInt(-5);
    EXPECT_TRUE(p.ToBool());
    EXPECT_EQ(p.ToInt(), -5);
    EXPECT_STREQ(p.ToString(), "");

    p.SetChar('Y');
    EXPECT_TRUE(p.ToBool());
    EXPECT_EQ(p.ToInt(), 0);
    p.SetChar('7');
    EXPECT_FALSE(p.ToBool());
    EXPECT_EQ(p.ToInt(), 7);
    p.SetChar('\0');
    EXPECT_FALSE(p.ToBool());
    EXPECT_STREQ(p.ToString(), "");
}

TEST(ConfigModelTest, TextsConvertLikeTheDecimalReader)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[]
        = {{"1", 1}, {"-3", -3}, {"12abc", 12}, {"0", 0}, {"yes", 0}, {"true", 0}, {"", 0}, {" \t\n+42", 42},
            {"- 4", 0}, {"007", 7}, {"5000000000", 2147483647}, {"-99999999999999999999", -2147483647 - 1}};
    ConfigParameter p;
    for (const auto& c : cases) {
        p.SetString(c.text);
        EXPECT_EQ(p.ToInt(), c.value) << c.text;
        EXPECT_EQ(p.ToBool(), c.value != 0) << c.text;
        EXPECT_STREQ(p.ToString(), c.text);
    }
}

TEST(ConfigModelTest, SetStringAcceptsItsOwnText)
{
    ConfigParameter p;
    p.SetString("keep me");
    p.SetString(p.ToString());
    EXPECT_STREQ(p.ToString(), "keep me");
    p.SetInt(3); // releases the text
    EXPECT_EQ(p.GetType(), ValueType::Int);
}

namespace {

std::vector<std::string> events;

class Recorder : public Configurable {
public:
    explicit Recorder(std::string tag)
        : tag(std::move(tag))
    { }
    ~Recorder() override { events.push_back(tag + " destroyed"); }
    void Exchange(ConfigSection& section, bool store) override
    {
        if (store)
            section.GetParameter("Stored").SetString(tag.c_str());
        events.push_back(tag + (store ? " store " : " read ") + section.GetName() + " "
            + section.GetString("Stored", "-"));
    }

private:
    std::string tag;
};

} // namespace

TEST(ConfigModelTest, RegisteredObjectsExchangeTheirSectionAndDieWithTheConfiguration)
{
    events.clear();
    {
        Config config;
        config.Register("Plugin", new Recorder("a"));
        EXPECT_EQ(config.GetRoot().FindSection("Plugin"), nullptr);
        config.ExchangeAll(false);
        config.ExchangeAll(true);
        config.Clear();
        EXPECT_EQ(config.GetRoot().FindSection("Plugin"), nullptr);
        config.ExchangeAll(false);
        EXPECT_STREQ(config.GetRoot().GetName(), "Root");
    }
    const std::vector<std::string> expected
        = {"a read Plugin -", "a store Plugin a", "a read Plugin -", "a destroyed"};
    EXPECT_EQ(events, expected);
}
