// QActions for commands: menu text, icon, status-bar prompt and tool tip from the command table.
#pragma once

#include "shell/Command.h"

class QAction;
class QObject;

namespace kestrano {

// An action without shortcut (for a toolbar of its own).
QAction* createCommandAction(Command command, QObject* parent);
// The same with the command's shortcut, active in the parent's window and its log windows.
QAction* createShortcutAction(Command command, QObject* parent);

} // namespace kestrano
