// Notifier for the desktop: raises the main window and plays the alert sound.
#pragma once

#include "platform/Notifier.h"

#include <QPointer>
#include <QWidget>

namespace kestrano {

class AlertSound;

class QtNotifier : public Notifier {
public:
    explicit QtNotifier(AlertSound& sound)
        : sound(sound)
    { }

    void setMainWindow(QWidget* window) { mainWindow = window; }
    void bringMainWindowToFront() override;
    void playAlertSound() override;

private:
    AlertSound& sound;
    QPointer<QWidget> mainWindow;
};

// Restores a minimised window to the state it had before, raises it and makes it active.
void bringWindowToFront(QWidget& window);

} // namespace kestrano
