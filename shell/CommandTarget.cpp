#include "shell/CommandTarget.h"

namespace kestrano {

CommandTarget* findHandler(Command command, CommandRoute route)
{
    for (CommandTarget* target : route) {
        if (target && target->handlesCommand(command))
            return target;
    }
    return nullptr;
}

} // namespace kestrano
