#include "platform/qt/WindowRestore.h"

#include <QEvent>
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

} // namespace kestrano
