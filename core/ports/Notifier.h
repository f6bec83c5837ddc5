// The program-wide ways of drawing the user's attention when an important message arrives. None of
// them takes the keyboard from what the user is typing into.
#pragma once

#include <cstdint>

namespace kestrano {

class Notifier {
public:
    virtual ~Notifier() = default;

    // Asks for the user's attention without activating anything: a minimised main window is restored,
    // and while another program is active the window asks the desktop for attention (urgency hint).
    virtual void askForAttention() = 0;
    // Starts the alert sound without waiting for it; skipped while the previous one still plays.
    virtual void playAlertSound() = 0;
    // Reaches a user who works in another program: the log at path got count messages at or above the
    // notification threshold in one poll, the first of the highest severity with this first line.
    virtual void announce(const char* path, int32_t severity, const char* firstLine, int32_t count) = 0;
};

} // namespace kestrano
