#include "shell/CommandActions.h"

#include "shell/resources/Resources.h"

#include <QAction>

namespace kestrano {

QAction* createCommandAction(Command command, QObject* parent)
{
    const CommandInfo& info = commandInfo(command);
    auto* action = new QAction(parent);
    if (info.menuText)
        action->setText(QString::fromLatin1(info.menuText));
    action->setStatusTip(QString::fromLatin1(info.prompt));
    action->setToolTip(QString::fromLatin1(info.toolTip));
    if (info.icon)
        action->setIcon(resourceIcon(info.icon));
    action->setIconVisibleInMenu(false);
    return action;
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

} // namespace kestrano
