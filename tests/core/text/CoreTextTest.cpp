// The core's texts by identity: their English, and a notice message that knows which notice it is.
#include "core/text/CoreText.h"
#include "core/text/Message.h"
#include "core/text/Severity.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kestrano::test {
namespace {

TEST(CoreTextTest, TheEnglishTakesTheArgumentInItsPlace)
{
    EXPECT_EQ((ShownText {CoreText::ReadErrorBecause, "No such file or directory"}).english(),
        "Error: Cannot read from log file (No such file or directory). Still trying...");
    EXPECT_EQ((ShownText {CoreText::CannotDelete, "/var/log/a b.log"}).english(),
        "Error: Cannot delete /var/log/a b.log.");
    EXPECT_EQ((ShownText {CoreText::EndOfInput, {}}).english(), "End of input.");
    EXPECT_EQ((ShownText {CoreText::None, "as it stands %1"}).english(), "as it stands %1");
}

TEST(CoreTextTest, ANoticeMessageKnowsItsNoticeUntilALineJoinsIt)
{
    const ShownText failure {CoreText::ReadErrorBecause, "a (bracketed) reason"};
    const std::unique_ptr<Message> notice(Message::createNotice(failure, Severity::Error));
    EXPECT_EQ(std::string(notice->getText()), failure.english());
    EXPECT_EQ(notice->getSeverity(), Severity::Error);
    EXPECT_EQ(notice->getNotice(), failure);

    const std::string same = failure.english();
    const std::unique_ptr<Message> line(
        Message::create(same.data(), static_cast<int32_t>(same.size()), Severity::Error));
    EXPECT_EQ(line->getNotice(), ShownText {}) << "a line of the log that reads the same is no notice";

    notice->appendContinuationLine("  more", 6);
    EXPECT_EQ(notice->getNotice(), ShownText {});
}

} // namespace
} // namespace kestrano::test
