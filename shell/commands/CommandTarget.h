// An object on a command's route (log view, document, log window, main window, application). A command
// runs in the first object of the route that handles it; with none it is disabled. Each object's
// commands are the rows of its one table: which command, what it does, and when it is enabled.
#pragma once

#include "shell/commands/Command.h"

#include <functional>
#include <initializer_list>
#include <vector>

namespace kestrano {

struct CommandHandler {
    Command command;
    std::function<void()> run;
    // Whether the object handles the command now; always when empty.
    std::function<bool()> enabled = {};
};

class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    // Whether this object has a handler for the command (and its condition holds).
    bool handlesCommand(Command command) const;
    void runCommand(Command command);

protected:
    // The object's table, given once by its constructor.
    void setCommands(std::vector<CommandHandler> table) { handlers = std::move(table); }

private:
    const CommandHandler* handlerOf(Command command) const;

    std::vector<CommandHandler> handlers;
};

using CommandRoute = std::initializer_list<CommandTarget*>;

// The first object of the route (null entries skipped) that handles the command, or nullptr.
CommandTarget* findHandler(Command command, CommandRoute route);

} // namespace kestrano
