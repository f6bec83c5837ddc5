// Moves the workspace between a configuration tree and plain records: under "Workspace" one entry
// per stored log, named by the log, with its view's switches, its text filter and its window's place
// ("ChildFrame") and how it was left; under "MainFrame" the main window's place; under "View" the log
// windows' layout. The defaults live here only.
#pragma once

#include "config/ConfigSection.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrano {

// A window's left and top edge, width and height, as stored: used as they stand, never checked.
struct WindowPlace {
    int32_t x = 50;
    int32_t y = 50;
    int32_t width = 500;
    int32_t height = 500;
};

// The switches of a log's view; a new view starts with these defaults.
struct LogSwitches {
    bool follow = true;
    int32_t minimumSeverity = 0; // not range-checked when loaded
    bool reloadOnChange = false;
    bool showUnknown = true;
    bool showTime = false; // the list's time column
    bool showTimeline = false; // the timeline strip above the list
    // The whole file's messages before the kept ones: -1 chooses by the log (a plain file up to the
    // Options' size), 0 off, 1 on.
    int32_t history = -1;
    bool historyRotated = false; // the history goes on into the rotated files beside the log
};

// The text filter as the user set it; an empty pattern filters nothing.
struct TextFilter {
    std::string pattern;
    bool hides = false; // hide the matching messages instead of showing only them
    bool regex = false;
    bool matchCase = false;
};

// How a log's window was left when the program ended.
struct LogWindowState {
    bool maximized = false;
    bool minimized = false;
    bool active = false; // the log window commands went to
    int32_t topRow = -1; // the row shown at the top while Follow was off; -1: none
    bool operator==(const LogWindowState&) const = default;
};

// Everything a log's entry holds.
struct LogEntry {
    LogSwitches switches;
    TextFilter textFilter;
    WindowPlace place; // relative to the area that holds the log windows
    LogWindowState window;
};

// A window merging several logs: their names in the order merged, and its switches, text filter and
// place as a log's entry holds them.
struct MergedWindowEntry {
    std::vector<std::string> logs;
    LogEntry entry;
};

// The layout of every log window, chosen in the View menu.
struct LogViewLayout {
    bool filterRow = true; // the text filter's row is shown
    bool wrapRows = false; // long rows wrap instead of scrolling sideways
};

struct MainWindowPlace {
    WindowPlace place; // the normal (not maximized) one
    bool maximized = false;
};

// The names of the stored logs in the order of the workspace's table (neither opening order nor
// sorted); an entry with the empty name is left out.
std::vector<std::string> storedLogNames(haspel::ConfigSection& root);
// The entry of a log, created when missing.
haspel::ConfigSection& logEntrySection(haspel::ConfigSection& root, const char* name);
bool hasLogEntry(const haspel::ConfigSection& root, const char* name);
// Removes the entry with everything in it.
void removeLogEntry(haspel::ConfigSection& root, const char* name);

// Reads the whole entry. A missing key is created holding its default, so the entry then holds every
// key; stored values are taken as they stand. Throws haspel::EOutOfMemory.
LogEntry loadLogEntry(haspel::ConfigSection& entry);

// The one writer of an open log's entry: its view stores its switches and text filter through it, its
// window its place, each part when it changes. A log that is not stored (standard input) writes into a
// section of its own that nobody saves.
class LogEntryWriter {
public:
    LogEntryWriter(haspel::ConfigSection& root, std::string name, bool stored);
    LogEntryWriter(const LogEntryWriter&) = delete;
    LogEntryWriter& operator=(const LogEntryWriter&) = delete;

    void storeSwitches(const LogSwitches& switches);
    void storeTextFilter(const TextFilter& filter);
    void storePlace(const WindowPlace& place);
    void storeWindowState(const LogWindowState& state);
    // The log leaves the workspace: its entry goes with everything in it.
    void remove();

private:
    // Found anew each time: the entry may have been removed and is then made again.
    haspel::ConfigSection& section();

    haspel::ConfigSection& root;
    const std::string name;
    const bool stored;
    haspel::ConfigSection unstored {"Workspace"};
};

// The merged windows in the order stored; one without logs is left out.
std::vector<MergedWindowEntry> loadMergedWindows(haspel::ConfigSection& root);
// Stores these merged windows in place of those stored before.
void storeMergedWindows(haspel::ConfigSection& root, const std::vector<MergedWindowEntry>& windows);

// Whether a place of the main window was stored (else it is the first start).
bool hasMainWindowPlace(const haspel::ConfigSection& root);
// As loadLogEntry, for section "MainFrame".
MainWindowPlace loadMainWindowPlace(haspel::ConfigSection& root);
// A maximized window stores only that it is: the last normal place stays as it was stored.
void storeMainWindowPlace(haspel::ConfigSection& root, const MainWindowPlace& mainWindow);

// As loadLogEntry, for the layout in section "View".
LogViewLayout loadLogViewLayout(haspel::ConfigSection& root);
void storeLogViewLayout(haspel::ConfigSection& root, const LogViewLayout& layout);

} // namespace kestrano
