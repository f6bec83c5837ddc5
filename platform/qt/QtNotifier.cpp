#include "platform/qt/QtNotifier.h"

#include "platform/qt/AlertSound.h"
#include "platform/qt/WindowRestore.h"

namespace kestrano {

void bringWindowToFront(QWidget& window)
{
    showRestored(window);
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
