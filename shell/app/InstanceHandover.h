// main's hooks for one Kestrano per user session: a later start hands its files to the running one
// before anything loads the configuration; the running one opens what it is handed.
#pragma once

#include "platform/SessionInstance.h"
#include "shell/app/InstanceServer.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrano {

class Kestrano;

// The session's instance for this program's configuration file.
std::unique_ptr<SessionInstance> sessionInstance();

// True when the running instance took the files (their log names: a file's path made absolute against
// this process's working folder; standard input, unless a terminal, as its descriptor) and this process
// is to end; false when this one runs, as the primary or on its own. The launcher's activation token
// goes along.
bool handOverToRunningInstance(SessionInstance& instance, const std::vector<std::string>& files);

// The token a launcher gave this process to activate its window with: XDG_ACTIVATION_TOKEN (Wayland),
// else DESKTOP_STARTUP_ID (X11); empty without one.
std::string launcherActivationToken();

// Serves later instances: their files open as by the Open command (a handed stream as a log of its
// own) and the main window comes to the front with their activation token.
std::unique_ptr<InstanceServer> serveLaterInstances(SessionInstance& instance, Kestrano& app);

} // namespace kestrano
