// The window around one log view, as the view sees it: its toolbar checks and its place on top.
#pragma once

namespace kestrano {

class LogFrame {
public:
    virtual ~LogFrame() = default;

    // Shows the view's switches and text filter on the toolbars.
    virtual void UpdateToolbarChecks() = 0;
    // Restores the log window if minimised, puts it on top of the other log windows and marks it as
    // having news until it is activated; the active window and the focus stay where they are.
    virtual void showNews() = 0;
};

} // namespace kestrano
