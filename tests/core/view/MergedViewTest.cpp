// The merged view of several logs, followed while real files are written: its order against a model of
// the rule (by stated time; a message without one after its log's previous; equal times by arrival).
#include "core/view/MergedView.h"
#include "config/Config.h"
#include "core/settings/MonitorSettings.h"
#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "tests/core/ViewDoubles.h"
#include "tests/platform/FailingFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace kestrano::test {
namespace {

using Texts = std::vector<std::string>;

class MergedViewTest : public testing::Test {
protected:
    struct Log {
        std::string path;
        RecordingList list;
        RecordingFrame frame;
        std::unique_ptr<Document> document;
        std::unique_ptr<ChildView> view;
    };

    TempDir dir;
    MonitorSettings settings;
    haspel::Config config;
    FailingFileSystem files;
    RecordingNotifier notifier;
    RecordingDetails details;
    ScriptedMessageBox boxes;
    std::vector<std::unique_ptr<Log>> logs;
    RecordingMergedList mergedList;
    RecordingFrame mergedFrame;
    std::unique_ptr<MergedView> merged;

    // Opens the logs (empty files) and merges them. A line without a header is a message of its own,
    // without a time, unless indented.
    void open(int count)
    {
        settings.SetStatedLevel(false);
        for (int i = 0; i < count; ++i) {
            auto log = std::make_unique<Log>();
            log->path = dir.file("log" + std::to_string(i) + ".log");
            writeFile(log->path, "");
            log->document = std::make_unique<Document>(log->path.c_str(), files, boxes);
            log->view = std::make_unique<ChildView>(*log->document,
                ViewContext {settings, config.GetRoot(), notifier, details}, log->list, log->frame);
            log->view->pollLogFile();
            logs.push_back(std::move(log));
        }
        merged = std::make_unique<MergedView>(mergedList, mergedFrame);
        mergedList.order = &merged->getOrder();
        for (int i = 0; i < count; ++i)
            EXPECT_TRUE(merged->addLog(*logs[static_cast<size_t>(i)]->view, "log" + std::to_string(i)));
    }
    void append(int log, const std::string& text)
    {
        Log& followed = *logs[static_cast<size_t>(log)];
        appendFile(followed.path, text);
        do
            followed.view->pollLogFile();
        while (followed.view->hasMoreToRead());
    }
    Texts orderTexts() const
    {
        Texts texts;
        for (int32_t i = 0; i < merged->getOrder().size(); ++i)
            texts.push_back(merged->getOrder()[i].message->getText());
        return texts;
    }
    // The list was told every change: its rows are the order.
    void expectRows(const Texts& expected)
    {
        EXPECT_EQ(orderTexts(), expected);
        EXPECT_EQ(mergedList.texts(), expected);
    }
};

std::string line(int seconds, const char* level, const std::string& text)
{
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "2026-12-09 10:%02d:%02d.000 ", seconds / 60, seconds % 60);
    return stamp + std::string(level) + " " + text + "\n";
}

// The text a message keeps of a line.
std::string kept(const std::string& line)
{
    return line.substr(0, line.size() - 1);
}

TEST_F(MergedViewTest, FollowsAKnownInterleavingOfFilesWrittenWhileFollowed)
{
    open(3);
    // The model: each message's order time, log and text in order of arrival.
    struct Expected {
        int time;
        int log;
        std::string text;
    };
    std::vector<Expected> model;
    std::vector<int> lastTime(3, -1);
    const auto write = [&](int log, int time, const std::string& text) {
        std::string written = time < 0 ? text + "\n" : line(time, "INFO", text);
        append(log, written);
        if (time >= 0)
            lastTime[static_cast<size_t>(log)] = time; // a line without a time takes its log's last
        written.pop_back();
        model.push_back({lastTime[static_cast<size_t>(log)], log, written});
    };
    // The names are built with append: GCC 12 at -O3 warns falsely on a literal + std::string temporary.
    const auto named = [](char log, int round, const char* rest) {
        std::string name(1, log);
        name.append(std::to_string(round)).append(rest);
        return name;
    };
    for (int round = 0; round < 12; ++round) {
        // Log 0 is on time, log 1 a little late, log 2 writes in bursts at log 0's times; some lines
        // state no time, one lies far back.
        write(0, round * 10 + 1, named('a', round, ""));
        write(1, round * 10 + 7, named('b', round, ""));
        if (round % 3 == 0) {
            write(2, round * 10 + 1, named('c', round, "x"));
            write(2, round * 10 + 2, named('c', round, "y"));
            write(2, -1, named('c', round, " untimed"));
        }
        if (round == 7)
            write(1, 5, "b late"); // far before the end
        write(0, -1, named('a', round, " untimed"));
    }
    const auto sorted = [&model](bool byLog) {
        std::vector<Expected> order = model;
        std::stable_sort(order.begin(), order.end(), [byLog](const Expected& a, const Expected& b) {
            return a.time != b.time ? a.time < b.time : byLog && a.log < b.log;
        });
        Texts texts;
        for (const Expected& item : order)
            texts.push_back(item.text);
        return texts;
    };
    // Live, equal times keep the order of arrival.
    expectRows(sorted(false));
    EXPECT_EQ(mergedList.lastScrolledTo, merged->getOrder().size() - 1);
    EXPECT_EQ(mergedList.resets, 3); // one per log added, none while following

    // Made anew from the kept messages, equal times go by the order the logs were added.
    merged->rebuild();
    expectRows(sorted(true));
}

