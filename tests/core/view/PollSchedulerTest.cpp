// The poll scheduler driven as the programs drive it: a loop waiting on the watcher's descriptor for
// the time until due, over real files, a real inotify watcher and the real clock.
#include "core/view/PollScheduler.h"
#include "platform/InotifyWatcher.h"
#include "tests/core/ViewFixture.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <poll.h>
#include <thread>

namespace kestrano::test {
namespace {

using namespace std::chrono_literals;

class PollSchedulerTest : public ViewTest {
protected:
    // The interval no test waits for: whatever arrives came by a change.
    static constexpr int32_t Never = 60000;

    InotifyWatcher watcher;
    PollScheduler scheduler {&watcher};
    int polls = 0;

    // The log holds the first line, its view is added and polled once; no timed pass comes.
    PollScheduler::Id following(const std::string& first)
    {
        writeFile(path, first);
        const PollScheduler::Id id = scheduler.addLog(document.getSource().getWatchPath(), [this] {
            ++polls;
            view.pollLogFile();
            return view.hasMoreToRead();
        });
        scheduler.restart(Never);
        scheduler.runPass();
        return id;
    }
    // Waits on the descriptor for the time until due and runs what is due, as kestrano-tail does,
    // until done or 20 seconds passed (a safety net, not a timing).
    bool driveUntil(const std::function<bool()>& done)
    {
        const auto end = std::chrono::steady_clock::now() + 20s;
        while (!done()) {
            const auto left
                = std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            pollfd changes {scheduler.getDescriptor(), POLLIN, 0};
            if (::poll(&changes, 1, std::min<int64_t>(scheduler.getTimeUntilDue(), left.count())) > 0)
                scheduler.takeChanges();
            scheduler.runDue();
        }
        return true;
    }
    bool shows(const std::string& text)
    {
        const std::vector<std::string> texts = list.texts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
};

TEST_F(PollSchedulerTest, AWriteWakesThePollWithoutWaitingForTheInterval)
{
    const PollScheduler::Id id = following("first\n");
    ASSERT_TRUE(scheduler.isWatched(id));
    ASSERT_TRUE(shows("first"));

    appendFile(path, "second\n");
    EXPECT_TRUE(driveUntil([&] { return shows("second"); }));
    // Writes to other files of the folder poll nothing.
    const int before = polls;
    writeFile(dir.file("other.log"), "other\n");
    std::filesystem::rename(dir.file("other.log"), dir.file("other.1"));
    appendFile(path, "third\n");
    EXPECT_TRUE(driveUntil([&] { return shows("third"); }));
    EXPECT_EQ(polls, before + 1);
}

TEST_F(PollSchedulerTest, ARotatedLogIsSeenThroughItsFolder)
{
    following("old\n");

    // Renamed away and created anew under its name.
    std::filesystem::rename(path, path + ".1");
    EXPECT_TRUE(driveUntil([&] { return !list.told.empty(); }));
    writeFile(path, "new\n");
    EXPECT_TRUE(driveUntil([&] { return shows("new"); }));
    // The new file is the one watched; the old one is not.
    const int before = polls;
    appendFile(path + ".1", "late\n");
    appendFile(path, "newer\n");
    EXPECT_TRUE(driveUntil([&] { return shows("newer"); }));
    EXPECT_EQ(polls, before + 1);
    EXPECT_FALSE(shows("late"));
}

TEST_F(PollSchedulerTest, ABurstOfWritesMakesFewPolls)
{
    following("start\n");
    polls = 0;

    constexpr int Writes = 2000;
    std::atomic<bool> written {false};
    std::thread writer([&] {
        for (int i = 0; i < Writes; ++i) {
            appendFile(path, "line " + std::to_string(i) + "\n");
            std::this_thread::sleep_for(50us);
        }
        written = true;
    });
    const bool caughtUp = driveUntil([&] { return written && shows("line " + std::to_string(Writes - 1)); });
    writer.join();
    EXPECT_TRUE(caughtUp);
    EXPECT_LT(polls, Writes / 4);
    EXPECT_GT(polls, 0);
}

TEST_F(PollSchedulerTest, ALogWhoseWatchFailsIsPolledByTheTimer)
{
    // Its folder does not exist yet: nothing can be watched.
    const std::string missing = dir.file("later") + "/app.log";
    Document later(missing.c_str(), files, boxes);
    RecordingList laterList;
    ChildView laterView(later, ViewContext {settings, config.GetRoot(), notifier, details}, laterList, frame);
    const PollScheduler::Id id = scheduler.addLog(later.getSource().getWatchPath(), [&] {
        laterView.pollLogFile();
        return laterView.hasMoreToRead();
    });
    EXPECT_FALSE(scheduler.isWatched(id));
    scheduler.restart(20);

    std::filesystem::create_directory(dir.file("later"));
    writeFile(missing, "arrived\n");
    EXPECT_TRUE(driveUntil([&] { return laterList.texts() == std::vector<std::string> {"arrived"}; }));
}

TEST_F(PollSchedulerTest, AClosedLogIsNeitherWatchedNorPolled)
{
    const PollScheduler::Id id = following("first\n");
    ASSERT_TRUE(scheduler.isWatched(id));

    scheduler.removeLog(id);
    EXPECT_FALSE(scheduler.isWatched(id));
    const int before = polls;
    appendFile(path, "second\n");
    // The kernel queued the write before it returned: nothing of it is due.
    EXPECT_GT(scheduler.takeChanges(), 0);
    scheduler.runDue();
    scheduler.runPass();
    EXPECT_EQ(polls, before);
}

TEST_F(PollSchedulerTest, PassesGoInOrderAndComeAtOnceWhileALogHasMore)
{
    std::vector<int> order;
    bool more = true;
    PollScheduler timed(nullptr); // the timer alone, as for the journal or a stream
    const PollScheduler::Id first = timed.addLog("", [&] {
        order.push_back(1);
        return std::exchange(more, false);
    });
    PollScheduler::Id second = 0;
    second = timed.addLog("", [&] {
        order.push_back(2);
        timed.removeLog(second); // closed by its own poll: it goes after the run
        return false;
    });
    timed.addLog("", [&] {
        order.push_back(3);
        return false;
    });
    EXPECT_FALSE(timed.isWatched(first));
    EXPECT_EQ(timed.getDescriptor(), -1);
    // An interval no timer can take waits the shortest one.
    EXPECT_EQ(timed.restart(-5), PollScheduler::ShortestInterval);
    timed.restart(Never);

    EXPECT_EQ(timed.runPass(), 0); // the first log has more to read
    EXPECT_EQ(timed.runDue(), Never);
    EXPECT_EQ(order, (std::vector<int> {1, 2, 3, 1, 3}));
    // Not yet due.
    EXPECT_GT(timed.runDue(), 0);
    EXPECT_EQ(order.size(), 5u);
}

} // namespace
} // namespace kestrano::test
