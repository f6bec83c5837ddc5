#include "core/settings/MonitorSettings.h"
#include "core/text/KeywordLists.h"
#include "core/text/LineCutter.h"
#include "core/text/Message.h"
#include "core/text/Severity.h"
#include "tests/core/text/CutterContents.h"
#include "tests/support/FailingAllocations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace kestrano::test {
namespace {

std::unique_ptr<Message> made(const std::string& line, int64_t cutBytes = 0)
{
    return std::unique_ptr<Message>(
        Message::create(line.data(), static_cast<int32_t>(line.size()), Severity::Warning, cutBytes));
}

// A cutter with real settings (it trims to KeepLines itself) and a listener that only listens.
struct Cutting : LineCutterListener {
    void messageAdded(Message*) override { }
    void messageContinued(Message*) override { }

    void append(const std::string& text)
    {
        cutter.appendPendingText(text.data(), static_cast<int32_t>(text.size()));
    }
    Texts texts() const { return messageTexts(cutter); }
    std::string pending() const { return pendingText(cutter); }

    MonitorSettings settings;
    LineCutter cutter {settings, *this};
};

} // namespace

// A continuation that can't be joined for want of memory leaves the text as it was: a text still in
// the message's own allocation, one in a block of its own, and one about to be cut at the bound.
TEST(CoreOutOfMemoryTest, FailedContinuationLeavesTheText)
{
    const std::string nearBound(Message::MaxTextBytes - 10, 'n');
    struct Case {
        std::string first;
        std::string continuation;
        int32_t growth; // continuations joined before, each this long
    };
    const std::vector<Case> cases {
        {"short line", "  joined", 0},
        {"grown line", "  " + std::string(200, 'c'), 3},
        {nearBound, "  beyond the bound", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first.substr(0, 20));
        std::unique_ptr<Message> message;
        std::string before;
        const char* text = nullptr;
        const int64_t allocations = failEachAllocation(
            [&] {
                message = made(c.first);
                for (int32_t i = 0; i < c.growth; ++i)
                    message->appendContinuationLine(" x", 2);
                before = message->getText();
                text = message->getText();
            },
            [&] {
                message->appendContinuationLine(
                    c.continuation.data(), static_cast<int32_t>(c.continuation.size()));
            },
            [&] {
                EXPECT_EQ(message->getText(), text);
                EXPECT_EQ(message->getText(), before);
                EXPECT_EQ(message->getTextLength(), static_cast<int32_t>(before.size()));
                EXPECT_EQ(message->getCutBytes(), 0);
                EXPECT_EQ(message->getSeverity(), Severity::Warning);
            });
        EXPECT_EQ(allocations, 1);
    }

    // A text cut already only counts what follows: nothing to allocate, nothing to fail.
    std::unique_ptr<Message> cut;
    EXPECT_EQ(failEachAllocation(
                  [&] { cut = made("cut", 5); }, [&] { cut->appendContinuationLine(" more", 5); }, [] {}),
        0);
    EXPECT_EQ(cut->getCutBytes(), 5 + 2 + 4);

    // Making a message frees what it had allocated when it fails.
    KeywordLists keywords;
    EXPECT_EQ(failEachAllocation([] {}, [] { made("cut text", 100); }, [] {}), 2);
    EXPECT_EQ(failEachAllocation([] {}, [&] { delete new Message("classified", 10, keywords); }, [] {}), 2);
}

// Keyword lists that can't be rebuilt for want of memory go on classifying with the lists held.
TEST(CoreOutOfMemoryTest, FailedKeywordUpdateKeepsTheListsHeld)
{
    std::unique_ptr<MonitorSettings> settings;
    std::unique_ptr<KeywordLists> keywords;
    auto classify = [&](const std::string& line) {
        return keywords->classify(line.data(), static_cast<int32_t>(line.size()));
    };
    const int64_t allocations = failEachAllocation(
        [&] {
            settings = std::make_unique<MonitorSettings>();
            keywords = std::make_unique<KeywordLists>(*settings);
            MonitorSettings::ParseKeywords("", settings->GetKeywords(Severity::Error));
            MonitorSettings::ParseKeywords("kaboom x", settings->GetKeywords(Severity::Fatal));
        },
        [&] { keywords->update(*settings); },
        [&] {
            EXPECT_EQ(classify("an error here"), Severity::Error);
            EXPECT_EQ(classify("kaboom"), Severity::Unknown);
            EXPECT_EQ(classify("x"), Severity::Unknown);
            EXPECT_EQ(classify("fatal"), Severity::Fatal);
            EXPECT_EQ(keywords->longestKeyword(), 9); // "exception"
            EXPECT_EQ(keywords->baseSeverity(), Severity::Unknown);
            keywords->update(*settings); // the next update takes the new lists
            EXPECT_EQ(classify("an error here"), Severity::Unknown);
            EXPECT_EQ(classify("kaboom"), Severity::Fatal);
        });
    EXPECT_EQ(allocations, 2);
    EXPECT_EQ(classify("x"), Severity::Fatal);
}

// Text that can't be added for want of memory leaves the pending text and the messages as they were.
TEST(CoreOutOfMemoryTest, FailedAppendAddsNothing)
{
    std::unique_ptr<Cutting> cutting;
    const std::string rest
        = " and then much more than the pending text had room for, " + std::string(100, 'r');
    const int64_t allocations = failEachAllocation(
        [&] {
            cutting = std::make_unique<Cutting>();
            cutting->append("done\npartial");
            cutting->cutter.splitPendingText();
        },
        [&] { cutting->append(rest); },
        [&] {
            EXPECT_EQ(cutting->pending(), "partial");
            EXPECT_EQ(cutting->texts(), Texts {"done"});
            cutting->append(rest + "\nnext\n");
            cutting->cutter.splitPendingText();
            EXPECT_EQ(cutting->texts(), (Texts {"done", "partial" + rest, "next"}));
        });
    EXPECT_EQ(allocations, 1);
    EXPECT_EQ(cutting->pending(), "partial" + rest);
}

// A split that runs out of memory loses the line it was processing, no other: the next split goes
// on with the lines after it.
TEST(CoreOutOfMemoryTest, FailedSplitLosesOnlyTheLineInHand)
{
    std::unique_ptr<Cutting> cutting;
    const std::vector<Texts> outcomes {
        {"first\r\ncontinued", "second error", "third"}, // nothing lost
        {"continued", "second error", "third"}, // the continuation then stands alone
        {"first", "second error", "third"},
        {"first\r\ncontinued", "third"},
        {"first\r\ncontinued", "second error"},
    };
    const int64_t allocations = failEachAllocation(
        [&] {
            cutting = std::make_unique<Cutting>();
            cutting->append("first\n  continued\nsecond error\nthird\n");
        },
        [&] { cutting->cutter.splitPendingText(); },
        [&] {
            cutting->cutter.splitPendingText();
            EXPECT_NE(std::find(outcomes.begin(), outcomes.end(), cutting->texts()), outcomes.end())
                << testing::PrintToString(cutting->texts());
            EXPECT_EQ(cutting->pending(), "");
        });
    EXPECT_GE(allocations, 5); // the marks, three messages and the continuation's text
    EXPECT_EQ(cutting->texts(), outcomes[0]);
}

} // namespace kestrano::test
