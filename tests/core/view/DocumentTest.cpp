#include "tests/core/ViewFixture.h"

#include <filesystem>
#include <unistd.h>

namespace kestrano::test {
namespace {

using DocumentTest = ViewTest;

TEST_F(DocumentTest, DeletesAfterYesAndEmptiesTheView)
{
    writeFile(path, "error one\n");
    view.rebuildList();

    document.confirmDeleteLogFile();
    EXPECT_EQ(boxes.questions, (std::vector<std::string> {"Sure to delete the log file?\n\n" + path}));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(list.rows.size(), 1u);

    boxes.answer = true;
    document.confirmDeleteLogFile();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(list.rows.empty());
    EXPECT_TRUE(boxes.errors.empty());

    writeFile(path, "back again\n");
    view.pollLogFile();
    EXPECT_EQ(list.texts(), (std::vector<std::string> {"back again"}));
}

TEST_F(DocumentTest, ReportsAFailedDeletionAndChangesNothing)
{
    writeFile(path, "error one\n");
    view.rebuildList();
    files.failRemove = true;
    document.deleteLogFile();
    EXPECT_EQ(boxes.errors, (std::vector<std::string> {"Error: Cannot delete " + path + "."}));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(list.rows.size(), 1u);
}

TEST_F(DocumentTest, ForgetsItsViewWhenTheViewGoesAndCannotDeleteAMissingFile)
{
    Document other(dir.file("missing.log").c_str(), files, boxes);
    {
        RecordingList otherList;
        ChildView otherView(
            other, ViewContext {settings, config.GetRoot(), notifier, details}, otherList, frame);
        writeFile(dir.file("missing.log"), "one\n");
        otherView.pollLogFile();
        ASSERT_EQ(otherList.rows.size(), 1u);
        other.deleteLogFile(); // its view is rebuilt
        EXPECT_TRUE(otherList.rows.empty());
    }
    writeFile(dir.file("missing.log"), "two\n");
    other.deleteLogFile(); // with no view to rebuild
    EXPECT_TRUE(boxes.errors.empty());
    other.deleteLogFile();
    EXPECT_EQ(
        boxes.errors, (std::vector<std::string> {"Error: Cannot delete " + dir.file("missing.log") + "."}));
}

} // namespace
} // namespace kestrano::test
