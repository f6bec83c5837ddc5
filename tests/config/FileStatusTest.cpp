#include "config/FileStatus.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace haspel;
using kestrano::test::TempDir;

namespace {

void SetModificationTime(const std::string& path, int64_t seconds)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

} // namespace

TEST(FileStatusTest, MissingFileIsKnownNotToExist)
{
    TempDir temp;
    FileStatus status(temp.file("missing").c_str());
    EXPECT_EQ(status.GetModificationTime(), -1);
    EXPECT_FALSE(status.Exists());
    EXPECT_EQ(status.GetSize(), 0u);
    EXPECT_EQ(status.GetFlags(), FileStatus::kExistenceKnown | FileStatus::kDetailsKnown);
}

TEST(FileStatusTest, SizesAndTimesBeyondThirtyTwoBits)
{
    TempDir temp;
    const std::string path = temp.file("big.log");
    kestrano::test::writeFile(path, "");
    std::filesystem::resize_file(path, 5ull << 30); // sparse
    SetModificationTime(path, 5'000'000'000);
    FileStatus status(path.c_str());
    EXPECT_EQ(status.GetModificationTime(), 5'000'000'000);
    EXPECT_TRUE(status.Exists());
    EXPECT_FALSE(status.IsDirectory());
    EXPECT_EQ(status.GetSize(), 5ull << 30);
}

TEST(FileStatusTest, CachedValuesStayUntilARefreshWithoutTheCache)
{
    TempDir temp;
    const std::string path = temp.file("a.log");
    kestrano::test::writeFile(path, "12345");
    SetModificationTime(path, 1000);
    FileStatus status(path.c_str());
    status.Refresh(true, true);
    EXPECT_TRUE(status.Exists());
    EXPECT_EQ(status.GetFlags() & FileStatus::kExistenceKnown, FileStatus::kExistenceKnown);

    kestrano::test::appendFile(path, "678");
    SetModificationTime(path, 2000);
    EXPECT_EQ(status.GetModificationTime(), 1000);
    EXPECT_EQ(status.GetSize(), 5u);
    status.Refresh(false, false);
    EXPECT_EQ(status.GetSize(), 8u);
    EXPECT_EQ(status.GetModificationTime(), 2000);

    std::filesystem::remove(path);
    status.Refresh(true, true);
    EXPECT_TRUE(status.Exists());
    status.Refresh(true, false);
    EXPECT_FALSE(status.Exists());
    EXPECT_EQ(status.GetSize(), 0u);
    EXPECT_EQ(status.GetModificationTime(), -1);
}

TEST(FileStatusTest, TakingTheDetailsMakesTheNextRefreshTestExistenceAgain)
{
    TempDir temp;
    const std::string path = temp.file("a.log");
    kestrano::test::writeFile(path, "12345");
    FileStatus status(path.c_str());
    status.Refresh(false, true);
    EXPECT_EQ(status.GetFlags(), FileStatus::kDetailsKnown);

    // The existence test finds the file again and keeps the cached details.
    kestrano::test::appendFile(path, "678");
    status.Refresh(true, true);
    EXPECT_EQ(status.GetFlags(), FileStatus::kExistenceKnown | FileStatus::kDetailsKnown);
    EXPECT_EQ(status.GetSize(), 5u);
    status.Refresh(false, false);
    EXPECT_EQ(status.GetSize(), 8u);
    EXPECT_EQ(status.GetFlags(), FileStatus::kDetailsKnown);

    std::filesystem::remove(path);
    status.Refresh(true, true);
    EXPECT_FALSE(status.Exists());
    EXPECT_EQ(status.GetSize(), 0u);
    EXPECT_EQ(status.GetFlags(), FileStatus::kExistenceKnown);
}

TEST(FileStatusTest, DirectoryIsMarked)
{
    TempDir temp;
    FileStatus status(temp.path().c_str());
    EXPECT_GT(status.GetModificationTime(), 0);
    EXPECT_TRUE(status.IsDirectory());
}

TEST(FileStatusTest, KindAndIdentityCompareWithStat)
{
    TempDir temp;
    const std::string path = temp.file("a.log");
    kestrano::test::writeFile(path, "x");
    FileStatus status(path.c_str());
    status.Refresh(false, false);
    struct stat found;
    ASSERT_EQ(::stat(path.c_str(), &found), 0);
    EXPECT_TRUE(status.IsRegularFile());
    EXPECT_EQ(status.GetInode(), found.st_ino);
    EXPECT_EQ(status.GetDevice(), (uint64_t(major(found.st_dev)) << 32) | minor(found.st_dev));

    // Replaced by rename: another inode at the same path.
    const std::string other = temp.file("b.log");
    kestrano::test::writeFile(other, "y");
    std::filesystem::rename(other, path);
    status.Refresh(false, false);
    EXPECT_NE(status.GetInode(), found.st_ino);
    // Deleted and created anew, perhaps on the freed inode: born later.
    const int64_t birth = status.GetBirth();
    std::filesystem::remove(path);
    kestrano::test::writeFile(path, "z");
    status.Refresh(false, false);
    EXPECT_TRUE(birth == FileStatus::kUnknownTime || status.GetBirth() > birth);

    const std::string fifo = temp.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    FileStatus pipe(fifo.c_str());
    pipe.Refresh(false, false);
    EXPECT_TRUE(pipe.Exists());
    EXPECT_FALSE(pipe.IsRegularFile());
    FileStatus folder(temp.path().c_str());
    folder.Refresh(false, false);
    EXPECT_FALSE(folder.IsRegularFile());
    FileStatus missing(temp.file("none").c_str());
    missing.Refresh(false, false);
    EXPECT_FALSE(missing.IsRegularFile());
    EXPECT_EQ(missing.GetInode(), 0u);
}
