// The window around one log view, as the view sees it: its toolbar checks and its place in front.
#pragma once

namespace kestrano {

class LogFrame {
public:
    virtual ~LogFrame() = default;

    // Shows the view's switches and text filter on the toolbars.
    virtual void UpdateToolbarChecks() = 0;
    // Restores the log window if minimised and makes it the active one.
    virtual void bringToFront() = 0;
};

} // namespace kestrano
