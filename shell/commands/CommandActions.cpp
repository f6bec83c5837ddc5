#include "shell/commands/CommandActions.h"

#include "core/settings/WorkspaceStore.h"
#include "core/text/Severity.h"
#include "platform/qt/resources/Resources.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QToolBar>

#include <utility>
#include <vector>

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

QString commandName(Command command)
{
    const CommandInfo& info = commandInfo(command);
    if (!info.menuText)
        return QCoreApplication::translate("kestrano::Command", info.toolTip);
    QString name = QCoreApplication::translate("kestrano::Command", info.menuText);
    name = name.left(name.indexOf(QLatin1Char('\t')));
    // "&&" is a written "&"; any other "&" marks the access key.
    name.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
    name.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    if (name.endsWith(QStringLiteral("...")))
        name.chop(3);
    return name;
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
    std::vector<std::pair<QAction*, Command>> made;
    addCommands(*bar, layout, [&](Command command) {
        QAction* action = actionOf(command);
        made.emplace_back(action, command);
        return action;
    });
    for (const auto& [action, command] : made) {
        if (QWidget* button = bar->widgetForAction(action))
            button->setAccessibleName(commandName(command));
    }
    return bar;
}

QToolBar* createLogToolBar(QWidget* parent, std::span<const LayoutEntry> layout,
    std::map<Command, QAction*>& buttons, const std::function<void(Command)>& run)
{
    auto* severities = new QActionGroup(parent);
    // One of five, or none while a stored minimum lies outside the named severities.
    severities->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    return createToolsBar(parent, layout, [&](Command command) {
        QAction* action = createCommandAction(command, parent);
        action->setCheckable(commandInfo(command).checkable == Checkable::OnLogToolbar);
        if (Severity::isNamed(severityOfFilterCommand(command)))
            severities->addAction(action);
        QObject::connect(action, &QAction::triggered, parent, [run, command] { run(command); });
        buttons[command] = action;
        return action;
    });
}

void showSwitches(const std::map<Command, QAction*>& buttons, const LogSwitches& switches)
{
    for (const auto& [command, action] : buttons) {
        if (int32_t severity = severityOfFilterCommand(command); Severity::isNamed(severity))
            action->setChecked(severity == switches.minimumSeverity);
        else if (command == Command::ToggleUnknowns)
            action->setChecked(switches.showUnknown);
        else if (command == Command::ToggleFollow)
            action->setChecked(switches.follow);
    }
}

void execRowMenu(
    QWidget* owner, const QPoint& place, bool rowSelected, const std::function<void(Command)>& run)
{
    QMenu menu(owner);
    for (Command command : {Command::MessageDetails, Command::CopyMessage, Command::Find}) {
        QAction* action = createCommandAction(command, &menu);
        action->setEnabled(command == Command::Find || rowSelected);
        QObject::connect(action, &QAction::triggered, owner, [&run, command] { run(command); });
        menu.addAction(action);
    }
    menu.exec(place);
}

} // namespace kestrano
