#include "platform/qt/QtNotifier.h"

#include "core/text/Severity.h"
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

// Whether one of the program's windows is the active window of the desktop.
bool isActiveApplication()
{
    return QApplication::activeWindow() != nullptr;
}

// "3 more errors in app.log": count messages of at most this severity that a log's notifications held.
QString heldMessagesText(int32_t count, int32_t severity, const QString& fileName)
{
    const char* text = severity >= Severity::Fatal
        ? QT_TRANSLATE_N_NOOP("QtNotifier", "%n more fatal errors in %1")
        : severity >= Severity::Error   ? QT_TRANSLATE_N_NOOP("QtNotifier", "%n more errors in %1")
        : severity >= Severity::Warning ? QT_TRANSLATE_N_NOOP("QtNotifier", "%n more warnings in %1")
                                        : QT_TRANSLATE_N_NOOP("QtNotifier", "%n more messages in %1");
    return QCoreApplication::translate("QtNotifier", text, nullptr, count).arg(fileName);
}

} // namespace

QtNotifier::QtNotifier(AlertSound& sound, const QString& appId)
    : sound(sound)
    , appId(appId)
{ }

QtNotifier::~QtNotifier() = default;

void QtNotifier::setMainWindow(QWidget* window)
{
    mainWindow = window;
    if (!window)
        held.clear();
    if (window && !notifications) {
        notifications = std::make_unique<DesktopNotifications>(QDBusConnection::sessionBus(), appId);
        notifications->setActivationHandler([this](const QString& path, const QByteArray& token) {
            if (activate)
                activate(path.toLocal8Bit().constData(), token);
        });
    }
}

void QtNotifier::setActivationHandler(std::function<void(const char* path, const QByteArray& token)> handler)
{
    activate = std::move(handler);
}

void QtNotifier::askForAttention()
{
    if (!mainWindow)
        return;
    showRestoredWithoutActivating(*mainWindow);
    if (!isActiveApplication())
        QApplication::alert(mainWindow);
}

void QtNotifier::playAlertSound()
{
    sound.play();
}

void QtNotifier::announce(const char* path, int32_t severity, const char* firstLine, int32_t count)
{
    if (!mainWindow || !desktop || !notifications || isActiveApplication())
        return;
    const QString file = QString::fromLocal8Bit(path);
    Held& log = held[file];
    if (log.timer) {
        log.count += count;
        log.severity = std::max(log.severity, severity);
        return;
    }
    show(file, QString::fromLocal8Bit(firstLine), severity);
    log.timer = std::make_unique<QTimer>();
    log.timer->setSingleShot(true);
    QObject::connect(log.timer.get(), &QTimer::timeout, [this, file] { holdEnded(file); });
    log.timer->start(HoldMilliseconds);
    log.count = count - 1;
    log.severity = severity;
}

void QtNotifier::holdEnded(const QString& file)
{
    const auto found = held.find(file);
    if (found == held.end())
        return;
    Held& log = found->second;
    if (log.count <= 0 || !desktop || isActiveApplication()) {
        // The timer is the one calling: it goes once its signal has returned.
        log.timer.release()->deleteLater();
        held.erase(found);
        return;
    }
    show(file, heldMessagesText(log.count, log.severity, QFileInfo(file).fileName()), log.severity);
    log.count = 0;
    log.severity = Severity::None;
    log.timer->start(HoldMilliseconds);
}

void QtNotifier::show(const QString& file, const QString& body, int32_t severity)
{
    const QString summary
        = QCoreApplication::translate("QtNotifier", "Kestrano: %1").arg(QFileInfo(file).fileName());
    const QIcon& icon = severityIcon(severity);
    notifications->show(file, summary, body, icon.isNull() ? QImage() : icon.pixmap(IconSize).toImage(),
        severity >= Severity::Fatal ? DesktopNotifications::Urgency::Critical
                                    : DesktopNotifications::Urgency::Normal);
}

} // namespace kestrano
