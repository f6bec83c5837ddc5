#include "core/settings/WorkspaceStore.h"

#include "config/ConfigSection.h"
#include "foundation/ContainingList.h"

#include <memory>
#include <string>
#include <utility>

namespace kestrano {
namespace {

const char* const WorkspaceSection = "Workspace";
const char* const PlaceSection = "ChildFrame";
const char* const MainWindowSection = "MainFrame";
const char* const ViewSection = "View";
const char* const MergedSection = "MergedWindows";
const char* const MergedLogsSection = "Logs";

WindowPlace loadPlace(haspel::ConfigSection& section)
{
    const WindowPlace defaults;
    return {section.GetInt("XPos", defaults.x), section.GetInt("YPos", defaults.y),
        section.GetInt("XSize", defaults.width), section.GetInt("YSize", defaults.height)};
}

void storePlaceIn(haspel::ConfigSection& section, const WindowPlace& place)
{
    section.GetParameter("XPos").SetInt(place.x);
    section.GetParameter("YPos").SetInt(place.y);
    section.GetParameter("XSize").SetInt(place.width);
    section.GetParameter("YSize").SetInt(place.height);
}

void storeSwitchesIn(haspel::ConfigSection& entry, const LogSwitches& switches)
{
    entry.GetParameter("Follow").SetBool(switches.follow);
    entry.GetParameter("MinimumSeverity").SetInt(switches.minimumSeverity);
    entry.GetParameter("ReloadOnChange").SetBool(switches.reloadOnChange);
    entry.GetParameter("ShowUnknown").SetBool(switches.showUnknown);
    entry.GetParameter("ShowTime").SetBool(switches.showTime);
    entry.GetParameter("ShowTimeline").SetBool(switches.showTimeline);
    entry.GetParameter("History").SetInt(switches.history);
    entry.GetParameter("HistoryRotated").SetBool(switches.historyRotated);
}

void storeTextFilterIn(haspel::ConfigSection& entry, const TextFilter& filter)
{
    entry.GetParameter("TextFilter").SetString(filter.pattern.c_str());
    entry.GetParameter("TextFilterHides").SetBool(filter.hides);
    entry.GetParameter("TextFilterRegex").SetBool(filter.regex);
    entry.GetParameter("TextFilterCase").SetBool(filter.matchCase);
}

void storeWindowStateIn(haspel::ConfigSection& place, const LogWindowState& state)
{
    place.GetParameter("Maximized").SetBool(state.maximized);
    place.GetParameter("Minimized").SetBool(state.minimized);
    place.GetParameter("Active").SetBool(state.active);
    place.GetParameter("TopRow").SetInt(state.topRow);
}

std::string numbered(const char* what, size_t number)
{
    return what + std::to_string(number);
}

} // namespace

std::vector<std::string> storedLogNames(haspel::ConfigSection& root)
{
    std::unique_ptr<haspel::PointeredList> names(root.GetSection(WorkspaceSection).GetSections().GetKeys());
    std::vector<std::string> result;
    for (haspel::PointeredListItem* item = names->GetHead(); item; item = item->GetNext()) {
        const char* name = static_cast<const char*>(item->GetPointer());
        if (*name)
            result.emplace_back(name);
    }
    return result;
}

haspel::ConfigSection& logEntrySection(haspel::ConfigSection& root, const char* name)
{
    return root.GetSection(WorkspaceSection).GetSection(name);
}

bool hasLogEntry(const haspel::ConfigSection& root, const char* name)
{
    const haspel::ConfigSection* workspace = root.FindSection(WorkspaceSection);
    return workspace && workspace->FindSection(name);
}

void removeLogEntry(haspel::ConfigSection& root, const char* name)
{
    if (haspel::ConfigSection* workspace = root.FindSection(WorkspaceSection))
        workspace->RemoveSection(name);
}

LogEntry loadLogEntry(haspel::ConfigSection& entry)
{
    LogEntry loaded;
    loaded.place = loadPlace(entry.GetSection(PlaceSection));
    LogSwitches& switches = loaded.switches;
    switches.follow = entry.GetBool("Follow", switches.follow);
    switches.minimumSeverity = entry.GetInt("MinimumSeverity", switches.minimumSeverity);
    switches.reloadOnChange = entry.GetBool("ReloadOnChange", switches.reloadOnChange);
    switches.showUnknown = entry.GetBool("ShowUnknown", switches.showUnknown);
    switches.showTime = entry.GetBool("ShowTime", switches.showTime);
    switches.showTimeline = entry.GetBool("ShowTimeline", switches.showTimeline);
    switches.history = entry.GetInt("History", switches.history);
    switches.historyRotated = entry.GetBool("HistoryRotated", switches.historyRotated);
    TextFilter& filter = loaded.textFilter;
    filter.pattern = entry.GetString("TextFilter", filter.pattern.c_str());
    filter.hides = entry.GetBool("TextFilterHides", filter.hides);
    filter.regex = entry.GetBool("TextFilterRegex", filter.regex);
    filter.matchCase = entry.GetBool("TextFilterCase", filter.matchCase);
    haspel::ConfigSection& place = entry.GetSection(PlaceSection);
    LogWindowState& window = loaded.window;
    window.maximized = place.GetBool("Maximized", window.maximized);
    window.minimized = place.GetBool("Minimized", window.minimized);
    window.active = place.GetBool("Active", window.active);
    window.topRow = place.GetInt("TopRow", window.topRow);
    return loaded;
}

LogEntryWriter::LogEntryWriter(haspel::ConfigSection& root, std::string name, bool stored)
    : root(root)
    , name(std::move(name))
    , stored(stored)
{ }

haspel::ConfigSection& LogEntryWriter::section()
{
    return stored ? logEntrySection(root, name.c_str()) : unstored;
}

void LogEntryWriter::storeSwitches(const LogSwitches& switches)
{
    storeSwitchesIn(section(), switches);
}

void LogEntryWriter::storeTextFilter(const TextFilter& filter)
{
    storeTextFilterIn(section(), filter);
}

void LogEntryWriter::storePlace(const WindowPlace& place)
{
    storePlaceIn(section().GetSection(PlaceSection), place);
}

void LogEntryWriter::storeWindowState(const LogWindowState& state)
{
    storeWindowStateIn(section().GetSection(PlaceSection), state);
}

void LogEntryWriter::remove()
{
    removeLogEntry(root, name.c_str());
}

std::vector<MergedWindowEntry> loadMergedWindows(haspel::ConfigSection& root)
{
    std::vector<MergedWindowEntry> windows;
    haspel::ConfigSection* merged = root.FindSection(MergedSection);
    if (!merged)
        return windows;
    for (size_t number = 1;; ++number) {
        haspel::ConfigSection* window = merged->FindSection(numbered("Window", number).c_str());
        if (!window)
            return windows;
        MergedWindowEntry loaded;
        haspel::ConfigSection& logs = window->GetSection(MergedLogsSection);
        for (size_t log = 1; logs.FindParameter(numbered("Log", log).c_str()); ++log)
            loaded.logs.emplace_back(logs.GetString(numbered("Log", log).c_str(), ""));
        std::erase(loaded.logs, std::string());
        loaded.entry = loadLogEntry(*window);
        if (!loaded.logs.empty())
            windows.push_back(std::move(loaded));
    }
}

void storeMergedWindows(haspel::ConfigSection& root, const std::vector<MergedWindowEntry>& windows)
{
    root.RemoveSection(MergedSection);
    if (windows.empty())
        return;
    haspel::ConfigSection& merged = root.GetSection(MergedSection);
    for (size_t number = 1; number <= windows.size(); ++number) {
        const MergedWindowEntry& stored = windows[number - 1];
        haspel::ConfigSection& window = merged.GetSection(numbered("Window", number).c_str());
        haspel::ConfigSection& logs = window.GetSection(MergedLogsSection);
        for (size_t log = 1; log <= stored.logs.size(); ++log)
            logs.GetParameter(numbered("Log", log).c_str()).SetString(stored.logs[log - 1].c_str());
        storeSwitchesIn(window, stored.entry.switches);
        storeTextFilterIn(window, stored.entry.textFilter);
        haspel::ConfigSection& place = window.GetSection(PlaceSection);
        storePlaceIn(place, stored.entry.place);
        storeWindowStateIn(place, stored.entry.window);
    }
}

MainWindowPlace loadMainWindowPlace(haspel::ConfigSection& root)
{
    haspel::ConfigSection& section = root.GetSection(MainWindowSection);
    MainWindowPlace loaded;
    loaded.maximized = section.GetBool("Maximized", loaded.maximized);
    loaded.place = loadPlace(section);
    return loaded;
}

void storeMainWindowPlace(haspel::ConfigSection& root, const MainWindowPlace& mainWindow)
{
    haspel::ConfigSection& section = root.GetSection(MainWindowSection);
    if (!mainWindow.maximized)
        storePlaceIn(section, mainWindow.place);
    section.GetParameter("Maximized").SetBool(mainWindow.maximized);
}

bool hasMainWindowPlace(const haspel::ConfigSection& root)
{
    const haspel::ConfigSection* section = root.FindSection(MainWindowSection);
    return section && section->FindParameter("XSize");
}

LogViewLayout loadLogViewLayout(haspel::ConfigSection& root)
{
    haspel::ConfigSection& section = root.GetSection(ViewSection);
    LogViewLayout loaded;
    loaded.filterRow = section.GetBool("FilterRow", loaded.filterRow);
    loaded.wrapRows = section.GetBool("WrapRows", loaded.wrapRows);
    return loaded;
}

void storeLogViewLayout(haspel::ConfigSection& root, const LogViewLayout& layout)
{
    haspel::ConfigSection& section = root.GetSection(ViewSection);
    section.GetParameter("FilterRow").SetBool(layout.filterRow);
    section.GetParameter("WrapRows").SetBool(layout.wrapRows);
}

} // namespace kestrano
