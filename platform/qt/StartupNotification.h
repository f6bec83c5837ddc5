// The end of a launcher's startup notification on X11 (the busy cursor, the task bar's "starting"
// entry), for a start whose files a running Kestrano took: the running one ends it with the id the
// later start was given (DESKTOP_STARTUP_ID), as the startup notification protocol lays out.
#pragma once

#include <string>

class QWidget;

namespace kestrano {

// The protocol's message "remove: ID=..." for the id, its value quoted.
std::string startupRemoveMessage(const std::string& id);

// Sends the remove message for id on the X server window is shown on; nothing on another platform.
void endStartupNotification(const QWidget& window, const std::string& id);

} // namespace kestrano
