// A session bus of the test's own (a dbus-daemon process) with a notification service on it that records
// what it is asked to show and can press a notification's default action, as a user would.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QVariantMap>

#include <vector>

namespace kestrano::test {

struct ShownNotification {
    QString appName;
    uint replacesId;
    QString appIcon;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
    int timeout;
    uint id; // the id the service answered
};

class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    // Starts the bus; with serve false, nobody offers the service on it.
    explicit NotificationService(bool serve = true);
    ~NotificationService() override;

    bool running() const { return !address.isEmpty(); }
    // The bus's address, for DBUS_SESSION_BUS_ADDRESS or QDBusConnection::connectToBus.
    const QString& busAddress() const { return address; }
    QDBusConnection clientConnection() const;
    // Waits (a bounded poll) until count notifications were shown.
    bool waitForShown(size_t count) const;
    // Sends ActionInvoked(id, "default") from the service, after ActivationToken(id, token) when given.
    void pressDefault(uint id, const QString& activationToken = QString());

    std::vector<ShownNotification> shown;
    QStringList capabilityList {
        QStringLiteral("body"), QStringLiteral("body-markup"), QStringLiteral("actions")};

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
        const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout);
    QStringList GetCapabilities();
    void CloseNotification(uint id);
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion);

private:
    QProcess daemon;
    QString address;
    uint nextId = 1;
};

// Width, height and byte count of an "image-data" hint, or all 0 when it is not one.
struct ImageDataShape {
    int width = 0;
    int height = 0;
    int channels = 0;
    qsizetype bytes = 0;
};
ImageDataShape imageDataShape(const QVariant& hint);

} // namespace kestrano::test
