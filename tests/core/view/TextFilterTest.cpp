// The log view's text filter, fed from a real file: with the severity filter, across continuations, in
// the workspace, and with invalid expressions.
#include "tests/core/ViewFixture.h"

namespace kestrano::test {
namespace {

using Texts = std::vector<std::string>;

class TextFilterTest : public ViewTest {
protected:
    void SetUp() override
    {
        writeFile(path,
            "info order 10443 received\ninfo order 10444 received\nwarn ORDER 10443 late\n"
            "error payment failed\ninfo order 10443 shipped\n");
        view.rebuildList();
    }
    TextFilter filter(std::string pattern, bool hides = false, bool regex = false, bool matchCase = false)
    {
        return TextFilter {std::move(pattern), hides, regex, matchCase};
    }
};

TEST_F(TextFilterTest, ShowsOrHidesTheMatchingMessagesAndBringsRowsBackInOrder)
{
    view.setTextFilter(filter("order 10443"));
    EXPECT_EQ(list.texts(),
        (Texts {"info order 10443 received", "warn ORDER 10443 late", "info order 10443 shipped"}));
    EXPECT_EQ(view.getMessages().GetCount(), 5);

    view.setTextFilter(filter("order 10443", true));
    EXPECT_EQ(list.texts(), (Texts {"info order 10444 received", "error payment failed"}));

    view.setTextFilter(filter("order 10443", false, false, true));
    EXPECT_EQ(list.texts(), (Texts {"info order 10443 received", "info order 10443 shipped"}));

    view.setTextFilter(filter("^(warn|error) "));
    EXPECT_TRUE(list.texts().empty()); // plain text, nothing has these characters
    view.setTextFilter(filter("^(warn|error) ", false, true));
    EXPECT_EQ(list.texts(), (Texts {"warn ORDER 10443 late", "error payment failed"}));

    view.setTextFilter(filter(""));
    EXPECT_EQ(list.texts(), messageTexts());
}

TEST_F(TextFilterTest, WorksTogetherWithTheSeverityFilter)
{
    view.setTextFilter(filter("10443"));
    view.setMinimumSeverity(2);
    EXPECT_EQ(list.texts(), (Texts {"warn ORDER 10443 late"}));
    appendAndPoll("error order 10443 refunded\nerror order 10445 refunded\ninfo order 10443 closed\n");
    EXPECT_EQ(list.texts(), (Texts {"warn ORDER 10443 late", "error order 10443 refunded"}));
}

TEST_F(TextFilterTest, HiddenMessagesStillCountForKeepLinesAndNotifications)
{
    settings.SetOnTop(3);
    view.setTextFilter(filter("10443"));
    const int before = notifications();
    appendAndPoll("error unrelated failure\n");
    EXPECT_GT(notifications(), before);
    EXPECT_EQ(list.texts().size(), 3u);

    settings.SetKeepLines(3);
    appendAndPoll("info order 10443 closed\n");
    EXPECT_EQ(messageTexts(),
        (Texts {"info order 10443 shipped", "error unrelated failure", "info order 10443 closed"}));
    EXPECT_EQ(list.texts(), (Texts {"info order 10443 shipped", "info order 10443 closed"}));
}

TEST_F(TextFilterTest, AContinuationLineThatMatchesShowsItsMessage)
{
    view.setTextFilter(filter("OrderService"));
    EXPECT_TRUE(list.texts().empty());
    appendAndPoll("error worker crashed\n   at OrderService.ship\n   at Main.run\n");
    EXPECT_EQ(list.texts(), (Texts {"error worker crashed\r\nat OrderService.ship\r\nat Main.run"}));
    EXPECT_EQ(list.lastScrolledTo, 0);

    // Hiding: judged with the continuations read in the same poll; one read later cannot take it back.
    view.setTextFilter(filter("OrderService", true));
    const size_t shown = list.texts().size();
    appendAndPoll("error other crash\n   at OrderService.pack\ninfo fine\n");
    EXPECT_EQ(list.texts().size(), shown + 1);
    EXPECT_EQ(list.texts().back(), "info fine");
    appendAndPoll("error third crash\n");
    appendAndPoll("   at OrderService.pack\n");
    EXPECT_EQ(list.texts().back(), "error third crash\r\nat OrderService.pack");
    view.rebuildList();
    EXPECT_EQ(list.texts(),
        (Texts {"info order 10443 received", "info order 10444 received", "warn ORDER 10443 late",
            "error payment failed", "info order 10443 shipped", "info fine"}));
}

TEST_F(TextFilterTest, IsStoredInTheWorkspaceAtOnce)
{
    view.setTextFilter(filter("order \"1\\d+\"", true, true, true));
    EXPECT_STREQ(workspace().GetString("TextFilter", "?"), "order \"1\\d+\"");
    EXPECT_TRUE(workspace().GetBool("TextFilterHides", false));
    EXPECT_TRUE(workspace().GetBool("TextFilterRegex", false));
    EXPECT_TRUE(workspace().GetBool("TextFilterCase", false));
    view.setTextFilter(filter(""));
    EXPECT_STREQ(workspace().GetString("TextFilter", "?"), "");
    EXPECT_FALSE(workspace().GetBool("TextFilterHides", true));
}

TEST_F(TextFilterTest, AnInvalidExpressionFiltersNothingAndSaysWhy)
{
    view.setTextFilter(filter("order (10443", false, true));
    EXPECT_EQ(list.texts(), messageTexts());
    EXPECT_EQ(view.getTextFilterError().message, "missing closing parenthesis");
    EXPECT_STREQ(workspace().GetString("TextFilter", "?"), "order (10443");

    view.setTextFilter(filter("order (10443"));
    EXPECT_TRUE(view.getTextFilterError().message.empty());
    EXPECT_TRUE(list.texts().empty());
}

TEST_F(TextFilterTest, SettingTheSwitchAloneChangesNothingElse)
{
    const int updates = frame.toolbarUpdates;
    view.setTextFilterSwitch(filter("10444"));
    EXPECT_EQ(list.texts().size(), 5u);
    EXPECT_EQ(frame.toolbarUpdates, updates);
    EXPECT_EQ(workspace().FindParameter("TextFilter"), nullptr);
    view.rebuildList();
    EXPECT_EQ(list.texts(), (Texts {"info order 10444 received"}));
}

} // namespace
} // namespace kestrano::test
