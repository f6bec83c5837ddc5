// What a configuration that cannot be read, parsed or saved says about itself, a save that is
// interrupted, and a configuration of a hundred thousand parameters loaded and saved whole.
#include "config/Config.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <sys/stat.h>

using namespace haspel;
using kestrano::test::readFile;
using kestrano::test::TempDir;
using kestrano::test::writeFile;

namespace fs = std::filesystem;

namespace {

const char* const kGood = "<Sizes>\n\t<KeepLines>10</>\n</Sizes>\n";

class ConfigProblemTest : public testing::Test {
protected:
    void TearDown() override { ResetSavingInterrupt(); }
    TempDir folder;
    const std::string file = folder.file("kestrano.cfg");
};

TEST_F(ConfigProblemTest, ASyntaxErrorIsNamedWithItsLine)
{
    const struct {
        const char* text;
        SyntaxFault fault;
        int32_t line;
    } cases[] = {
        {"<a>1</>\n\nstray\n", SyntaxFault::TextOutsideSection, 3},
        {"<a>\n\t<b>1</>\n</c>\n", SyntaxFault::CloseNamesOther, 3},
        {"<a>1</>\n</>", SyntaxFault::CloseWithoutOpen, 2},
        {"<a>\n\t<b>1</>\n", SyntaxFault::Unclosed, 3},
        {"\r\n\r\n  text before", SyntaxFault::TextOutsideSection, 3},
    };
    for (const auto& expected : cases) {
        Config config;
        EXPECT_FALSE(config.ParseText(expected.text)) << expected.text;
        EXPECT_EQ(config.GetProblem().kind, ConfigProblem::Kind::Unparsable);
        EXPECT_EQ(config.GetProblem().fault, expected.fault) << expected.text;
        EXPECT_EQ(config.GetProblem().line, expected.line) << expected.text;
    }
    std::string tooDeep = "\n";
    for (int i = 0; i < 1001; ++i)
        tooDeep += "<d>";
    Config config;
    EXPECT_FALSE(config.ParseText(tooDeep.c_str()));
    EXPECT_EQ(config.GetProblem().fault, SyntaxFault::TooDeep);
    EXPECT_EQ(config.GetProblem().line, 2);
    EXPECT_TRUE(config.ParseText(kGood));
    EXPECT_FALSE(config.GetProblem());
}

TEST_F(ConfigProblemTest, LoadingSaysWhatIsWrongAndWhere)
{
    Config config;
    // A missing file is a first start, no problem.
    EXPECT_FALSE(config.LoadFile(file.c_str()));
    EXPECT_FALSE(config.GetProblem());

    writeFile(file, "<Sizes>\n\t<KeepLines>10</>\n</Size>\n");
    EXPECT_FALSE(config.LoadFile(file.c_str()));
    EXPECT_EQ(config.GetProblem().kind, ConfigProblem::Kind::Unparsable);
    EXPECT_EQ(config.GetProblem().file, file);
    EXPECT_EQ(Describe(config.GetProblem()),
        "the configuration file '" + file
            + "' does not parse: line 3: a closing tag names another section than the open one");

    // With a good copy beside it, the copy is loaded and the problem still told.
    writeFile(file + ".old", kGood);
    EXPECT_TRUE(config.LoadFile(file.c_str()));
    EXPECT_TRUE(config.GetProblem().backupLoaded);
    EXPECT_EQ(config.GetRoot().GetSection("Sizes").GetInt("KeepLines", 0), 10);
    EXPECT_NE(Describe(config.GetProblem()).find("; its copy '" + file + ".old' is used"), std::string::npos);

    fs::remove(file);
    fs::create_directory(file);
    EXPECT_TRUE(config.LoadFile(file.c_str()));
    EXPECT_EQ(config.GetProblem().kind, ConfigProblem::Kind::Unreadable);
    EXPECT_EQ(config.GetProblem().error, EISDIR);
    fs::remove(file + ".old");
    EXPECT_FALSE(config.LoadFile(file.c_str()));
    EXPECT_EQ(
        Describe(config.GetProblem()), "cannot read the configuration file '" + file + "': Is a directory");

    fs::remove(file);
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    EXPECT_FALSE(config.LoadFile(file.c_str()));
    EXPECT_EQ(Describe(config.GetProblem()),
        "cannot read the configuration file '" + file + "': not a regular file");
}

TEST_F(ConfigProblemTest, AFailedSaveSaysWhyAndLeavesNoNewFile)
{
    fs::create_directory(file); // where the file should go
    Config config;
    config.GetRoot().GetSection("Sizes").GetInt("KeepLines", 7);
    EXPECT_FALSE(config.SaveFile(file.c_str()));
    EXPECT_EQ(config.GetProblem().kind, ConfigProblem::Kind::Unsaved);
    EXPECT_NE(config.GetProblem().error, 0);
    EXPECT_EQ(
        Describe(config.GetProblem()).rfind("cannot save the configuration file '" + file + "': ", 0), 0u);
    EXPECT_FALSE(fs::exists(file + ".new"));
    EXPECT_TRUE(fs::is_directory(file));
}

TEST_F(ConfigProblemTest, AnInterruptedSaveKeepsThePreviousFile)
{
    writeFile(file, kGood);
    Config config;
    config.GetRoot().GetSection("Sizes").GetInt("KeepLines", 99);
    InterruptSaving();
    EXPECT_FALSE(config.SaveFile(file.c_str()));
    EXPECT_EQ(config.GetProblem().error, EINTR);
    EXPECT_EQ(readFile(file), kGood);
    EXPECT_FALSE(fs::exists(file + ".new"));
    EXPECT_FALSE(fs::exists(file + ".old"));

    ResetSavingInterrupt();
    EXPECT_TRUE(config.SaveFile(file.c_str()));
    EXPECT_FALSE(config.GetProblem());
    EXPECT_EQ(readFile(file + ".old"), kGood);
}

TEST_F(ConfigProblemTest, AHundredThousandParametersLoadAndSaveWhole)
{
    // Names that differ only in their digits, as a generated configuration has them.
    std::string text = "<Big>\n";
    constexpr int Count = 100000;
    for (int i = 0; i < Count; ++i)
        text += "\t<Parameter" + std::to_string(i) + ">" + std::to_string(i * 7) + "</>\n";
    text += "</Big>\n";
    writeFile(file, text);
    Config config;
    ASSERT_TRUE(config.LoadFile(file.c_str()));
    ConfigSection& big = config.GetRoot().GetSection("Big");
    EXPECT_EQ(big.GetParameters().GetSize(), Count);
    EXPECT_EQ(big.GetInt("Parameter12345", 0), 12345 * 7);
    ASSERT_TRUE(config.SaveFile(file.c_str()));
    Config again;
    ASSERT_TRUE(again.LoadFile(file.c_str()));
    EXPECT_EQ(again.GetRoot().GetSection("Big").GetParameters().GetSize(), Count);
    EXPECT_EQ(again.GetRoot().GetSection("Big").GetInt("Parameter99999", 0), 99999 * 7);
}

} // namespace
