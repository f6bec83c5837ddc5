// Notifier for the desktop: raises the main window, plays the alert sound, and reaches a user who is
// looking elsewhere through the window's urgency hint and a desktop notification.
#pragma once

#include "core/ports/Notifier.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace kestrano {

class AlertSound;
class DesktopNotifications;

class QtNotifier : public Notifier {
public:
    // appId names the program's desktop file.
    QtNotifier(AlertSound& sound, const QString& appId);
    ~QtNotifier() override;

    // The desktop notifications start with the main window, when the application (and its bus) exist.
    void setMainWindow(QWidget* window);
    void setDesktopNotifications(bool on) { desktop = on; }
    bool desktopNotifications() const { return desktop; }
    // What the default action of a notification does with the log's path.
    void setActivationHandler(std::function<void(const char* path)> handler);

    void bringMainWindowToFront() override;
    void playAlertSound() override;
    // While the main window is not active: its urgency hint and, when on, a desktop notification
    // "Kestrano: FILE" with the first line and the severity's icon.
    void announce(const char* path, int32_t severity, const char* firstLine) override;

private:
    AlertSound& sound;
    QString appId;
    QPointer<QWidget> mainWindow;
    bool desktop = true;
    std::unique_ptr<DesktopNotifications> notifications;
    std::function<void(const char*)> activate;
};

// Restores a minimised window to the state it had before, raises it and makes it active.
void bringWindowToFront(QWidget& window);

} // namespace kestrano
