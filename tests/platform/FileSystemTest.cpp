#include "platform/LinuxFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace kestrano {
namespace {

using test::TempDir;

struct OpenFile {
    explicit OpenFile(const std::string& path)
        : handle(files.openForReading(path.c_str()))
    { }
    ~OpenFile() { files.close(handle); }
    LinuxFileSystem files;
    FileSystem::Handle handle;
};

TEST(LinuxFileSystem, ReadsAtOffsetsAndSeesGrowthWhileOpen)
{
    TempDir dir;
    const std::string path = dir.file("a.log");
    test::writeFile(path, "0123456789");
    OpenFile file(path);
    ASSERT_NE(file.handle, FileSystem::NoHandle);

    char buffer[16];
    EXPECT_EQ(file.files.readAt(file.handle, buffer, 4, 3), 4);
    EXPECT_EQ(std::string(buffer, 4), "3456");
    EXPECT_EQ(file.files.readAt(file.handle, buffer, 16, 8), 2);
    EXPECT_EQ(file.files.readAt(file.handle, buffer, 16, 10), 0);

    // The writer is not locked out, and the reader sees what it appends.
    test::appendFile(path, "abc");
    uint64_t size = 0;
    ASSERT_TRUE(file.files.length(file.handle, size));
    EXPECT_EQ(size, 13u);
    EXPECT_EQ(file.files.readAt(file.handle, buffer, 16, 10), 3);
    EXPECT_EQ(std::string(buffer, 3), "abc");
}

TEST(LinuxFileSystem, RefusesWhatIsNotARegularFile)
{
    TempDir dir;
    LinuxFileSystem files;
    EXPECT_EQ(files.openForReading(dir.file("missing.log").c_str()), FileSystem::NoHandle);
    EXPECT_EQ(files.openForReading(dir.path().c_str()), FileSystem::NoHandle);

    // A FIFO without a writer would block a plain open for ever.
    const std::string fifo = dir.file("fifo.log");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(files.openForReading(fifo.c_str()), FileSystem::NoHandle);

    EXPECT_EQ(files.openForReading("/dev/null"), FileSystem::NoHandle);
}

TEST(LinuxFileSystem, RemovesFiles)
{
    TempDir dir;
    const std::string path = dir.file("gone.log");
    test::writeFile(path, "x");
    LinuxFileSystem files;
    EXPECT_TRUE(files.remove(path.c_str()));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(files.remove(path.c_str()));
    EXPECT_EQ(&systemFileSystem(), &systemFileSystem());
}

} // namespace
} // namespace kestrano
