#include "config/ApplicationPath.h"
#include "tests/config/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

using namespace haspel;
using kestrano::test::ScopedProgramPath;
using kestrano::test::ScopedVariable;
using kestrano::test::TempDir;

namespace {

std::string Text(const Path& path)
{
    return path.ToString().GetText();
}

std::string Extended(const char* name, const char* extension)
{
    String text(name);
    SetExtension(text, extension);
    return text.GetText();
}

} // namespace

TEST(ApplicationPathTest, HandedArgumentsAreCopied)
{
    std::string first = "/opt/kestrano/kestrano";
    std::string second = "/log";
    const char* argv[] = {first.c_str(), second.c_str(), nullptr};
    SetApplicationArguments(3, argv);
    first = "changed";
    EXPECT_EQ(GetApplicationArgumentCount(), 3);
    EXPECT_STREQ(GetApplicationArgument(0), "/opt/kestrano/kestrano");
    EXPECT_STREQ(GetApplicationArgument(1), "/log");
    EXPECT_STREQ(GetApplicationArgument(2), "");
    EXPECT_EQ(GetApplicationArgument(3), nullptr);
    EXPECT_EQ(Text(GetApplicationPath()), "/opt/kestrano/kestrano");
    EXPECT_EQ(Text(GetApplicationDirectory()), "/opt/kestrano");
}

TEST(ApplicationPathTest, WithoutHandOverTheProcessCommandLineServes)
{
    SetApplicationArguments(0, nullptr);
    ASSERT_GE(GetApplicationArgumentCount(), 1);
    EXPECT_STREQ(GetApplicationPath().GetLastComponent(), "config_tests");
    EXPECT_TRUE(GetApplicationPath().Exists());
}

TEST(ApplicationPathTest, RelativeProgramPathsBecomeAbsolute)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    {
        ScopedProgramPath program("bin/kestrano");
        EXPECT_EQ(Text(GetApplicationPath()), std::string(cwd) + "/bin/kestrano");
    }
    {
        // A bare name was found through PATH: its folder is the running executable's.
        ScopedProgramPath program("tail");
        const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe");
        EXPECT_EQ(Text(GetApplicationDirectory()), executable.parent_path().string());
        EXPECT_STREQ(GetApplicationPath().GetLastComponent(), "tail");
    }
}

TEST(ApplicationPathTest, SetExtensionCutsAtTheFirstDot)
{
    EXPECT_EQ(Extended("kestrano", "cfg"), "kestrano.cfg");
    EXPECT_EQ(Extended("kestrano", ".cfg"), "kestrano.cfg");
    EXPECT_EQ(Extended("a.b.exe", "log"), "a.log");
    EXPECT_EQ(Extended("", "cfg"), ".cfg");
}

TEST(ApplicationPathTest, ApplicationLikePathTakesTheProgramFileName)
{
    ScopedProgramPath program("/usr/bin/my.tool");
    const Path directory("/home/u/.config/Tormalind/Kestrano");
    const Path made = CreateApplicationLikePath(directory, "cfg");
    EXPECT_EQ(Text(made), "/home/u/.config/Tormalind/Kestrano/my.cfg");
    EXPECT_EQ(Text(directory), "/home/u/.config/Tormalind/Kestrano");
}

TEST(ApplicationPathTest, ProgramPathWithoutFileNameIsAnIllegalState)
{
    ScopedProgramPath program("/");
    Path path("/tmp");
    try {
        CreateApplicationLikePathInternal(path, "cfg");
        FAIL() << "no exception";
    } catch (const EIllegalState& e) {
        EXPECT_STREQ(e.GetMessage(), "The __argv[0] does not denote a valid path");
        EXPECT_STREQ(e.GetOrigin(), "haspel::Path::CreateApplicationLikePathInternal");
        EXPECT_EQ(e.GetLine(), 875);
    }
    EXPECT_EQ(Text(path), "/tmp");
}

TEST(ApplicationPathTest, DocumentsFolderIsCreatedElseTheProgramFolderServes)
{
    TempDir temp;
    ScopedProgramPath program(temp.file("bin/kestrano"));
    {
        ScopedVariable state("XDG_STATE_HOME", temp.file("state"));
        EXPECT_EQ(Text(GetDocumentsOrApplicationDirectory()), temp.file("state/Tormalind/Kestrano"));
        EXPECT_TRUE(std::filesystem::is_directory(temp.file("state/Tormalind/Kestrano")));
    }
    kestrano::test::writeFile(temp.file("blocker"), "");
    ScopedVariable state("XDG_STATE_HOME", temp.file("blocker"));
    EXPECT_EQ(Text(GetDocumentsOrApplicationDirectory()), temp.file("bin"));
}

TEST(ApplicationPathTest, ConfigurationFolderIsNamedBelowTheXdgConfigHomeWithoutBeingMade)
{
    TempDir temp;
    ScopedVariable config("XDG_CONFIG_HOME", temp.file("cfg"));
    Path folder("/unchanged");
    EXPECT_FALSE(SetToConfigurationFolder(folder, "Kestrano", false));
    EXPECT_EQ(Text(folder), "/unchanged");
    EXPECT_FALSE(std::filesystem::exists(temp.file("cfg")));

    EXPECT_TRUE(SetToConfigurationFolder(folder, "Kestrano", true));
    EXPECT_EQ(Text(folder), temp.file("cfg/Tormalind/Kestrano"));
    EXPECT_TRUE(std::filesystem::is_directory(temp.file("cfg")));
    EXPECT_FALSE(std::filesystem::exists(temp.file("cfg/Tormalind")));

    EXPECT_TRUE(SetToConfigurationFolder(folder, "Other", false));
    EXPECT_EQ(Text(folder), temp.file("cfg/Tormalind/Other"));
}
