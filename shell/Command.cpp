#include "shell/Command.h"

#include <array>

namespace kestrano {

namespace {

constexpr std::array<CommandInfo, 28> table = {{
    {Command::Open, 57601, "&Open...\tCtrl+O", "Ctrl+O", "Open an existing document.", "Open", "open.svg"},
    {Command::New, 57600, nullptr, nullptr, "Create a new document.", "New", nullptr},
    {Command::DeleteFile, 32771, "&Delete File...\tShift+Del", "Shift+Del",
        "Delete the file, but keep the window open.", "Delete file", "delete.svg"},
    {Command::DeleteAllFiles, 32772, "&Delete All Files...", nullptr,
        "Delete all open files, but keep the windows open.", "Delete all open files", "delete-all.svg"},
    {Command::Options, 32773, "O&ptions...\tF10", "F10", "Set up the application.", "Setup", "options.svg"},
    {Command::Exit, 57665, "E&xit\tAlt+X", "Alt+X", "Quit the application.", "Exit", nullptr},
    {Command::SetToDebugs, 32774, "Set To &Debugs\tD", "D", "Shows debug messages.",
        "Show debug messages or higher", "debug.svg"},
    {Command::SetToInformations, 32777, "Set To &Informations\tI", "I", "Shows information messages.",
        "Show information messages or higher", "information.svg"},
    {Command::SetToWarnings, 32779, "Set To &Warnings\tW", "W", "Shows warning messages.",
        "Show warning messages or higher", "warning.svg"},
    {Command::SetToErrors, 32775, "Set To &Errors\tE", "E", "Shows error messages.",
        "Show error messages or higher", "error.svg"},
    {Command::SetToFatals, 32776, "Set To &Fatals\tF", "F", "Shows fatal messages only.",
        "Show fatal messages only", "fatal.svg"},
    {Command::ToggleUnknowns, 32778, "Toggle &Unknowns\tU", "U", "Shows unknown severity messages.",
        "Show unknown severity messages", "unknowns.svg"},
    {Command::ToggleFollow, 32785, "Toggle &Follow", nullptr, "Let the view follow the end of the log.",
        "View follows end of log", "follow.svg"},
    {Command::ToggleReloadOnChange, 32787, "T&oggle Reload On Change", nullptr,
        "Reload the whole file when it changes.", "Reload on change", "reload.svg"},
    {Command::Clear, 57632, "&Clear\tDel", "Del", "Clear the window, but do not modify the file.",
        "Clear windows", "clear.svg"},
    {Command::ClearAll, 57633, "Clear &All", nullptr, "Clear all windows, but do not modify the files.",
        "Clear all windows", "clear-all.svg"},
    {Command::Refresh, 32786, "&Refresh\tF5", "F5", "Refresh the view.", "Refresh", nullptr},
    {Command::Toolbar, 59392, "&Toolbar", nullptr, "Show or hide the toolbar.", "Toggle tool bar", nullptr},
    {Command::StatusBar, 59393, "&Status Bar", nullptr, "Show or hide the status bar.", "Toggle status bar",
        nullptr},
    {Command::Cascade, 57650, "&Cascade", nullptr, "Arrange windows so they overlap.", "Cascade Windows",
        "cascade.svg"},
    {Command::TileHorizontally, 57651, "Tile &Horizontally", nullptr,
        "Arrange windows as non-overlapping tiles horizontally.", "Tile Windows horizontally",
        "tile-horizontal.svg"},
    {Command::TileVertically, 57652, "&Tile Vertically", nullptr,
        "Arrange windows as non-overlapping tiles vertically.", "Tile Windows vertically",
        "tile-vertical.svg"},
    {Command::ArrangeIcons, 57649, "&Arrange Icons", nullptr, "Arrange icons at the bottom of the window.",
        "Arrange Icons", nullptr},
    {Command::Help, 32780, "&Help...\tF1", "F1", "Open the help of Kestrano.", "Help", nullptr},
    {Command::TermsAndConditions, 32783, "&Terms and Conditions", nullptr, "Open the Terms and Conditions.",
        "Terms and Conditions", nullptr},
    {Command::WebSite, 32784, "&Web Site of Kestrano", nullptr, "Open the web site of Kestrano.", "Web Site",
        nullptr},
    {Command::About, 57664, "&About Kestrano...\tShift-F1", "Shift+F1", "Display program information.",
        "About", "about.svg"},
    {Command::OpenJournal, 32788, "Open &Journal...", nullptr,
        "Follow the systemd journal, or one unit's entries.", "Open the journal", nullptr},
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
        return 0;
    case Command::SetToInformations:
        return 1;
    case Command::SetToWarnings:
        return 2;
    case Command::SetToErrors:
        return 3;
    case Command::SetToFatals:
        return 4;
    default:
        return -1;
    }
}

} // namespace kestrano
