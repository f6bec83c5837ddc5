#include "config/Path.h"
#include "tests/config/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>

using namespace haspel;
using kestrano::test::ScopedVariable;
using kestrano::test::TempDir;

namespace {

std::string Text(const Path& path, bool trailing = false)
{
    return path.ToString(trailing).GetText();
}

} // namespace

TEST(PathTest, ParsesRootAndComponentsDroppingEmptyPieces)
{
    const Path path("//usr///local/./../share/");
    EXPECT_STREQ(path.GetRoot().GetText(), "/");
    ASSERT_EQ(path.GetComponentCount(), 5);
    EXPECT_STREQ(path.GetComponent(0), "usr");
    EXPECT_STREQ(path.GetComponent(2), ".");
    EXPECT_STREQ(path.GetComponent(3), "..");
    EXPECT_STREQ(path.GetLastComponent(), "share");
    EXPECT_EQ(path.GetComponent(5), nullptr);
    EXPECT_EQ(Text(path), "/usr/local/./../share");
    EXPECT_EQ(Text(path, true), "/usr/local/./../share/");
}

TEST(PathTest, RelativeTextHasEmptyRootAndColonOrBackslashAreOrdinary)
{
    const Path path("C:\\logs/a:b");
    EXPECT_TRUE(path.GetRoot().IsEmpty());
    ASSERT_EQ(path.GetComponentCount(), 2);
    EXPECT_STREQ(path.GetComponent(0), "C:\\logs");
    EXPECT_EQ(Text(path), "C:\\logs/a:b");
}

TEST(PathTest, RootAloneAndEmptyPathNeverGainASeparator)
{
    EXPECT_EQ(Text(Path("/"), true), "/");
    EXPECT_EQ(Text(Path(""), true), "");
    EXPECT_EQ(Path("").GetLastComponent(), nullptr);
}

TEST(PathTest, AppendKeepsTextWholeAndRemoveLastReportsEmptiness)
{
    Path path("/a");
    path.Append("b/c");
    EXPECT_EQ(path.GetComponentCount(), 2);
    EXPECT_EQ(Text(path), "/a/b/c");
    EXPECT_TRUE(path.RemoveLast());
    EXPECT_TRUE(path.RemoveLast());
    EXPECT_FALSE(path.RemoveLast());
    EXPECT_EQ(Text(path), "/");
}

TEST(PathTest, CopiesAreIndependent)
{
    Path original("/a/b");
    Path copy(original);
    copy.Append("c");
    Path assigned;
    assigned = original;
    original.RemoveLast();
    const Path& self = original;
    original = self; // self-assignment keeps the path
    EXPECT_EQ(Text(original), "/a");
    EXPECT_EQ(Text(copy), "/a/b/c");
    EXPECT_EQ(Text(assigned), "/a/b");
}

TEST(PathTest, MakeDirectoriesCreatesTheChainAndAcceptsExistingOnes)
{
    TempDir temp;
    const Path chain(temp.file("a/b/c").c_str());
    EXPECT_FALSE(chain.Exists());
    EXPECT_TRUE(chain.MakeDirectories());
    EXPECT_TRUE(std::filesystem::is_directory(temp.file("a/b/c")));
    EXPECT_TRUE(chain.MakeDirectories());
    EXPECT_FALSE(chain.MakeDirectory()); // already there
    EXPECT_TRUE(Path(temp.file("a/b/d").c_str()).MakeDirectory());

    // Only the owner may look inside, whatever the umask lets through.
    const mode_t previous = umask(022);
    for (const char* folder : {"a", "a/b", "a/b/c", "a/b/d"})
        EXPECT_EQ(std::filesystem::status(temp.file(folder)).permissions(), std::filesystem::perms::owner_all)
            << folder;
    umask(previous);
}

TEST(PathTest, MakeDirectoriesFailsAtARegularFileAndKeepsWhatItMade)
{
    TempDir temp;
    kestrano::test::writeFile(temp.file("a"), "not a folder");
    EXPECT_FALSE(Path(temp.file("a").c_str()).MakeDirectories());
    EXPECT_FALSE(Path(temp.file("a/b").c_str()).MakeDirectories());

    const std::string tooLong(300, 'x');
    EXPECT_FALSE(Path(temp.file("n/m/" + tooLong + "/z").c_str()).MakeDirectories());
    EXPECT_TRUE(std::filesystem::is_directory(temp.file("n/m")));
}

TEST(PathTest, ExistsAndCapacity)
{
    TempDir temp;
    kestrano::test::writeFile(temp.file("f"), "x");
    EXPECT_TRUE(Path(temp.file("f").c_str()).Exists());
    EXPECT_TRUE(Path(temp.path().c_str()).Exists());
    const Path missing(temp.file("missing").c_str());
    EXPECT_FALSE(missing.Exists());
    EXPECT_EQ(missing.GetCapacity(), 0);
    EXPECT_GT(Path(temp.path().c_str()).GetCapacity(), 8 * 1024 * 1024);
}

TEST(PathTest, RootKindComesFromTheFileSystemOfTheNearestExistingFolder)
{
    EXPECT_EQ(Path("relative/file").GetRootKind(), RootKind::Unknown);
    if (std::filesystem::is_directory("/dev/shm")) {
        EXPECT_EQ(Path("/dev/shm/not/yet/there").GetRootKind(), RootKind::RamDisk);
    }
    EXPECT_EQ(Path("/proc/self").GetRootKind(), RootKind::FixedDisk);
}

TEST(PathTest, LocalApplicationDataIsTheXdgConfigHome)
{
    TempDir temp;
    ScopedVariable config("XDG_CONFIG_HOME", temp.file("cfg"));
    Path path("/unchanged");
    EXPECT_FALSE(path.SetToSpecialFolder(SpecialFolder::LocalApplicationData, false));
    EXPECT_EQ(Text(path), "/unchanged");
    EXPECT_TRUE(path.SetToSpecialFolder(SpecialFolder::LocalApplicationData, true));
    EXPECT_EQ(Text(path), temp.file("cfg"));
    EXPECT_TRUE(std::filesystem::is_directory(temp.file("cfg")));
}

TEST(PathTest, SpecialFoldersFallBackToHomeWhenTheVariableIsUnsetOrRelative)
{
    TempDir temp;
    ScopedVariable home("HOME", temp.path());
    ScopedVariable config("XDG_CONFIG_HOME", "relative/cfg");
    ScopedVariable state("XDG_STATE_HOME", std::nullopt);
    Path path;
    EXPECT_TRUE(path.SetToSpecialFolder(SpecialFolder::LocalApplicationData, true));
    EXPECT_EQ(Text(path), temp.file(".config"));
    EXPECT_TRUE(path.SetToSpecialFolder(SpecialFolder::Documents, true));
    EXPECT_EQ(Text(path), temp.file(".local/state/Tormalind/Kestrano"));
    EXPECT_TRUE(std::filesystem::is_directory(temp.file(".local/state/Tormalind/Kestrano")));
}