TEST_F(MergedViewTest, DroppedRestartedAndClosedLogsLeaveTheOrder)
{
    settings.SetKeepLines(3);
    open(2);
    append(0, line(1, "INFO", "a1") + line(3, "INFO", "a3") + line(5, "INFO", "a5"));
    append(1, line(2, "INFO", "b2") + line(4, "INFO", "b4"));
    expectRows({kept(line(1, "INFO", "a1")), kept(line(2, "INFO", "b2")), kept(line(3, "INFO", "a3")),
        kept(line(4, "INFO", "b4")), kept(line(5, "INFO", "a5"))});

    // KeepLines drops a1; its row goes.
    append(0, line(6, "INFO", "a6"));
    expectRows({kept(line(2, "INFO", "b2")), kept(line(3, "INFO", "a3")), kept(line(4, "INFO", "b4")),
        kept(line(5, "INFO", "a5")), kept(line(6, "INFO", "a6"))});

    // Log 1 starts over (shrunk and written anew): its old messages go, its new one comes.
    writeFile(logs[1]->path, line(0, "INFO", "new"));
    append(1, "");
    expectRows({kept(line(0, "INFO", "new")), kept(line(3, "INFO", "a3")), kept(line(5, "INFO", "a5")),
        kept(line(6, "INFO", "a6"))});

    // A log window closing takes its log out; its slot is free for another.
    logs[0]->view.reset();
    EXPECT_EQ(merged->getLogCount(), 1);
    expectRows({kept(line(0, "INFO", "new"))});
    EXPECT_EQ(merged->getLogView(0), nullptr);
    EXPECT_EQ(merged->getLogName(1), "log1");
    EXPECT_FALSE(merged->addLog(*logs[1]->view, "again"));
}

TEST_F(MergedViewTest, FiltersContinuationsFollowAndNews)
{
    open(2);
    append(0, line(1, "INFO", "a1") + line(3, "ERROR", "a3"));
    append(1, line(2, "DEBUG", "b2") + "plain untimed\n");

    merged->setMinimumSeverity(1); // the unknown stays: the switch for unknowns is on
    expectRows({kept(line(1, "INFO", "a1")), "plain untimed", kept(line(3, "ERROR", "a3"))});
    merged->toggleShowUnknown();
    expectRows({kept(line(1, "INFO", "a1")), kept(line(3, "ERROR", "a3"))});
    EXPECT_TRUE(logs[1]->view->getShowUnknown()); // the logs' own switches stay

    // Hiding matches: a message whose continuation matches leaves.
    merged->setTextFilter({"secret", true, false, false});
    append(0, line(4, "INFO", "a4"));
    expectRows({kept(line(1, "INFO", "a1")), kept(line(3, "ERROR", "a3")), kept(line(4, "INFO", "a4"))});
    append(0, "  secret continued\n");
    expectRows({kept(line(1, "INFO", "a1")), kept(line(3, "ERROR", "a3"))});
    // Showing only matches: a message comes when its continuation matches.
    merged->setTextFilter({"wanted", false, false, false});
    expectRows({});
    append(1, line(5, "INFO", "b5"));
    append(1, "  wanted\n");
    expectRows({kept(line(5, "INFO", "b5")) + "\r\nwanted"});

    // Follow off: no scrolling; details of the selected row.
    merged->setTextFilter({});
    merged->toggleFollow();
    const int32_t scrolled = mergedList.lastScrolledTo;
    append(0, line(9, "INFO", "a9"));
    EXPECT_EQ(mergedList.lastScrolledTo, scrolled);
    mergedList.selected = 0;
    merged->openMessageDetails(details);
    ASSERT_EQ(details.shown.size(), 1u);
    EXPECT_EQ(details.shown[0], kept(line(1, "INFO", "a1")));

    // A log's news is the merged window's too.
    settings.SetOnTop(3);
    const int news = mergedFrame.newsShown;
    append(1, line(10, "ERROR", "b10"));
    EXPECT_EQ(mergedFrame.newsShown, news + 1);
}

} // namespace
} // namespace kestrano::test
