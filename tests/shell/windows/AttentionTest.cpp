// Reaching a user who is looking elsewhere without taking the keyboard: a desktop notification over a
// session bus of the test's own when an important message arrives while the program is not active, at
// most one per log in a while, its default action, the setting "Notifications" / "Desktop" with its
// check box and threshold; a log window with news comes on top, marked, while the focus stays.
#include "core/text/Severity.h"
#include "core/view/ChildView.h"
#include "shell/dialogs/OptionsDialog.h"
#include "shell/widgets/FindBar.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/NotificationService.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
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

    appendAndPoll(app_log, "disk error on /var\n  detail\nthen a warning\n");
    ASSERT_TRUE(service.waitForShown(1));
    const ShownNotification shown = service.shown[0]; // a copy: more are coming
    EXPECT_EQ(shown.summary, QStringLiteral("Kestrano: app.log"));
    EXPECT_EQ(shown.body, QStringLiteral("disk error on /var"));
    EXPECT_EQ(imageDataShape(shown.hints.value(QStringLiteral("image-data"))).channels, 4);
    EXPECT_EQ(soundPlays, 1); // the sound and the raise stay
    // The log's window comes on top, marked; the active one stays.
    ChildFrame& appFrame = *app->GetDocTemplate().findFrame(app_log.c_str());
    EXPECT_EQ(frame.activeChild()->windowTitle(), QStringLiteral("other.log"));
    EXPECT_EQ(appFrame.windowTitle(), QStringLiteral("app.log (new)"));
    EXPECT_EQ(frame.mdiArea().subWindowList(QMdiArea::StackingOrder).last(), &appFrame);
    EXPECT_FALSE(frame.isActiveWindow());

    // The user has gone to the other log meanwhile; the notification's default action brings this one.
    frame.mdiArea().setActiveSubWindow(app->GetDocTemplate().findFrame(other.c_str()));
    service.pressDefault(shown.id, QStringLiteral("token-1"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return frame.activeChild()->windowTitle() == QStringLiteral("app.log"); }, 30000));
    EXPECT_FALSE(appFrame.hasNews());

    // A warning is below "OnTop": the sound only.
    QApplication::setActiveWindow(nullptr);
    appendAndPoll(app_log, "just a warn\n");
    EXPECT_EQ(soundPlays, 2);
    appendAndPoll(other, "other fatal\n");
    ASSERT_TRUE(service.waitForShown(2)); // the bus keeps the order: a warning's would come first
    EXPECT_EQ(service.shown[1].summary, QStringLiteral("Kestrano: other.log"));
    EXPECT_EQ(service.shown[1].replacesId, 0u);
}

TEST_F(AttentionTest, AnErrorInAnotherLogLeavesTheKeyboardWhereTheUserTypes)
{
    const std::string typed = log("typed.log", "started\n");
    const std::string failing = log("failing.log", "started\n");
    start({typed, failing});
    MainFrame& frame = *app->GetMainFrame();
    ChildFrame& typedFrame = *app->GetDocTemplate().findFrame(typed.c_str());
    ChildFrame& failingFrame = *app->GetDocTemplate().findFrame(failing.c_str());
    QApplication::setActiveWindow(&frame);
    frame.mdiArea().setActiveSubWindow(&typedFrame);
    typedFrame.findBar().open();
    QLineEdit& field = typedFrame.findBar().patternField();
    ASSERT_EQ(QApplication::focusWidget(), &field);

    const std::string word = "time is the fire in which we burn";
    for (size_t i = 0; i < word.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), word[i]);
        if (i % 4 == 0)
            appendAndPoll(failing, "error number " + std::to_string(i) + "\nfatal too\n");
    }
    EXPECT_EQ(field.text().toStdString(), word);
    EXPECT_EQ(QApplication::focusWidget(), &field);
    EXPECT_EQ(frame.activeChild(), &typedFrame);
    EXPECT_EQ(failingFrame.view().getMinimumSeverity(), typedFrame.view().getMinimumSeverity())
        << "no key reached the other log's filters";
    EXPECT_TRUE(service.shown.empty()) << "no notification while the user works in the program";

    // On top and marked, in its title and in the Window menu, until it is activated.
    EXPECT_EQ(frame.mdiArea().subWindowList(QMdiArea::StackingOrder).last(), &failingFrame);
    EXPECT_EQ(failingFrame.windowTitle(), QStringLiteral("failing.log (new)"));
    EXPECT_FALSE(typedFrame.hasNews());
    frame.mdiArea().setActiveSubWindow(&failingFrame);
    EXPECT_EQ(failingFrame.windowTitle(), QStringLiteral("failing.log"));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Kestrano - failing.log"));
}

TEST_F(AttentionTest, AMinimisedMainWindowComesBackWithoutBeingActivated)
{
    const std::string path = log("app.log", "started\n");
    start({path});
    MainFrame& frame = *app->GetMainFrame();
    frame.showMinimized();
    QApplication::setActiveWindow(nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.isMinimized(); }, 30000));

    appendAndPoll(path, "disk error\n");
    EXPECT_FALSE(frame.isMinimized());
    EXPECT_EQ(QApplication::activeWindow(), nullptr);
    ASSERT_TRUE(service.waitForShown(1));
}

TEST_F(AttentionTest, ALogShowsOneNotificationInAWhileAndThenTheCount)
{
    const std::string path = log("app.log", "started\n");
    start({path});
    QApplication::setActiveWindow(nullptr);
    appendAndPoll(path, "error one\n");
    ASSERT_TRUE(service.waitForShown(1));
    appendAndPoll(path, "error two\nerror three\n");
    appendAndPoll(path, "fatal: four\n");
    // Held for QtNotifier::HoldMilliseconds; the count comes after that, with the highest severity's
    // urgency.
    ASSERT_TRUE(service.waitForShown(2));
    EXPECT_EQ(service.shown.size(), 2u);
    EXPECT_EQ(service.shown[1].summary, QStringLiteral("Kestrano: app.log"));
    EXPECT_EQ(service.shown[1].body, QStringLiteral("3 more fatal errors in app.log"));
    EXPECT_EQ(service.shown[1].hints.value(QStringLiteral("urgency")).toInt(), 2);
    EXPECT_EQ(service.shown[0].hints.value(QStringLiteral("urgency")).toInt(), 1);
}

TEST_F(AttentionTest, NotificationsHaveTheirOwnThresholdInOptions)
{
    const std::string path = log("app.log", "started\n");
    start({path});
    {
        OptionsDialog dialog(*app, app->GetMainFrame());
        EXPECT_EQ(dialog.notifyList().currentIndex(), Severity::Error - Severity::Unknown)
            << "errors and higher by default";
        dialog.onTopList().setCurrentIndex(Severity::Never - Severity::Unknown);
        dialog.notifyList().setCurrentIndex(Severity::Warning - Severity::Unknown);
        dialog.desktopNotificationsBox().setChecked(false);
        EXPECT_FALSE(dialog.notifyList().isEnabled());
        dialog.desktopNotificationsBox().setChecked(true);
        EXPECT_TRUE(dialog.notifyList().isEnabled());
        dialog.accept();
    }
    QApplication::setActiveWindow(nullptr);
    appendAndPoll(path, "warn: disk at 90 %\n");
    ASSERT_TRUE(service.waitForShown(1)) << "a raise set to never leaves the notifications";
    EXPECT_EQ(service.shown[0].body, QStringLiteral("warn: disk at 90 %"));
    exit();
    EXPECT_EQ(stored(savedConfiguration()->GetRoot(), {"Notifications"}, "Notify"), "2");
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
