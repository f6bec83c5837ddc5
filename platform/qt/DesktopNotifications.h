// Desktop notifications through the session bus's org.freedesktop.Notifications service. Nothing here
// waits for the service; without one, showing a notification does nothing.
#pragma once

#include <QDBusConnection>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <map>

namespace kestrano {

class DesktopNotifications : public QObject {
    Q_OBJECT

public:
    // The notification's urgency: a critical one stays until the user closes it.
    enum class Urgency : uchar { Low = 0, Normal = 1, Critical = 2 };

    // appId names the program's desktop file (its icon, the hint "desktop-entry").
    DesktopNotifications(const QDBusConnection& bus, const QString& appId, QObject* parent = nullptr);

    // Shows the notification of key, replacing the one shown for it before if that is still open. The
    // body is plain text; the image becomes the notification's icon. Its default action calls the
    // activation handler with the key and the activation token the service sent with the action (empty
    // when it sent none).
    void show(const QString& key, const QString& summary, const QString& body, const QImage& image,
        Urgency urgency = Urgency::Normal);
    void setActivationHandler(std::function<void(const QString& key, const QByteArray& token)> handler)
    {
        activate = std::move(handler);
    }
    // Whether the service showed a notification of key that it has not closed yet.
    bool isOpen(const QString& key) const { return shown.count(key) != 0; }

private slots:
    void actionInvoked(uint id, const QString& action);
    void activationToken(uint id, const QString& token);
    void notificationClosed(uint id, uint reason);
    void capabilities(const QStringList& names);

private:
    QDBusConnection bus;
    QString appId;
    std::map<QString, uint> shown; // key to the id the service gave
    bool markup = true; // the service takes the body as markup until it says otherwise
    std::function<void(const QString&, const QByteArray&)> activate;
    // The token the service sent just before its ActionInvoked, for that notification.
    uint tokenId = 0;
    QByteArray token;
};

} // namespace kestrano
