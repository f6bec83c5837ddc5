// The program-wide ways of drawing the user's attention when an important message arrives.
#pragma once

#include <cstdint>

namespace kestrano {

class Notifier {
public:
    virtual ~Notifier() = default;

    // Restores the main window if minimised, raises it and activates it.
    virtual void bringMainWindowToFront() = 0;
    // Starts the alert sound without waiting for it; skipped while the previous one still plays.
    virtual void playAlertSound() = 0;
    // Reaches a user who is not looking at the program: the log at path has a message of this
    // severity, whose first line is given. Called before the windows are brought to the front.
    virtual void announce(const char* path, int32_t severity, const char* firstLine) = 0;
};

} // namespace kestrano
