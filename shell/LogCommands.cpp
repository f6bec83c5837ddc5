#include "shell/LogCommands.h"

#include "core/ChildView.h"
#include "core/Document.h"

namespace kestrano {

bool ViewCommands::handlesCommand(Command command) const
{
    switch (command) {
    case Command::SetToDebugs:
    case Command::SetToInformations:
    case Command::SetToWarnings:
    case Command::SetToErrors:
    case Command::SetToFatals:
    case Command::ToggleUnknowns:
    case Command::ToggleFollow:
    case Command::ToggleReloadOnChange:
    case Command::Clear:
    case Command::Refresh:
        return true;
    default:
        return false;
    }
}

void ViewCommands::runCommand(Command command)
{
    switch (command) {
    case Command::ToggleUnknowns:
        view.toggleShowUnknown();
        break;
    case Command::ToggleFollow:
        view.toggleFollow();
        break;
    case Command::ToggleReloadOnChange:
        view.toggleReloadOnChange();
        break;
    case Command::Clear:
        view.clearMessages();
        break;
    case Command::Refresh:
        view.refreshLog();
        break;
    default:
        if (int32_t severity = severityOfFilterCommand(command); severity >= 0)
            view.setMinimumSeverity(severity);
        break;
    }
}

bool DocumentCommands::handlesCommand(Command command) const
{
    return command == Command::DeleteFile && document.isDeletable();
}

void DocumentCommands::runCommand(Command command)
{
    if (command == Command::DeleteFile)
        document.confirmDeleteLogFile();
}

} // namespace kestrano
