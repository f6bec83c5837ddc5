#include "platform/qt/WindowRestore.h"

#include "platform/qt/StartupNotification.h"

#include <QByteArray>
#include <QEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace kestrano {

namespace {

constexpr const char* kStateBeforeMinimized = "kestranoStateBeforeMinimized";

// A sub-window of an MDI area forgets that it was maximised when it is minimised, and a window
// manager may report the two states apart, so the state is kept as the window is minimised.
class MinimizeWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowStateChange) {
            auto* window = static_cast<QWidget*>(watched);
            const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
            if (window->isMinimized() && !(before & Qt::WindowMinimized))
                window->setProperty(kStateBeforeMinimized, static_cast<int>(before));
        }
        return false;
    }
};

} // namespace

void rememberStateBeforeMinimized(QWidget& window)
{
    window.installEventFilter(new MinimizeWatcher(&window));
}

void showRestored(QWidget& window)
{
    if (!window.isMinimized())
        return;
    const QVariant remembered = window.property(kStateBeforeMinimized);
    const Qt::WindowStates before
        = remembered.isValid() ? Qt::WindowStates(remembered.toInt()) : window.windowState();
    if (before & Qt::WindowFullScreen)
        window.showFullScreen();
    else if (before & Qt::WindowMaximized)
        window.showMaximized();
    else
        window.showNormal();
}

void showRestoredWithoutActivating(QWidget& window)
{
    if (!window.isMinimized())
        return;
    const bool before = window.testAttribute(Qt::WA_ShowWithoutActivating);
    window.setAttribute(Qt::WA_ShowWithoutActivating);
    showRestored(window);
    window.setAttribute(Qt::WA_ShowWithoutActivating, before);
}

void bringWindowToFront(QWidget& window, const QByteArray& activationToken)
{
    // Qt's Wayland activation takes the token from here once, for the next activation; on X11 the
    // token is a launcher's startup id, whose notification ends now.
    if (!activationToken.isEmpty() && QGuiApplication::platformName() == QLatin1String("wayland"))
        qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    else if (!activationToken.isEmpty())
        endStartupNotification(window, activationToken.toStdString());
    showRestored(window);
    window.raise();
    window.activateWindow();
}

bool raiseForNews(QMdiSubWindow& window)
{
    showRestoredWithoutActivating(window);
    window.raise();
    const QMdiArea* area = window.mdiArea();
    return !area || area->currentSubWindow() != &window;
}

} // namespace kestrano
