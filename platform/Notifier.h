// The program-wide ways of drawing the user's attention when an important message arrives.
#pragma once

namespace kestrano {

class Notifier {
public:
    virtual ~Notifier() = default;

    // Restores the main window if minimised, raises it and activates it.
    virtual void bringMainWindowToFront() = 0;
    // Starts the alert sound without waiting for it; skipped while the previous one still plays.
    virtual void playAlertSound() = 0;
};

} // namespace kestrano
