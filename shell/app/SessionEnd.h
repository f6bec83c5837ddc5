// The ends of a session the event loop does not see: the session manager asking the program to save
// (at logout), and the display going away, after which Qt ends the process with exit(). Both save the
// workspace and settings first.
#pragma once

namespace kestrano {

class Kestrano;

// While it lives: answers the session manager's save request and saves when the process exits without
// returning from main. Made after the QApplication, destroyed before the application object's
// ordinary shut-down.
class SessionEnd {
public:
    explicit SessionEnd(Kestrano& app);
    ~SessionEnd();
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;
};

} // namespace kestrano
