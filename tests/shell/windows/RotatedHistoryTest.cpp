// A log window with its rotated files in the history while a writer process appends and the real
// logrotate rotates and compresses the log: the list, the history revealed down to the first line,
// shows every line of the log's files once and in order.
#include "core/text/Message.h"
#include "core/view/ChildView.h"
#include "core/view/HistoryRows.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/windows/ChildFrame.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/LogRotation.h"

#include <QTest>

#include <filesystem>
#include <string>

namespace kestrano::test {
namespace {

using RotatedHistoryTest = ShellTest;

TEST_F(RotatedHistoryTest, TheListShowsEveryLineOfTheRotatedFilesOnceInOrder)
{
    editConfiguration([](haspel::ConfigSection& root) {
        root.GetSection("Sizes").GetParameter("KeepLines").SetInt(500);
        root.GetSection("Notifications").GetParameter("Desktop").SetBool(false);
    });
    const std::string path = log("app.log", "info start\n");
    start({path});
    ChildFrame* child = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(child, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return child->list().rowCount() == 1; }, 20000));
    child->view().toggleRotatedHistory();

    const long count = 6000;
    const pid_t writer = startLogWriter(path, count, 3000, "hup");
    std::thread rotations = runLogrotate(logs.path(), path, writer, 4);
    const std::string last = writtenLine(count - 1).substr(0, 20);
    LogList& list = child->list();
    const bool lastShown = QTest::qWaitFor(
        [&] {
            const int32_t rows = list.rowCount();
            return rows > 0 && list.rowMessage(rows - 1)->getText() == last;
        },
        30000);
    rotations.join();
    ASSERT_TRUE(waitForLogWriter(writer));
    ASSERT_TRUE(lastShown);
    ASSERT_TRUE(std::filesystem::exists(path + ".2.gz")) << "rotated four times";
    const HistoryRows& history = *child->view().getHistoryRows();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return history.isCounted() && !child->view().hasMoreToRead() && history.getEarlierCount() > 0;
        },
        60000));

    // Ctrl+Home reveals the history down to the first line of the oldest file.
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Home, Qt::ControlModifier);
    const LogListModel& model = list.model();
    ASSERT_FALSE(model.isEarlierRow(0));
    // The kept rows come into the model as the list takes them in.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return model.rowCount() == model.historyRowCount() + list.rowCount(); }, 20000));
    std::string shown;
    for (int row = 0; row < model.rowCount(); ++row)
        shown += model.data(model.index(row), Qt::DisplayRole).toString().toStdString() + "\n";
    const LineCount counted = countLines(lineNumbers(shown), linesOnDisk(logs.path()));
    EXPECT_EQ(counted.lost + counted.repeated + counted.reordered, 0) << counted.describe();
    EXPECT_EQ(shown.substr(0, 11), "info start\n");
}

} // namespace
} // namespace kestrano::test
