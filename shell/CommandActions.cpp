#include "shell/CommandActions.h"

#include "shell/resources/Resources.h"

#include <QAction>
#include <QToolBar>

namespace kestrano {

QAction* createCommandAction(Command command, QObject* parent)
{
    const CommandInfo& info = commandInfo(command);
    auto* action = new QAction(parent);
    if (info.menuText)
        action->setText(QString::fromLatin1(info.menuText));
    action->setStatusTip(QString::fromLatin1(info.prompt));
    action->setToolTip(QString::fromLatin1(info.toolTip));
    refreshCommandIcon(*action, command);
    action->setIconVisibleInMenu(false);
    return action;
}

void refreshCommandIcon(QAction& action, Command command)
{
    if (const char* icon = commandInfo(command).icon)
        action.setIcon(commandIcon(icon));
}

QAction* createShortcutAction(Command command, QObject* parent)
{
    QAction* action = createCommandAction(command, parent);
    if (const char* shortcut = commandInfo(command).shortcut) {
        action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
    }
    return action;
}

QToolBar* createToolsBar(
    QWidget* parent, std::span<const Command> layout, const std::function<QAction*(Command)>& actionOf)
{
    auto* bar = new QToolBar(QStringLiteral("Tools"), parent);
    bar->setObjectName(QStringLiteral("Tools"));
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    bar->setIconSize(QSize(16, 16));
    addCommands(*bar, layout, actionOf);
    return bar;
}

} // namespace kestrano
