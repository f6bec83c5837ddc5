// QActions for commands: menu text, icon, status-bar prompt and tool tip from the command table.
#pragma once

#include "shell/commands/Command.h"

#include <functional>
#include <map>
#include <span>

class QAction;
class QPoint;
class QString;
class QObject;
class QToolBar;
class QWidget;

namespace kestrano {

struct LogSwitches;

// An action without shortcut (for a toolbar of its own).
QAction* createCommandAction(Command command, QObject* parent);
// The same with the command's shortcut, active in the parent's window and its log windows.
QAction* createShortcutAction(Command command, QObject* parent);
// The command's name for assistive technology and tool buttons: its menu text without the access key's
// "&", the shortcut and the "..." (its tool tip when it is in no menu), translated.
QString commandName(Command command);
// Gives the action its command's icon anew, for the palette or icon theme of now.
void refreshCommandIcon(QAction& action, Command command);

// The context menu of a log list's row at the global place: details and copy (enabled when a row is
// selected) and find, each run by run.
void execRowMenu(
    QWidget* owner, const QPoint& place, bool rowSelected, const std::function<void(Command)>& run);

// Adds the action of each command of the layout to a menu or toolbar, and a separator for each Separator.
template <class Bar, class ActionOf>
void addCommands(Bar& bar, std::span<const LayoutEntry> layout, ActionOf&& actionOf)
{
    for (const LayoutEntry& entry : layout) {
        if (entry)
            bar.addAction(actionOf(*entry));
        else
            bar.addSeparator();
    }
}

// A toolbar titled "Tools" (its caption while it floats) that docks on every side, with the layout's
// buttons, each named for assistive technology by commandName.
QToolBar* createToolsBar(
    QWidget* parent, std::span<const LayoutEntry> layout, const std::function<QAction*(Command)>& actionOf);
// A log window's "Tools" bar: checkable buttons where the table says so (one severity filter at a time,
// or none), each running run; the buttons go into buttons by command.
QToolBar* createLogToolBar(QWidget* parent, std::span<const LayoutEntry> layout,
    std::map<Command, QAction*>& buttons, const std::function<void(Command)>& run);
// Checks the buttons of the severity filters, the unknowns and Follow as the switches have them.
void showSwitches(const std::map<Command, QAction*>& buttons, const LogSwitches& switches);

} // namespace kestrano
