// Reaching a user who is looking elsewhere: a desktop notification over a session bus of the test's own
// when an important message arrives while the main window is not active, its default action, and the
// setting "Notifications" / "Desktop" with its check box.
#include "core/view/ChildView.h"
#include "shell/dialogs/OptionsDialog.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/NotificationService.h"

#include <QApplication>
#include <QCheckBox>
#include <QMdiArea>
#include <QTest>

namespace kestrano::test {
namespace {

class AttentionTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(service.running());
        // Each test runs in a process of its own, where the session bus is first asked for after this.
        qputenv("DBUS_SESSION_BUS_ADDRESS", service.busAddress().toUtf8());
    }
    void appendAndPoll(const std::string& path, const std::string& text)
    {
        appendFile(path, text);
        app->GetMainFrame()->pollAllLogs();
    }
    NotificationService service;
};

TEST_F(AttentionTest, AnErrorInTheBackgroundIsAnnouncedAndItsActionShowsTheLog)
{
    const std::string app_log = log("app.log", "started\n");
    const std::string other = log("other.log", "started\n");
    start({app_log, other});
    MainFrame& frame = *app->GetMainFrame();
    QApplication::setActiveWindow(nullptr); // the user works in another program
    ASSERT_FALSE(frame.isActiveWindow());

    appendAndPoll(app_log, "disk error on /var\n  detail\nsecond error\n");
    ASSERT_TRUE(service.waitForShown(1));
    const ShownNotification shown = service.shown[0]; // a copy: more are coming
    EXPECT_EQ(shown.summary, QStringLiteral("Kestrano: app.log"));
    EXPECT_EQ(shown.body, QStringLiteral("disk error on /var"));
    EXPECT_EQ(imageDataShape(shown.hints.value(QStringLiteral("image-data"))).channels, 4);
    EXPECT_EQ(soundPlays, 1); // the sound and the raise stay
    EXPECT_EQ(frame.activeChild()->windowTitle(), QStringLiteral("app.log"));

    // The user has gone to the other log meanwhile; the notification's default action brings this one.
    frame.mdiArea().setActiveSubWindow(app->GetDocTemplate().findFrame(other.c_str()));
    service.pressDefault(shown.id);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return frame.activeChild()->windowTitle() == QStringLiteral("app.log"); }, 30000));

    // A warning is below "OnTop": the sound only.
    QApplication::setActiveWindow(nullptr);
    appendAndPoll(app_log, "just a warn\n");
    EXPECT_EQ(soundPlays, 2);
    appendAndPoll(other, "other fatal\n");
    ASSERT_TRUE(service.waitForShown(2)); // the bus keeps the order: a warning's would come first
    EXPECT_EQ(service.shown[1].summary, QStringLiteral("Kestrano: other.log"));
    EXPECT_EQ(service.shown[1].replacesId, 0u);
}

TEST_F(AttentionTest, NothingIsAnnouncedWhileTheUserLooksOrWhenSwitchedOff)
{
    const std::string path = log("app.log", "started\n");
    start({path});
    MainFrame& frame = *app->GetMainFrame();
    QApplication::setActiveWindow(&frame);
    appendAndPoll(path, "fatal one\n");
    EXPECT_EQ(soundPlays, 1);

    {
        OptionsDialog dialog(*app, &frame);
        EXPECT_TRUE(dialog.desktopNotificationsBox().isChecked());
        dialog.desktopNotificationsBox().setChecked(false);
        dialog.accept();
    }
    EXPECT_FALSE(app->GetDesktopNotifications());
    QApplication::setActiveWindow(nullptr);
    appendAndPoll(path, "fatal two\n");
    EXPECT_EQ(soundPlays, 2);

    // A notification that is shown now comes after those two polls, had they sent any.
    app->SetDesktopNotifications(true);
    appendAndPoll(path, "fatal three\n");
    ASSERT_TRUE(service.waitForShown(1));
    EXPECT_EQ(service.shown.size(), 1u);
    EXPECT_EQ(service.shown[0].body, QStringLiteral("fatal three"));

    app->SetDesktopNotifications(false);
    exit();
    EXPECT_EQ(stored(savedConfiguration()->GetRoot(), {"Notifications"}, "Desktop"), "0");
}

} // namespace
} // namespace kestrano::test
