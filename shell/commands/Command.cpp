#include "shell/commands/Command.h"

#include "core/text/Severity.h"

#include <QtGlobal>

#include <array>

namespace kestrano {

namespace {

constexpr std::array<CommandInfo, 43> table = {{
    {Command::Open, QT_TRANSLATE_NOOP("kestrano::Command", "&Open...\tCtrl+O"), "Ctrl+O",
        QT_TRANSLATE_NOOP("kestrano::Command", "Open an existing document."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Open"), "open.svg"},
    {Command::DeleteFile, QT_TRANSLATE_NOOP("kestrano::Command", "&Delete File...\tShift+Del"), "Shift+Del",
        QT_TRANSLATE_NOOP("kestrano::Command", "Delete the file, but keep the window open."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Delete file"), "delete.svg"},
    {Command::DeleteAllFiles, QT_TRANSLATE_NOOP("kestrano::Command", "Delete &All Files..."), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Delete all open files, but keep the windows open."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Delete all open files"), "delete-all.svg"},
    {Command::Options, QT_TRANSLATE_NOOP("kestrano::Command", "O&ptions...\tF10"), "F10",
        QT_TRANSLATE_NOOP("kestrano::Command", "Set up the application."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Setup"), "options.svg"},
    {Command::Exit, QT_TRANSLATE_NOOP("kestrano::Command", "E&xit\tAlt+X"), "Alt+X",
        QT_TRANSLATE_NOOP("kestrano::Command", "Quit the application."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Exit"), nullptr},
    {Command::SetToDebugs, QT_TRANSLATE_NOOP("kestrano::Command", "Set To &Debugs\tD"), "D",
        QT_TRANSLATE_NOOP("kestrano::Command", "Shows debug messages."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Show debug messages or higher"),
        Severity::Table[Severity::DebugInformation].icon, Checkable::OnLogToolbar},
    {Command::SetToInformations, QT_TRANSLATE_NOOP("kestrano::Command", "Set To &Informations\tI"), "I",
        QT_TRANSLATE_NOOP("kestrano::Command", "Shows information messages."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Show information messages or higher"),
        Severity::Table[Severity::Information].icon, Checkable::OnLogToolbar},
    {Command::SetToWarnings, QT_TRANSLATE_NOOP("kestrano::Command", "Set To &Warnings\tW"), "W",
        QT_TRANSLATE_NOOP("kestrano::Command", "Shows warning messages."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Show warning messages or higher"),
        Severity::Table[Severity::Warning].icon, Checkable::OnLogToolbar},
    {Command::SetToErrors, QT_TRANSLATE_NOOP("kestrano::Command", "Set To &Errors\tE"), "E",
        QT_TRANSLATE_NOOP("kestrano::Command", "Shows error messages."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Show error messages or higher"),
        Severity::Table[Severity::Error].icon, Checkable::OnLogToolbar},
    {Command::SetToFatals, QT_TRANSLATE_NOOP("kestrano::Command", "Set To &Fatals\tF"), "F",
        QT_TRANSLATE_NOOP("kestrano::Command", "Shows fatal messages only."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Show fatal messages only"),
        Severity::Table[Severity::Fatal].icon, Checkable::OnLogToolbar},
    {Command::ToggleUnknowns, QT_TRANSLATE_NOOP("kestrano::Command", "Toggle &Unknowns\tU"), "U",
        QT_TRANSLATE_NOOP("kestrano::Command", "Shows unknown severity messages."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Show unknown severity messages"), "unknowns.svg",
        Checkable::OnLogToolbar},
    {Command::ToggleFollow, QT_TRANSLATE_NOOP("kestrano::Command", "Toggle &Follow\tL"), "L",
        QT_TRANSLATE_NOOP("kestrano::Command", "Let the view follow the end of the log."),
        QT_TRANSLATE_NOOP("kestrano::Command", "View follows end of log"), "follow.svg",
        Checkable::OnLogToolbar},
    {Command::ToggleReloadOnChange, QT_TRANSLATE_NOOP("kestrano::Command", "T&oggle Reload On Change"),
        nullptr, QT_TRANSLATE_NOOP("kestrano::Command", "Reload the whole file when it changes."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Reload on change"), "reload.svg", Checkable::OnLogToolbar},
    {Command::Clear, QT_TRANSLATE_NOOP("kestrano::Command", "&Clear\tDel"), "Del",
        QT_TRANSLATE_NOOP("kestrano::Command", "Clear the window, but do not modify the file."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Clear windows"), "clear.svg"},
    {Command::ClearAll, QT_TRANSLATE_NOOP("kestrano::Command", "Clear &All"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Clear all windows, but do not modify the files."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Clear all windows"), "clear-all.svg"},
    {Command::Refresh, QT_TRANSLATE_NOOP("kestrano::Command", "&Refresh\tF5"), "F5",
        QT_TRANSLATE_NOOP("kestrano::Command", "Refresh the view."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Refresh"), nullptr},
    {Command::Toolbar, QT_TRANSLATE_NOOP("kestrano::Command", "&Toolbar"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Show or hide the toolbar."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Toggle tool bar"), nullptr, Checkable::InMenu},
    {Command::StatusBar, QT_TRANSLATE_NOOP("kestrano::Command", "&Status Bar"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Show or hide the status bar."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Toggle status bar"), nullptr, Checkable::InMenu},
    {Command::Cascade, QT_TRANSLATE_NOOP("kestrano::Command", "&Cascade"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Arrange windows so they overlap."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Cascade Windows"), "cascade.svg"},
    {Command::TileHorizontally, QT_TRANSLATE_NOOP("kestrano::Command", "Tile &Horizontally"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Arrange windows as non-overlapping tiles horizontally."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Tile Windows horizontally"), "tile-horizontal.svg"},
    {Command::TileVertically, QT_TRANSLATE_NOOP("kestrano::Command", "&Tile Vertically"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Arrange windows as non-overlapping tiles vertically."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Tile Windows vertically"), "tile-vertical.svg"},
    {Command::ArrangeIcons, QT_TRANSLATE_NOOP("kestrano::Command", "&Arrange Icons"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Arrange icons at the bottom of the window."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Arrange Icons"), nullptr},
    {Command::Help, QT_TRANSLATE_NOOP("kestrano::Command", "&Help...\tF1"), "F1",
        QT_TRANSLATE_NOOP("kestrano::Command", "Open the help of Kestrano."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Help"), nullptr},
    {Command::TermsAndConditions, QT_TRANSLATE_NOOP("kestrano::Command", "&Terms and Conditions"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Open the Terms and Conditions."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Terms and Conditions"), nullptr},
    {Command::WebSite, QT_TRANSLATE_NOOP("kestrano::Command", "&Web Site of Kestrano"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Open the web site of Kestrano."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Web Site"), nullptr},
    {Command::About, QT_TRANSLATE_NOOP("kestrano::Command", "&About Kestrano...\tShift+F1"), "Shift+F1",
        QT_TRANSLATE_NOOP("kestrano::Command", "Display program information."),
        QT_TRANSLATE_NOOP("kestrano::Command", "About"), "about.svg"},
    {Command::Find, QT_TRANSLATE_NOOP("kestrano::Command", "&Find...\tCtrl+F"), "Ctrl+F",
        QT_TRANSLATE_NOOP("kestrano::Command", "Find text in the log window."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Find"), nullptr},
    {Command::FindNext, QT_TRANSLATE_NOOP("kestrano::Command", "Find &Next\tF3"), "F3",
        QT_TRANSLATE_NOOP("kestrano::Command", "Go to the next row with the text."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Find next"), nullptr},
    {Command::FindPrevious, QT_TRANSLATE_NOOP("kestrano::Command", "Find &Previous\tShift+F3"), "Shift+F3",
        QT_TRANSLATE_NOOP("kestrano::Command", "Go to the previous row with the text."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Find previous"), nullptr},
    {Command::FilterText, QT_TRANSLATE_NOOP("kestrano::Command", "&Text Filter\tCtrl+Shift+F"),
        "Ctrl+Shift+F",
        QT_TRANSLATE_NOOP("kestrano::Command", "Show only the messages with a text, or hide them."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Text filter"), nullptr},
    {Command::MessageDetails, QT_TRANSLATE_NOOP("kestrano::Command", "&Details...\tEnter"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Show the selected message in full."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Details"), nullptr},
    {Command::CopyMessage, QT_TRANSLATE_NOOP("kestrano::Command", "&Copy\tCtrl+C"), "Ctrl+C",
        QT_TRANSLATE_NOOP("kestrano::Command", "Copy the selected message to the clipboard."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Copy"), nullptr},
    {Command::OpenJournal, QT_TRANSLATE_NOOP("kestrano::Command", "Open &Journal..."), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Follow the systemd journal, or one unit's entries."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Open the journal"), nullptr},
    {Command::OpenRemote, QT_TRANSLATE_NOOP("kestrano::Command", "Open &Remote Log..."), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Follow a file or the journal of another host through ssh."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Open a remote log"), nullptr},
    {Command::SaveMessages, QT_TRANSLATE_NOOP("kestrano::Command", "&Save Messages As..."), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Save the messages the window shows to a file."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Save messages"), nullptr},
    {Command::FilterRow, QT_TRANSLATE_NOOP("kestrano::Command", "Te&xt Filter Row"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Show or hide the text filter in the log windows."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Toggle text filter row"), nullptr, Checkable::InMenu},
    {Command::WrapRows, QT_TRANSLATE_NOOP("kestrano::Command", "&Wrap Long Rows"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Wrap long rows instead of scrolling them sideways."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Wrap long rows"), nullptr, Checkable::InMenu},
    {Command::ToggleTime, QT_TRANSLATE_NOOP("kestrano::Command", "T&ime Column"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Show the time each message states before its text."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Time column"), nullptr, Checkable::InMenu},
    {Command::ToggleTimeline, QT_TRANSLATE_NOOP("kestrano::Command", "Time&line"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Show the messages over time in a strip above the list."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Timeline"), nullptr, Checkable::InMenu},
    {Command::GoToTime, QT_TRANSLATE_NOOP("kestrano::Command", "&Go to Time...\tCtrl+G"), "Ctrl+G",
        QT_TRANSLATE_NOOP("kestrano::Command", "Go to the first message at or after a time."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Go to time"), nullptr},
    {Command::MergeLogs, QT_TRANSLATE_NOOP("kestrano::Command", "&Merge Logs..."), nullptr,
        QT_TRANSLATE_NOOP(
            "kestrano::Command", "Show the messages of several open logs in one window in time order."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Merge Logs"), nullptr},
    {Command::ToggleHistory, QT_TRANSLATE_NOOP("kestrano::Command", "&History"), nullptr,
        QT_TRANSLATE_NOOP("kestrano::Command", "Show the whole file's messages before the kept ones."),
        QT_TRANSLATE_NOOP("kestrano::Command", "History"), nullptr, Checkable::InMenu},
    {Command::ToggleRotatedHistory, QT_TRANSLATE_NOOP("kestrano::Command", "Inclu&de Rotated Files"), nullptr,
        QT_TRANSLATE_NOOP(
            "kestrano::Command", "Let the history go on into the rotated files beside the log."),
        QT_TRANSLATE_NOOP("kestrano::Command", "Include rotated files"), nullptr, Checkable::InMenu},
}};

constexpr bool tableInEnumerationOrder()
{
    for (size_t i = 0; i < table.size(); ++i) {
        if (static_cast<size_t>(table[i].command) != i)
            return false;
    }
    return true;
}
static_assert(tableInEnumerationOrder());

} // namespace

std::span<const CommandInfo> commandTable()
{
    return table;
}

const CommandInfo& commandInfo(Command command)
{
    return table[static_cast<size_t>(command)];
}

int32_t severityOfFilterCommand(Command command)
{
    switch (command) {
    case Command::SetToDebugs:
        return Severity::DebugInformation;
    case Command::SetToInformations:
        return Severity::Information;
    case Command::SetToWarnings:
        return Severity::Warning;
    case Command::SetToErrors:
        return Severity::Error;
    case Command::SetToFatals:
        return Severity::Fatal;
    default:
        return Severity::Unknown;
    }
}

} // namespace kestrano
