// The program's commands and their table: menu text, shortcut, status-bar prompt, tool tip, icon, and
// where the command shows a check mark.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kestrano {

enum class Command {
    Open,
    DeleteFile,
    DeleteAllFiles,
    Options,
    Exit,
    SetToDebugs,
    SetToInformations,
    SetToWarnings,
    SetToErrors,
    SetToFatals,
    ToggleUnknowns,
    ToggleFollow,
    ToggleReloadOnChange,
    Clear,
    ClearAll,
    Refresh,
    Toolbar,
    StatusBar,
    Cascade,
    TileHorizontally,
    TileVertically,
    ArrangeIcons,
    Help,
    TermsAndConditions,
    WebSite,
    About,
    Find,
    FindNext,
    FindPrevious,
    FilterText,
    MessageDetails,
    CopyMessage,
    OpenJournal,
    OpenRemote,
    SaveMessages,
    FilterRow,
    WrapRows,
    ToggleTime,
    ToggleTimeline,
    GoToTime,
    MergeLogs,
    ToggleHistory,
    ToggleRotatedHistory,
};

// An entry of a menu's or toolbar's layout: a command, or none for a separator.
using LayoutEntry = std::optional<Command>;
inline constexpr LayoutEntry Separator = std::nullopt;

// Where a command shows its on or off state with a check mark.
enum class Checkable {
    No,
    InMenu, // the main window's menu entry (the bars shown or hidden)
    OnLogToolbar, // the log window's toolbar button (filters and switches); their menu entries show none
};

struct CommandInfo {
    Command command;
    // The texts are English; CommandActions shows them translated (context "kestrano::Command").
    const char* menuText; // with "&" mnemonic and "\t" shortcut text; nullptr when in no menu
    const char* shortcut; // QKeySequence text, or nullptr
    const char* prompt; // status-bar prompt
    const char* toolTip;
    const char* icon; // file in ":/icons/", or nullptr
    Checkable checkable = Checkable::No;
};

// Every command, in the order of the enumeration.
std::span<const CommandInfo> commandTable();
const CommandInfo& commandInfo(Command command);

// The minimum severity a Set To command chooses, or Severity::Unknown for any other command.
int32_t severityOfFilterCommand(Command command);

} // namespace kestrano
