#include "config/Config.h"
#include "tests/config/ScopedEnvironment.h"
#include "tests/config/TreeDump.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace haspel;
using kestrano::test::readFile;
using kestrano::test::ScopedProgramPath;
using kestrano::test::TempDir;
using kestrano::test::writeFile;

namespace fs = std::filesystem;

namespace {

const char* const kOldText = "<Sizes>\n\t<KeepLines>10</>\n</Sizes>\n";

ino_t InodeOf(const std::string& path)
{
    struct stat status { };
    stat(path.c_str(), &status);
    return status.st_ino;
}

} // namespace

TEST(ConfigFileTest, LoadFallsBackToTheOldCopyWhenTheFileDoesNotLoad)
{
    TempDir temp;
    const std::string file = temp.file("k.cfg");
    Config config;
    config.GetRoot().GetSection("Kept");
    EXPECT_FALSE(config.LoadFile(file.c_str()));
    EXPECT_NE(config.GetRoot().FindSection("Kept"), nullptr);

    writeFile(file + ".old", kOldText);
    ASSERT_TRUE(config.LoadFile(file.c_str()));
    EXPECT_EQ(config.GetRoot().GetSection("Sizes").GetInt("KeepLines", 0), 10);

    writeFile(file, "<Sizes><KeepLines>20</></Sizes>");
    ASSERT_TRUE(config.LoadFile(file.c_str()));
    EXPECT_EQ(config.GetRoot().GetSection("Sizes").GetInt("KeepLines", 0), 20);

    // A file broken by a crash or a concurrent writer: the copy still holds the settings.
    writeFile(file, "broken");
    ASSERT_TRUE(config.LoadFile(file.c_str()));
    EXPECT_EQ(config.GetRoot().GetSection("Sizes").GetInt("KeepLines", 0), 10);

    fs::remove(file + ".old");
    EXPECT_FALSE(config.LoadFile(file.c_str()));
    EXPECT_EQ(config.GetRoot().GetSections().GetSize(), 0);
}

TEST(ConfigFileTest, LoadReadsLargeFilesWholeAndStopsAtANul)
{
    TempDir temp;
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "<p" + std::to_string(i) + ">" + std::to_string(i) + "</>\n";
    writeFile(temp.file("big.cfg"), text);
    Config config;
    ASSERT_TRUE(config.LoadFile(temp.file("big.cfg").c_str()));
    EXPECT_EQ(config.GetRoot().GetParameters().GetSize(), 5000);
    EXPECT_EQ(config.GetRoot().GetInt("p4999", 0), 4999);

    writeFile(temp.file("nul.cfg"), std::string("<a>1</>\0garbage", 15));
    ASSERT_TRUE(config.LoadFile(temp.file("nul.cfg").c_str()));
    EXPECT_EQ(config.GetRoot().GetParameters().GetSize(), 1);

    fs::create_directory(temp.file("folder.cfg"));
    EXPECT_FALSE(config.LoadFile(temp.file("folder.cfg").c_str()));
}

TEST(ConfigFileTest, SaveKeepsThePreviousFileAsTheOldCopy)
{
    TempDir temp;
    const std::string file = temp.file("k.cfg");
    Config config;
    config.GetRoot().GetSection("Sizes").GetInt("KeepLines", 10);
    ASSERT_TRUE(config.SaveFile(file.c_str()));
    EXPECT_EQ(readFile(file), kOldText);
    EXPECT_FALSE(fs::exists(file + ".old"));
    EXPECT_FALSE(fs::exists(file + ".new"));

    const ino_t previous = InodeOf(file);
    config.GetRoot().GetSection("Sizes").GetParameter("KeepLines").SetInt(20);
    ASSERT_TRUE(config.SaveFile(file.c_str()));
    EXPECT_EQ(readFile(file), "<Sizes>\n\t<KeepLines>20</>\n</Sizes>\n");
    EXPECT_EQ(readFile(file + ".old"), kOldText);
    EXPECT_EQ(InodeOf(file + ".old"), previous); // linked, not copied
    EXPECT_FALSE(fs::exists(file + ".new"));
}

