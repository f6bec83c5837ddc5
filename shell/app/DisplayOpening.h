// Opening the display: Qt aborts when no platform can open one; under DisplayOpening the program says
// "kestrano: cannot open the display (REASON)" instead and ends with status 1.
#pragma once

#include <functional>

namespace kestrano {

// While it lives (around the QApplication's construction): Qt's warnings about the display are kept
// as the reason, and Qt's fatal error prints the message, runs cleanUp and ends the process with 1.
class DisplayOpening {
public:
    explicit DisplayOpening(std::function<void()> cleanUp);
    ~DisplayOpening();
    DisplayOpening(const DisplayOpening&) = delete;
    DisplayOpening& operator=(const DisplayOpening&) = delete;
};

// The reason no display can be opened that is plain without trying: "DISPLAY and WAYLAND_DISPLAY are
// unset" when neither is set and no platform was chosen (QT_QPA_PLATFORM, -platform); else nullptr.
const char* missingDisplayReason(int argc, char** argv);

// "kestrano: cannot open the display (REASON)" on standard error.
void reportNoDisplay(const char* reason);

} // namespace kestrano
