// A log window following a log while a writer process appends to it and the log is rotated as
// logrotate does it in each mode, slowly and fast: every line on disk shown once and in order, the
// lines shown before a rotation kept, with a notice row for each.
#include "config/Config.h"
#include "core/text/Message.h"
#include "core/view/ChildView.h"
#include "platform/qt/LogList.h"
#include "shell/windows/ChildFrame.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/LogRotation.h"

#include <QTest>

#include <tuple>

namespace kestrano::test {
namespace {

class RotationTest : public ShellTest, public testing::WithParamInterface<RotationCase> {
protected:
    TempDir folder;
};

TEST_P(RotationTest, TheWindowShowsEveryLineOnceInOrderAndKeepsItAtARotation)
{
    const auto [mode, rate] = GetParam();
    const long count = rate * 2;
    editConfiguration([count](haspel::ConfigSection& root) {
        root.GetSection("Sizes").GetParameter("KeepLines").SetInt(static_cast<int32_t>(count + 100));
        root.GetSection("Notifications").GetParameter("Desktop").SetBool(false);
    });
    RotatedLog log(folder.path(), mode);
    writeFile(log.path(), "info start\n");
    start({log.path()});
    ChildFrame* frame = app->GetDocTemplate().findFrame(log.path().c_str());
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame->list().rowCount() == 1; }, 20000));

    const std::string last = writtenLine(count - 1).substr(0, 20);
    log.start(count, rate, 4);
    const bool lastShown = QTest::qWaitFor(
        [&] {
            const int32_t rows = frame->list().rowCount();
            return rows > 0 && frame->list().rowMessage(rows - 1)->getText() == last;
        },
        30000);
    ASSERT_TRUE(log.finish());
    ASSERT_TRUE(lastShown);

    std::string shown;
    int notices = 0;
    for (const Message* message = frame->view().getMessages().GetHead(); message;
         message = message->GetNext()) {
        shown.append(message->getText()).append("\n");
        notices += message->getNotice().id == CoreText::Rotated;
    }
    const LineCount counted = countLines(lineNumbers(shown), log.linesOnDisk());
    EXPECT_EQ(counted.repeated, 0) << counted.describe();
    EXPECT_EQ(counted.reordered, 0) << counted.describe();
    if (mode == RotationMode::CopyTruncate) {
        // Emptied at each truncation, as at any shrink: what was read since is there, without a gap.
        EXPECT_EQ(notices, 0);
        const std::vector<long> numbers = lineNumbers(shown);
        ASSERT_FALSE(numbers.empty());
        EXPECT_EQ(numbers.back() - numbers.front() + 1, static_cast<long>(numbers.size()));
    } else {
        EXPECT_EQ(counted.lost, 0) << counted.describe();
        EXPECT_EQ(notices, 4);
        EXPECT_EQ(shown.substr(0, 11), "info start\n") << "what was shown before the rotations stays";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMode, RotationTest, everyRotationCase(), nameOfCase);

} // namespace
} // namespace kestrano::test
