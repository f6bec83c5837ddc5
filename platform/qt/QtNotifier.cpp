#include "platform/qt/QtNotifier.h"

#include "platform/qt/AlertSound.h"
#include "platform/qt/DesktopNotifications.h"
#include "platform/qt/SeverityIcons.h"
#include "platform/qt/WindowRestore.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFileInfo>
#include <QIcon>

namespace kestrano {

namespace {

// The size the notification's icon is drawn in.
constexpr int IconSize = 48;

} // namespace

void bringWindowToFront(QWidget& window)
{
    showRestored(window);
    window.raise();
    window.activateWindow();
}

QtNotifier::QtNotifier(AlertSound& sound, const QString& appId)
    : sound(sound)
    , appId(appId)
{ }

QtNotifier::~QtNotifier() = default;

void QtNotifier::setMainWindow(QWidget* window)
{
    mainWindow = window;
    if (window && !notifications) {
        notifications = std::make_unique<DesktopNotifications>(QDBusConnection::sessionBus(), appId);
        notifications->setActivationHandler([this](const QString& path) {
            if (activate)
                activate(path.toLocal8Bit().constData());
        });
    }
}

void QtNotifier::setActivationHandler(std::function<void(const char* path)> handler)
{
    activate = std::move(handler);
}

void QtNotifier::bringMainWindowToFront()
{
    if (mainWindow)
        bringWindowToFront(*mainWindow);
}

void QtNotifier::playAlertSound()
{
    sound.play();
}

void QtNotifier::announce(const char* path, int32_t severity, const char* firstLine)
{
    if (!mainWindow || mainWindow->isActiveWindow())
        return;
    QApplication::alert(mainWindow);
    if (!desktop || !notifications)
        return;
    const QString file = QString::fromLocal8Bit(path);
    const QString summary
        = QCoreApplication::translate("QtNotifier", "Kestrano: %1").arg(QFileInfo(file).fileName());
    const QIcon& icon = severityIcon(severity);
    notifications->show(file, summary, QString::fromLocal8Bit(firstLine),
        icon.isNull() ? QImage() : icon.pixmap(IconSize).toImage());
}

} // namespace kestrano
