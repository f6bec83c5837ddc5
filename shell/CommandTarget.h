// An object on a command's route (log view, document, log window, main window, application). A command
// runs in the first object of the route that handles it; with none it is disabled.
#pragma once

#include "shell/Command.h"

#include <initializer_list>

namespace kestrano {

class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    // Whether this object has a handler for the command.
    virtual bool handlesCommand(Command command) const = 0;
    virtual void runCommand(Command command) = 0;
};

using CommandRoute = std::initializer_list<CommandTarget*>;

// The first object of the route (null entries skipped) that handles the command, or nullptr.
CommandTarget* findHandler(Command command, CommandRoute route);

} // namespace kestrano
