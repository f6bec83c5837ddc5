#include "tests/support/NotificationService.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QTest>

namespace kestrano::test {

namespace {

const QString ServiceConnection = QStringLiteral("notification-service");
const QString ClientConnection = QStringLiteral("notification-client");

} // namespace

NotificationService::NotificationService(bool serve)
{
    daemon.start(QStringLiteral("dbus-daemon"),
        {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!daemon.waitForStarted(30000))
        return;
    QDeadlineTimer deadline(30000);
    while (!daemon.canReadLine() && !deadline.hasExpired())
        daemon.waitForReadyRead(100);
    address = QString::fromUtf8(daemon.readLine()).trimmed();
    if (address.isEmpty() || !serve)
        return;
    QDBusConnection bus = QDBusConnection::connectToBus(address, ServiceConnection);
    bus.registerObject(
        QStringLiteral("/org/freedesktop/Notifications"), this, QDBusConnection::ExportAllSlots);
    bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
}

NotificationService::~NotificationService()
{
    QDBusConnection::disconnectFromBus(ServiceConnection);
    QDBusConnection::disconnectFromBus(ClientConnection);
    daemon.kill();
    daemon.waitForFinished(30000);
}

QDBusConnection NotificationService::clientConnection() const
{
    return QDBusConnection::connectToBus(address, ClientConnection);
}

bool NotificationService::waitForShown(size_t count) const
{
    return QTest::qWaitFor([&] { return shown.size() >= count; }, 30000);
}

void NotificationService::pressDefault(uint id, const QString& activationToken)
{
    if (!activationToken.isEmpty()) {
        QDBusMessage token = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActivationToken"));
        token << id << activationToken;
        QDBusConnection(ServiceConnection).send(token);
    }
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"));
    signal << id << QStringLiteral("default");
    QDBusConnection(ServiceConnection).send(signal);
}

uint NotificationService::Notify(const QString& appName, uint replacesId, const QString& appIcon,
    const QString& summary, const QString& body, const QStringList& actions, const QVariantMap& hints,
    int timeout)
{
    const uint id = replacesId ? replacesId : nextId++;
    shown.push_back({appName, replacesId, appIcon, summary, body, actions, hints, timeout, id});
    return id;
}

QStringList NotificationService::GetCapabilities()
{
    return capabilityList;
}

void NotificationService::CloseNotification(uint)
{ }

QString NotificationService::GetServerInformation(QString& vendor, QString& version, QString& specVersion)
{
    vendor = QStringLiteral("test");
    version = QStringLiteral("1");
    specVersion = QStringLiteral("1.2");
    return QStringLiteral("recorder");
}

ImageDataShape imageDataShape(const QVariant& hint)
{
    ImageDataShape shape;
    if (!hint.canConvert<QDBusArgument>())
        return shape;
    const QDBusArgument argument = hint.value<QDBusArgument>();
    int rowStride = 0, bitsPerSample = 0;
    bool alpha = false;
    QByteArray data;
    argument.beginStructure();
    argument >> shape.width >> shape.height >> rowStride >> alpha >> bitsPerSample >> shape.channels >> data;
    argument.endStructure();
    shape.bytes = data.size();
    return shape;
}

} // namespace kestrano::test
