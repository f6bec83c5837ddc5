#include "platform/qt/DesktopNotifications.h"

#include "config/Path.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString ObjectPath = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");

// The hint "image-data": raw pixels, as the notification protocol lays them out (iiibiiay).
struct NotificationImage {
    QImage image;
};

} // namespace

Q_DECLARE_METATYPE(NotificationImage)

namespace {

QDBusArgument& operator<<(QDBusArgument& argument, const NotificationImage& value)
{
    const QImage image = value.image.convertToFormat(QImage::Format_RGBA8888);
    argument.beginStructure();
    argument << image.width() << image.height() << static_cast<int>(image.bytesPerLine()) << true << 8 << 4
             << QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, NotificationImage&)
{
    return argument; // never received
}

} // namespace

namespace kestrano {

DesktopNotifications::DesktopNotifications(const QDBusConnection& bus, const QString& appId, QObject* parent)
    : QObject(parent)
    , bus(bus)
    , appId(appId)
{
    qDBusRegisterMetaType<NotificationImage>();
    if (!this->bus.isConnected())
        return;
    this->bus.connect(Service, ObjectPath, Interface, QStringLiteral("ActionInvoked"), this,
        SLOT(actionInvoked(uint, QString)));
    this->bus.connect(Service, ObjectPath, Interface, QStringLiteral("ActivationToken"), this,
        SLOT(activationToken(uint, QString)));
    this->bus.connect(Service, ObjectPath, Interface, QStringLiteral("NotificationClosed"), this,
        SLOT(notificationClosed(uint, uint)));
    const QDBusMessage ask
        = QDBusMessage::createMethodCall(Service, ObjectPath, Interface, "GetCapabilities");
    auto* watcher = new QDBusPendingCallWatcher(this->bus.asyncCall(ask), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        const QDBusPendingReply<QStringList> reply = *watcher;
        if (reply.isValid())
            capabilities(reply.value());
        watcher->deleteLater();
    });
}

void DesktopNotifications::show(
    const QString& key, const QString& summary, const QString& body, const QImage& image, Urgency urgency)
{
    if (!bus.isConnected())
        return;
    const auto previous = shown.find(key);
    const uint replaces = previous == shown.end() ? 0 : previous->second;
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), appId);
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(static_cast<uchar>(urgency)));
    if (!image.isNull())
        hints.insert(QStringLiteral("image-data"), QVariant::fromValue(NotificationImage {image}));
    QDBusMessage call = QDBusMessage::createMethodCall(Service, ObjectPath, Interface, "Notify");
    call << QString::fromLatin1(haspel::kApplicationName) << replaces << appId << summary
         << (markup ? body.toHtmlEscaped() : body) << QStringList {QStringLiteral("default"), tr("Show")}
         << hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, key] {
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isValid())
            shown[key] = reply.value();
        watcher->deleteLater();
    });
}

void DesktopNotifications::actionInvoked(uint id, const QString& action)
{
    const QByteArray given = tokenId == id ? token : QByteArray();
    tokenId = 0;
    token.clear();
    if (action != QLatin1String("default"))
        return;
    for (const auto& [key, shownId] : shown) {
        if (shownId == id) {
            const QString found = key; // the handler may show another notification
            if (activate)
                activate(found, given);
            return;
        }
    }
}

void DesktopNotifications::activationToken(uint id, const QString& given)
{
    tokenId = id;
    token = given.toUtf8();
}

void DesktopNotifications::notificationClosed(uint id, uint)
{
    for (auto it = shown.begin(); it != shown.end(); ++it) {
        if (it->second == id) {
            shown.erase(it);
            return;
        }
    }
}

void DesktopNotifications::capabilities(const QStringList& names)
{
    markup = names.contains(QStringLiteral("body-markup"));
}

} // namespace kestrano
