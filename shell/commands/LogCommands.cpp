#include "shell/commands/LogCommands.h"

#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "core/view/MergedView.h"

namespace kestrano {
namespace {

// The filter and switch commands both kinds of view have.
template <class View> std::vector<CommandHandler> switchCommands(View& view)
{
    std::vector<CommandHandler> table;
    for (Command filter : {Command::SetToDebugs, Command::SetToInformations, Command::SetToWarnings,
             Command::SetToErrors, Command::SetToFatals})
        table.push_back({filter,
            [&view, severity = severityOfFilterCommand(filter)] { view.setMinimumSeverity(severity); }});
    table.push_back({Command::ToggleUnknowns, [&view] { view.toggleShowUnknown(); }});
    table.push_back({Command::ToggleFollow, [&view] { view.toggleFollow(); }});
    table.push_back({Command::ToggleTime, [&view] { view.toggleShowTime(); }});
    table.push_back({Command::ToggleTimeline, [&view] { view.toggleShowTimeline(); }});
    return table;
}

} // namespace

ViewCommands::ViewCommands(ChildView& view)
{
    std::vector<CommandHandler> table = switchCommands(view);
    table.push_back({Command::ToggleHistory, [&view] { view.toggleHistory(); },
        [&view] { return view.offersHistory(); }});
    table.push_back({Command::ToggleRotatedHistory, [&view] { view.toggleRotatedHistory(); },
        [&view] { return view.showsHistory(); }});
    table.push_back({Command::ToggleReloadOnChange, [&view] { view.toggleReloadOnChange(); }});
    table.push_back({Command::Clear, [&view] { view.clearMessages(); }});
    table.push_back({Command::Refresh, [&view] { view.refreshLog(); }});
    setCommands(std::move(table));
}

MergedViewCommands::MergedViewCommands(MergedView& view)
{
    setCommands(switchCommands(view));
}

DocumentCommands::DocumentCommands(Document& document)
{
    setCommands({{Command::DeleteFile, [&document] { document.confirmDeleteLogFile(); },
        [&document] { return document.isDeletable(); }}});
}

} // namespace kestrano
