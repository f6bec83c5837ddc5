// Ends the event loop as the Exit command does when the process gets SIGTERM, SIGINT or SIGHUP (a
// terminal closed, a session ending), so the settings and the workspace are still saved.
#pragma once

namespace kestrano {

// Installs the handlers; call once, with the QApplication in place.
void quitOnTerminationSignals();
// Once the event loop has ended: such a signal stops the saving of the settings at its next step,
// keeping the file as it was, so the program ends at once.
void interruptSavingOnTerminationSignals();

} // namespace kestrano
