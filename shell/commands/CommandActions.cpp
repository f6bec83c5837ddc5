#include "shell/commands/CommandActions.h"

#include "platform/qt/resources/Resources.h"

#include <QAction>
#include <QCoreApplication>
#include <QToolBar>

namespace kestrano {

QAction* createCommandAction(Command command, QObject* parent)
{
    const CommandInfo& info = commandInfo(command);
    auto* action = new QAction(parent);
    if (info.menuText)
        action->setText(QCoreApplication::translate("kestrano::Command", info.menuText));
    action->setStatusTip(QCoreApplication::translate("kestrano::Command", info.prompt));
    action->setToolTip(QCoreApplication::translate("kestrano::Command", info.toolTip));
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
    QWidget* parent, std::span<const LayoutEntry> layout, const std::function<QAction*(Command)>& actionOf)
{
    auto* bar = new QToolBar(QCoreApplication::translate("kestrano::Command", "Tools"), parent);
    bar->setObjectName(QStringLiteral("Tools"));
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    bar->setIconSize(QSize(16, 16));
    addCommands(*bar, layout, actionOf);
    return bar;
}

} // namespace kestrano
