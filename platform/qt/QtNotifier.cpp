#include "platform/qt/QtNotifier.h"

#include "platform/qt/AlertSound.h"

namespace kestrano {

void bringWindowToFront(QWidget& window)
{
    if (window.isMinimized())
        window.showNormal();
    window.raise();
    window.activateWindow();
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

} // namespace kestrano
