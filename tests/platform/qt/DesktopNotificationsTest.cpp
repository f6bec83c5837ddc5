// Desktop notifications over a real session bus of the test's own, to a recording notification service.
#include "platform/qt/DesktopNotifications.h"
#include "tests/support/NotificationService.h"

#include <QCoreApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace kestrano::test {
namespace {

QImage redSquare()
{
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
}

TEST(DesktopNotificationsTest, ShowsReplacesPerKeyAndActivatesByTheDefaultAction)
{
    NotificationService service;
    ASSERT_TRUE(service.running());
    DesktopNotifications notifications(service.clientConnection(), QStringLiteral("org.example.Kestrano"));
    QStringList activated;
    notifications.setActivationHandler([&](const QString& key, const QByteArray&) { activated << key; });

    notifications.show(QStringLiteral("/logs/a.log"), QStringLiteral("Kestrano: a.log"),
        QStringLiteral("disk <full> & more"), redSquare());
    ASSERT_TRUE(service.waitForShown(1));
    const ShownNotification first = service.shown[0]; // a copy: more are coming
    EXPECT_EQ(first.appName, QStringLiteral("Kestrano"));
    EXPECT_EQ(first.replacesId, 0u);
    EXPECT_EQ(first.appIcon, QStringLiteral("org.example.Kestrano"));
    EXPECT_EQ(first.summary, QStringLiteral("Kestrano: a.log"));
    // The service takes markup: the log's text must reach the user as it stands.
    EXPECT_EQ(first.body, QStringLiteral("disk &lt;full&gt; &amp; more"));
    EXPECT_EQ(first.actions.value(0), QStringLiteral("default"));
    EXPECT_EQ(first.hints.value(QStringLiteral("desktop-entry")).toString(),
        QStringLiteral("org.example.Kestrano"));
    const ImageDataShape icon = imageDataShape(first.hints.value(QStringLiteral("image-data")));
    EXPECT_EQ(icon.width, 48);
    EXPECT_EQ(icon.height, 48);
    EXPECT_EQ(icon.channels, 4);
    EXPECT_EQ(icon.bytes, 48 * 48 * 4);

    // Once the service has answered with an id, the same log replaces its notification; another log
    // gets one of its own.
    ASSERT_TRUE(QTest::qWaitFor([&] { return notifications.isOpen(QStringLiteral("/logs/a.log")); }, 30000));
    notifications.show(
        QStringLiteral("/logs/a.log"), QStringLiteral("Kestrano: a.log"), QStringLiteral("again"), {});
    notifications.show(
        QStringLiteral("/logs/b.log"), QStringLiteral("Kestrano: b.log"), QStringLiteral("other"), {});
    ASSERT_TRUE(service.waitForShown(3));
    EXPECT_EQ(service.shown[1].replacesId, first.id);
    EXPECT_EQ(service.shown[2].replacesId, 0u);
    EXPECT_FALSE(service.shown[1].hints.contains(QStringLiteral("image-data")));

    service.pressDefault(service.shown[2].id);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !activated.isEmpty(); }, 30000));
    EXPECT_EQ(activated, QStringList({"/logs/b.log"}));
}

TEST(DesktopNotificationsTest, WithoutAServiceNothingHappensAndNothingWaits)
{
    NotificationService bus(false);
    ASSERT_TRUE(bus.running());
    DesktopNotifications notifications(bus.clientConnection(), QStringLiteral("org.example.Kestrano"));
    bool activated = false;
    notifications.setActivationHandler([&](const QString&, const QByteArray&) { activated = true; });
    for (int i = 0; i < 3; ++i)
        notifications.show(QStringLiteral("/logs/a.log"), QStringLiteral("Kestrano: a.log"),
            QStringLiteral("x"), redSquare());
    // The error replies come and change nothing.
    QTest::qWait(200);
    EXPECT_FALSE(notifications.isOpen(QStringLiteral("/logs/a.log")));
    EXPECT_FALSE(activated);

    // No bus at all.
    DesktopNotifications unconnected(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("none")),
        QStringLiteral("org.example.Kestrano"));
    unconnected.show(
        QStringLiteral("/logs/a.log"), QStringLiteral("Kestrano: a.log"), QStringLiteral("x"), {});
}

} // namespace
} // namespace kestrano::test
