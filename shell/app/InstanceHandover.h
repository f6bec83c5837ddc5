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
// this process's working folder) and this process is to end; false when this one runs, as the primary
// or on its own (always when it reads standard input).
bool handOverToRunningInstance(SessionInstance& instance, const std::vector<std::string>& files);

// Serves later instances: their files open as by the Open command and the main window comes to the
// front.
std::unique_ptr<InstanceServer> serveLaterInstances(SessionInstance& instance, Kestrano& app);

} // namespace kestrano
