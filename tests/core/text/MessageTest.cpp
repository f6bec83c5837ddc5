#include "core/text/Message.h"
#include "core/settings/MonitorSettings.h"
#include "core/text/KeywordLists.h"
#include "core/text/MessageLines.h"
#include "core/text/Severity.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace kestrano::test {
namespace {

class MessageTest : public ::testing::Test {
protected:
    int32_t severityOf(const std::string& line)
    {
        keywords.update(settings);
        return Message(line.data(), static_cast<int32_t>(line.size()), keywords).getSeverity();
    }

    MonitorSettings settings;
    KeywordLists keywords;
};

TEST_F(MessageTest, HighestMatchingListWinsWhateverItsPosition)
{
    EXPECT_EQ(severityOf("warning: error while writing"), Severity::Error);
    EXPECT_EQ(severityOf("error: then a warning"), Severity::Error);
    EXPECT_EQ(severityOf("debug info notice warn"), Severity::Warning);
    EXPECT_EQ(severityOf("crit"), Severity::Fatal);
    EXPECT_EQ(severityOf("nothing to see here"), Severity::Unknown);
    EXPECT_EQ(severityOf(""), Severity::Unknown);
}

TEST_F(MessageTest, KeywordsMatchAnySubstringInAnyLetterCase)
{
    EXPECT_EQ(severityOf("INFO start"), Severity::Information);
    EXPECT_EQ(severityOf("Info start"), Severity::Information);
    EXPECT_EQ(severityOf("informational"), Severity::Information);
    EXPECT_EQ(severityOf("java.lang.Exception: boom"), Severity::Error);
    EXPECT_EQ(severityOf("a terror tale"), Severity::Error);
    EXPECT_EQ(severityOf("CRITICAL"), Severity::Fatal);
    EXPECT_EQ(severityOf("[DeBg]"), Severity::DebugInformation);
    // A keyword cut by the end of the line does not match.
    EXPECT_EQ(severityOf("fata"), Severity::Unknown);
    EXPECT_EQ(severityOf("xx erro"), Severity::Unknown);
}

TEST_F(MessageTest, KeywordsOfTheSettingsAreUsed)
{
    MonitorSettings::ParseKeywords("", settings.GetKeywords(Severity::Error));
    EXPECT_EQ(severityOf("error"), Severity::Unknown);
    MonitorSettings::ParseKeywords("x Oops", settings.GetKeywords(Severity::Information));
    EXPECT_EQ(severityOf("OOPS"), Severity::Information);
    EXPECT_EQ(severityOf("a single X marks it"), Severity::Information);
    EXPECT_EQ(severityOf("no such letter"), Severity::Unknown);
    MonitorSettings::ParseKeywords("warn\tx", settings.GetKeywords(Severity::Warning));
    EXPECT_EQ(severityOf("warn x"), Severity::Information);
    EXPECT_EQ(severityOf("WARN\tX"), Severity::Warning);
    // Keywords sharing their first two bytes with one of another list.
    MonitorSettings::ParseKeywords("infinite", settings.GetKeywords(Severity::Fatal));
    EXPECT_EQ(severityOf("info then infinite"), Severity::Fatal);
    EXPECT_EQ(severityOf("infinit"), Severity::Unknown);
}

TEST_F(MessageTest, AnEmptyKeywordOccursInEveryLine)
{
    settings.GetKeywords(Severity::Warning).Add(new haspel::String(""));
    EXPECT_EQ(severityOf("plain"), Severity::Warning);
    EXPECT_EQ(severityOf("error"), Severity::Error);
}

TEST_F(MessageTest, TextIsTrimmedButClassifiedUntrimmed)
{
    MonitorSettings::ParseKeywords("\tx", settings.GetKeywords(Severity::Fatal));
    keywords.update(settings);
    const std::string line = " \v\f\tx marks \t\r";
    const Message message(line.data(), static_cast<int32_t>(line.size()), keywords);
    EXPECT_STREQ(message.getText(), "x marks");
    EXPECT_EQ(message.getTextLength(), 7);
    EXPECT_EQ(message.getSeverity(), Severity::Fatal);
}

TEST_F(MessageTest, ContinuationsJoinWithCrLfAndKeepTheSeverity)
{
    keywords.update(settings);
    Message message("warn: first", 11, keywords);
    message.appendContinuationLine("   fatal second  ", 17);
    message.appendContinuationLine(" \t ", 3);
    message.appendContinuationLine("", 0);
    EXPECT_STREQ(message.getText(), "warn: first\r\nfatal second\r\n\r\n");
    EXPECT_EQ(message.getTextLength(), static_cast<int32_t>(std::strlen(message.getText())));
    EXPECT_EQ(message.getSeverity(), Severity::Warning);
}

// As kestrano-tail prints a message and the desktop copies it: a tab before each continuation line,
// each line ended by a line feed.
TEST_F(MessageTest, WrittenOutEachContinuationLineFollowsATab)
{
    keywords.update(settings);
    Message trace("error: boom", 11, keywords);
    trace.appendContinuationLine("    at a.b(C.java:1)", 20);
    trace.appendContinuationLine("", 0);
    trace.appendContinuationLine("\tat d.e(F.java:2)", 17);
    std::string out = "x\n";
    appendMessageLines(out, trace);
    EXPECT_EQ(out, "x\nerror: boom\n\tat a.b(C.java:1)\n\t\n\tat d.e(F.java:2)\n");

    Message single("plain", 5, keywords);
    out.clear();
    appendMessageLines(out, single);
    EXPECT_EQ(out, "plain\n");
}

TEST_F(MessageTest, ManyContinuationsBuildTheWholeText)
{
    keywords.update(settings);
    Message message("head", 4, keywords);
    std::string expected = "head";
    for (int i = 0; i < 2000; ++i) {
        const std::string line = "  line " + std::to_string(i);
        message.appendContinuationLine(line.data(), static_cast<int32_t>(line.size()));
        expected += "\r\nline " + std::to_string(i);
    }
    EXPECT_EQ(std::string(message.getText()), expected);
}

TEST_F(MessageTest, CreatedMessagesHoldTheirTextAndCutItAtTheBound)
{
    std::unique_ptr<Message> small(Message::create("  short line \t", 14, Severity::Warning));
    EXPECT_STREQ(small->getText(), "short line");
    EXPECT_EQ(small->getSeverity(), Severity::Warning);
    EXPECT_EQ(small->getCutBytes(), 0);
    small->appendContinuationLine(" grown", 6);
    EXPECT_STREQ(small->getText(), "short line\r\ngrown");

    const std::string huge = "error " + std::string(3 * 1024 * 1024, 'e');
    std::unique_ptr<Message> cut(
        Message::create(huge.data(), static_cast<int32_t>(huge.size()), Severity::Unknown, 100));
    const int64_t dropped = static_cast<int64_t>(huge.size()) - Message::MaxTextBytes + 100;
    EXPECT_EQ(cut->getCutBytes(), dropped);
    EXPECT_EQ(std::string(cut->getText()),
        huge.substr(0, Message::MaxTextBytes) + " [... " + std::to_string(dropped) + " bytes cut]");
    EXPECT_EQ(cut->getTextLength(), static_cast<int32_t>(std::strlen(cut->getText())));
    cut->appendContinuationLine("  more", 6);
    EXPECT_EQ(cut->getCutBytes(), dropped + 6);
    EXPECT_EQ(cut->getSeverity(), Severity::Unknown);
}

} // namespace
} // namespace kestrano::test
