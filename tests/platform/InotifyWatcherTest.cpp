// The inotify watcher on real files: what it reports for writes, rotation, deletion and other names
// in the folder, and the kernel watches it holds (read from /proc/self/fdinfo). The kernel queues an
// event before the call that caused it returns, so nothing here waits.
#include "platform/InotifyWatcher.h"
#include "tests/platform/KernelWatches.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace kestrano {
namespace {

using test::TempDir;
using Ids = std::multiset<ChangeWatcher::Id>;

Ids takeChanges(InotifyWatcher& watcher)
{
    Ids ids;
    watcher.takeChanges([&ids](ChangeWatcher::Id id) { ids.insert(id); });
    return ids;
}

// The distinct ids reported.
std::set<ChangeWatcher::Id> changed(InotifyWatcher& watcher)
{
    const Ids ids = takeChanges(watcher);
    return {ids.begin(), ids.end()};
}

int kernelWatches(const InotifyWatcher& watcher)
{
    return test::kernelWatches(watcher.getDescriptor());
}

class InotifyWatcherTest : public testing::Test {
protected:
    TempDir dir;
    InotifyWatcher watcher;
    const std::string path = dir.file("app.log");
};

TEST_F(InotifyWatcherTest, ReportsWritesAndTruncationOfItsFileOnly)
{
    test::writeFile(path, "one\n");
    test::writeFile(dir.file("other.log"), "x\n");
    ASSERT_TRUE(watcher.watch(7, path));
    EXPECT_TRUE(changed(watcher).empty());

    test::appendFile(path, "two\n");
    EXPECT_EQ(changed(watcher), (std::set<ChangeWatcher::Id> {7}));
    std::filesystem::resize_file(path, 0);
    EXPECT_EQ(changed(watcher), (std::set<ChangeWatcher::Id> {7}));

    // Other names in the folder: written, created, renamed, deleted.
    test::appendFile(dir.file("other.log"), "y\n");
    test::writeFile(dir.file("new.log"), "z\n");
    std::filesystem::rename(dir.file("new.log"), dir.file("new.1"));
    std::filesystem::remove(dir.file("other.log"));
    EXPECT_TRUE(changed(watcher).empty());
}

TEST_F(InotifyWatcherTest, FollowsTheNameThroughRotationDeletionAndCreation)
{
    test::writeFile(path, "one\n");
    ASSERT_TRUE(watcher.watch(1, path));

    std::filesystem::rename(path, path + ".1");
    EXPECT_EQ(changed(watcher), (std::set<ChangeWatcher::Id> {1}));
    // The renamed file is no longer the log's.
    test::appendFile(path + ".1", "late\n");
    EXPECT_TRUE(changed(watcher).empty());

    test::writeFile(path, "new\n");
    EXPECT_EQ(changed(watcher), (std::set<ChangeWatcher::Id> {1}));
    test::appendFile(path, "more\n");
    EXPECT_EQ(changed(watcher), (std::set<ChangeWatcher::Id> {1}));

    std::filesystem::remove(path);
    EXPECT_EQ(changed(watcher), (std::set<ChangeWatcher::Id> {1}));
    // Renamed over the name.
    test::writeFile(dir.file("next"), "next\n");
    EXPECT_TRUE(changed(watcher).empty());
    std::filesystem::rename(dir.file("next"), path);
    EXPECT_EQ(changed(watcher), (std::set<ChangeWatcher::Id> {1}));
    test::appendFile(path, "after\n");
    EXPECT_EQ(changed(watcher), (std::set<ChangeWatcher::Id> {1}));
    // One watch for the folder, one for the file now under the name.
    EXPECT_EQ(kernelWatches(watcher), 2);
}

TEST_F(InotifyWatcherTest, AMissingFileIsWatchedOnceItsNameAppears)
{
    ASSERT_TRUE(watcher.watch(3, path));
    EXPECT_EQ(kernelWatches(watcher), 1);
    test::writeFile(path, "born\n");
    EXPECT_EQ(changed(watcher), (std::set<ChangeWatcher::Id> {3}));
    test::appendFile(path, "grown\n");
    EXPECT_EQ(changed(watcher), (std::set<ChangeWatcher::Id> {3}));
}

TEST_F(InotifyWatcherTest, WatchesAreSharedAndGoneWithTheirLastLog)
{
    const std::string second = dir.file("second.log");
    test::writeFile(path, "a\n");
    test::writeFile(second, "b\n");
    ASSERT_TRUE(watcher.watch(1, path));
    ASSERT_TRUE(watcher.watch(2, second));
    ASSERT_TRUE(watcher.watch(3, path)); // the same file opened twice
    EXPECT_EQ(kernelWatches(watcher), 3); // the folder and two files

    test::appendFile(path, "c\n");
    EXPECT_EQ(changed(watcher), (std::set<ChangeWatcher::Id> {1, 3}));

    watcher.unwatch(1);
    test::appendFile(path, "d\n");
    EXPECT_EQ(changed(watcher), (std::set<ChangeWatcher::Id> {3}));
    EXPECT_EQ(kernelWatches(watcher), 3);
    watcher.unwatch(3);
    EXPECT_EQ(kernelWatches(watcher), 2);
    test::appendFile(path, "e\n");
    std::filesystem::remove(path);
    EXPECT_TRUE(changed(watcher).empty());
    watcher.unwatch(2);
    EXPECT_EQ(kernelWatches(watcher), 0);
    test::appendFile(second, "f\n");
    EXPECT_TRUE(changed(watcher).empty());
}

TEST_F(InotifyWatcherTest, RefusesWhatCannotBeWatched)
{
    EXPECT_FALSE(watcher.watch(1, dir.file("no-folder") + "/app.log"));
    EXPECT_FALSE(watcher.watch(2, ""));
    EXPECT_EQ(kernelWatches(watcher), 0);
    ASSERT_TRUE(watcher.watch(3, path));
    EXPECT_FALSE(watcher.watch(3, path)); // already watched under this id
}

TEST_F(InotifyWatcherTest, ALostFolderEndsItsWatchesQuietly)
{
    const std::string folder = dir.file("logs");
    std::filesystem::create_directory(folder);
    const std::string inner = folder + "/app.log";
    test::writeFile(inner, "a\n");
    ASSERT_TRUE(watcher.watch(5, inner));
    std::filesystem::remove_all(folder);
    EXPECT_EQ(changed(watcher), (std::set<ChangeWatcher::Id> {5}));
    EXPECT_EQ(kernelWatches(watcher), 0);
    watcher.unwatch(5);
    std::filesystem::create_directory(folder);
    test::writeFile(inner, "b\n");
    EXPECT_TRUE(changed(watcher).empty());
}

} // namespace
} // namespace kestrano