TEST(ConfigFileTest, SaveAfterLoadingTheOldCopyLeavesTheCopyAlone)
{
    TempDir temp;
    const std::string file = temp.file("k.cfg");
    writeFile(file + ".old", kOldText);
    Config config;
    ASSERT_TRUE(config.LoadFile(file.c_str()));
    config.GetRoot().GetSection("Sizes").GetParameter("KeepLines").SetInt(30);
    ASSERT_TRUE(config.SaveFile(file.c_str()));
    EXPECT_EQ(readFile(file), "<Sizes>\n\t<KeepLines>30</>\n</Sizes>\n");
    EXPECT_EQ(readFile(file + ".old"), kOldText);
}

TEST(ConfigFileTest, AFailedWriteLeavesTheFileAndItsCopyAsTheyWere)
{
    TempDir temp;
    const std::string file = temp.file("k.cfg");
    writeFile(file, "current");
    writeFile(file + ".old", "previous");
    Config config;
    config.GetRoot().GetSection("S").GetParameter("P").SetString(std::string(100000, 'x').c_str());

    // The disk fills up: every write to the new file fails once the buffer is flushed.
    fs::create_symlink("/dev/full", file + ".new");
    EXPECT_FALSE(config.SaveFile(file.c_str()));
    EXPECT_EQ(readFile(file), "current");
    EXPECT_EQ(readFile(file + ".old"), "previous");

    // The new file can't be made at all.
    fs::remove(file + ".new");
    fs::create_directory(file + ".new");
    EXPECT_FALSE(config.SaveFile(file.c_str()));
    EXPECT_EQ(readFile(file), "current");
    EXPECT_EQ(readFile(file + ".old"), "previous");
}

TEST(ConfigFileTest, ASmallWriteThatFailsOnlyAtCloseIsAFailedSave)
{
    TempDir temp;
    const std::string file = temp.file("k.cfg");
    writeFile(file, "current");
    fs::create_symlink("/dev/full", file + ".new");
    Config config;
    config.GetRoot().GetParameter("P").SetInt(1);
    EXPECT_FALSE(config.SaveFile(file.c_str()));
    EXPECT_EQ(readFile(file), "current");
}

TEST(ConfigFileTest, AReadOnlyFolderFailsTheSaveAndKeepsTheFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    TempDir temp;
    const std::string file = temp.file("k.cfg");
    writeFile(file, "current");
    fs::permissions(temp.path(), fs::perms::owner_read | fs::perms::owner_exec);
    Config config;
    config.GetRoot().GetParameter("P").SetInt(1);
    EXPECT_FALSE(config.SaveFile(file.c_str()));
    fs::permissions(temp.path(), fs::perms::owner_all);
    EXPECT_EQ(readFile(file), "current");
}

TEST(ConfigFileTest, DirectoryOperationsUseTheProgramFileName)
{
    TempDir temp;
    fs::create_directories(temp.file("bin"));
    ScopedProgramPath program(temp.file("bin/tail.x.y"));
    Config config;
    config.GetRoot().GetParameter("P").SetInt(1);
    ASSERT_TRUE(config.SaveToDirectory(Path(temp.path().c_str())));
    EXPECT_EQ(readFile(temp.file("tail.cfg")), "<P>1</>\n");
    ASSERT_TRUE(config.LoadFromDirectory(Path(temp.path().c_str())));
    EXPECT_EQ(config.GetRoot().GetInt("P", 0), 1);

    EXPECT_FALSE(config.LoadFromApplicationDirectory());
    writeFile(temp.file("bin/tail.cfg"), "<Beside>1</>");
    ASSERT_TRUE(config.LoadFromApplicationDirectory());
    EXPECT_EQ(config.GetRoot().GetInt("Beside", 0), 1);
}

TEST(ConfigFileTest, WithoutAProgramFileNameDirectoryOperationsThrow)
{
    ScopedProgramPath program("/");
    Config config;
    EXPECT_FALSE(config.LoadFromApplicationDirectory());
    EXPECT_THROW(config.LoadFromDirectory(Path("/tmp")), EIllegalState);
    EXPECT_THROW(config.SaveToDirectory(Path("/tmp")), EIllegalState);
}
