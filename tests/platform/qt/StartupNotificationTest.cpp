// The startup notification's remove message: the id quoted as the protocol wants, whatever it holds.
#include "platform/qt/StartupNotification.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace kestrano::test {
namespace {

TEST(StartupNotificationTest, TheRemoveMessageQuotesTheId)
{
    EXPECT_EQ(startupRemoveMessage("launcher-42_TIME1234"), "remove: ID=\"launcher-42_TIME1234\"");
    EXPECT_EQ(startupRemoveMessage("a \"b\" c\\d"), "remove: ID=\"a \\\"b\\\" c\\\\d\"");
}

TEST(StartupNotificationTest, OffX11NothingIsSent)
{
    QWidget window; // offscreen: no X connection to send on
    window.show();
    endStartupNotification(window, "launcher-42");
    SUCCEED();
}

} // namespace
} // namespace kestrano::test
