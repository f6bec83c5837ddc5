#include "shell/commands/CommandTarget.h"

namespace kestrano {

const CommandHandler* CommandTarget::handlerOf(Command command) const
{
    for (const CommandHandler& handler : handlers) {
        if (handler.command == command)
            return &handler;
    }
    return nullptr;
}

bool CommandTarget::handlesCommand(Command command) const
{
    const CommandHandler* handler = handlerOf(command);
    return handler && (!handler->enabled || handler->enabled());
}

void CommandTarget::runCommand(Command command)
{
    if (const CommandHandler* handler = handlerOf(command))
        handler->run();
}

CommandTarget* findHandler(Command command, CommandRoute route)
{
    for (CommandTarget* target : route) {
        if (target && target->handlesCommand(command))
            return target;
    }
    return nullptr;
}

} // namespace kestrano
