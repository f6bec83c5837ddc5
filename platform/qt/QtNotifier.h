// Notifier for the desktop: asks for attention without taking the keyboard, plays the alert sound, and
// reaches a user who works in another program through the window's urgency hint and desktop
// notifications, at most one per log in a while.
#pragma once

#include "core/ports/Notifier.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

namespace kestrano {

class AlertSound;
class DesktopNotifications;

class QtNotifier : public Notifier {
public:
    // A log shows at most one notification in this time; what arrives meanwhile is counted and shown
    // as one when it has passed.
    static constexpr int HoldMilliseconds = 10000;

    // appId names the program's desktop file.
    QtNotifier(AlertSound& sound, const QString& appId);
    ~QtNotifier() override;

    // The desktop notifications start with the main window, when the application (and its bus) exist.
    void setMainWindow(QWidget* window);
    void setDesktopNotifications(bool on) { desktop = on; }
    bool desktopNotifications() const { return desktop; }
    // What the default action of a notification does with the log's path and the activation token
    // the notification service gave (empty: none).
    void setActivationHandler(std::function<void(const char* path, const QByteArray& token)> handler);

    void askForAttention() override;
    void playAlertSound() override;
    // While the program is not the active one and notifications are on: "Kestrano: FILE" with the
    // first line and the severity's icon, or after a recent one of the same log, later the count
    // ("3 more errors in app.log").
    void announce(const char* path, int32_t severity, const char* firstLine, int32_t count) override;

private:
    // What a log's notifications held back meanwhile.
    struct Held {
        std::unique_ptr<QTimer> timer;
        int32_t count = 0;
        int32_t severity = 0;
    };

    void show(const QString& file, const QString& body, int32_t severity);
    void holdEnded(const QString& file);

    AlertSound& sound;
    QString appId;
    QPointer<QWidget> mainWindow;
    bool desktop = true;
    std::unique_ptr<DesktopNotifications> notifications;
    std::function<void(const char*, const QByteArray&)> activate;
    std::map<QString, Held> held;
};

} // namespace kestrano
