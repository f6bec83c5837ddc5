// The log view's filter, bound, switches and commands, fed from a real file.
#include "tests/core/ViewFixture.h"

namespace kestrano::test {
namespace {

class ChildViewTest : public ViewTest {
protected:
    void SetUp() override
    {
        writeFile(path, "debug one\ninfo two\nwarn three\nerror four\nplain five\nfatal six\n");
        view.rebuildList();
    }
    using Texts = std::vector<std::string>;
};

TEST_F(ChildViewTest, FiltersByMinimumSeverityAndUnknowns)
{
    EXPECT_EQ(list.texts().size(), 6u);
    view.setMinimumSeverity(2);
    EXPECT_EQ(list.texts(), (Texts {"warn three", "error four", "plain five", "fatal six"}));
    EXPECT_EQ(view.getMessages().GetCount(), 6);

    view.toggleShowUnknown();
    EXPECT_EQ(list.texts(), (Texts {"warn three", "error four", "fatal six"}));
    view.setMinimumSeverity(0);
    EXPECT_EQ(list.texts(), (Texts {"debug one", "info two", "warn three", "error four", "fatal six"}));
    view.toggleShowUnknown();
    EXPECT_EQ(list.texts(), messageTexts());
}

TEST_F(ChildViewTest, KeepsAtMostKeepLinesMessages)
{
    settings.SetKeepLines(4);
    view.setMinimumSeverity(3); // the rebuild trims: debug and info go, neither had a row
    EXPECT_EQ(messageTexts(), (Texts {"warn three", "error four", "plain five", "fatal six"}));
    EXPECT_EQ(list.texts(), (Texts {"error four", "plain five", "fatal six"}));

    appendAndPoll("error seven\n"); // the hidden warning goes: no row changes but the new one
    EXPECT_EQ(list.texts(), (Texts {"error four", "plain five", "fatal six", "error seven"}));
    appendAndPoll("info eight\n"); // the shown error goes with its row
    EXPECT_EQ(messageTexts(), (Texts {"plain five", "fatal six", "error seven", "info eight"}));
    EXPECT_EQ(list.texts(), (Texts {"plain five", "fatal six", "error seven"}));
}

TEST_F(ChildViewTest, FollowScrollsToNewRows)
{
    EXPECT_EQ(list.lastScrolledTo, 5);
    appendAndPoll("info seven\n");
    EXPECT_EQ(list.lastScrolledTo, 6);

    view.toggleFollow();
    const int scrolls = list.scrolls;
    appendAndPoll("info eight\n");
    EXPECT_EQ(list.texts().size(), 8u);
    EXPECT_EQ(list.scrolls, scrolls);

    view.toggleFollow();
    EXPECT_EQ(list.lastScrolledTo, 7);
}

TEST_F(ChildViewTest, ContinuationsRefreshOnlyTheShownLastRow)
{
    appendAndPoll("error seven\n   at frame one\n");
    EXPECT_EQ(list.refreshed, (std::vector<int32_t> {6}));
    EXPECT_EQ(list.texts().back(), "error seven\r\nat frame one");

    view.setMinimumSeverity(4);
    appendAndPoll("error eight\n   at frame two\n");
    EXPECT_EQ(list.refreshed.size(), 1u);
    view.setMinimumSeverity(3);
    EXPECT_EQ(list.texts().back(), "error eight\r\nat frame two");
}

TEST_F(ChildViewTest, ClearShowsOnlyWhatIsAppendedLater)
{
    const std::string before = readFile(path);
    view.clearMessages();
    EXPECT_TRUE(list.rows.empty());
    EXPECT_EQ(view.getMessages().GetCount(), 0);
    view.pollLogFile();
    EXPECT_TRUE(list.rows.empty());

    appendAndPoll("info seven\n");
    EXPECT_EQ(list.texts(), (Texts {"info seven"}));
    EXPECT_EQ(readFile(path), before + "info seven\n");
}

TEST_F(ChildViewTest, StoresEverySwitchInTheWorkspaceAtOnce)
{
    view.setMinimumSeverity(3);
    EXPECT_EQ(workspace().GetInt("MinimumSeverity", -7), 3);
    view.toggleShowUnknown();
    EXPECT_FALSE(workspace().GetBool("ShowUnknown", true));
    view.toggleFollow();
    EXPECT_FALSE(workspace().GetBool("Follow", true));
    view.toggleReloadOnChange();
    EXPECT_TRUE(workspace().GetBool("ReloadOnChange", false));
    view.toggleFollow();
    EXPECT_TRUE(workspace().GetBool("Follow", false));
    EXPECT_EQ(frame.toolbarUpdates, 6); // the first rebuild, then one per change
}

TEST_F(ChildViewTest, OpensDetailsOfTheSelectedRowOnly)
{
    view.openMessageDetails();
    EXPECT_TRUE(details.shown.empty());
    list.selected = 3;
    view.openMessageDetails();
    EXPECT_EQ(details.shown, (Texts {"error four"}));
}

TEST_F(ChildViewTest, MessagesDroppedUnseenChangeNothingAnyoneSees)
{
    // The same poll with and without the messages that are trimmed in the same piece.
    struct Outcome {
        Texts messages;
        Texts rows;
        int fronts;
        int sounds;
        bool operator==(const Outcome&) const = default;
    };
    std::string appended;
    for (int i = 0; i < 40; ++i)
        appended += i == 3 ? "FATAL early\n   at frame\n"
            : i % 3        ? "debug " + std::to_string(i) + "\n"
                           : "plain\n";
    auto run = [&](bool rowsLater) {
        RecordingList rows;
        rows.rowsLater = rowsLater;
        RecordingFrame logFrame;
        RecordingNotifier alerts;
        Document log(path.c_str(), files, boxes);
        ChildView other(log, ViewContext {settings, config.GetRoot(), alerts, details}, rows, logFrame);
        other.setMinimumSeveritySwitch(1);
        other.rebuildList();
        appendFile(path, appended);
        other.pollLogFile();
        Texts kept;
        for (Message* message = other.getMessages().GetHead(); message; message = message->GetNext())
            kept.push_back(message->getText());
        return Outcome {kept, rows.texts(), alerts.attentionAsked + logFrame.newsShown, alerts.sounds};
    };
    settings.SetKeepLines(5);
    const Outcome seen = run(false);
    writeFile(path, "debug one\ninfo two\nwarn three\nerror four\nplain five\nfatal six\n");
    const Outcome unseen = run(true);
    EXPECT_EQ(seen, unseen);
    EXPECT_EQ(seen.messages.size(), 5u);
    EXPECT_EQ(seen.fronts, 2); // the fatal message, gone long before the poll ended, still notifies
    EXPECT_EQ(seen.sounds, 1);
}

} // namespace
} // namespace kestrano::test
