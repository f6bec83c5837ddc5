#include "core/WorkspaceStore.h"

#include "config/ConfigSection.h"
#include "foundation/ContainingList.h"

#include <memory>

namespace kestrano {
namespace {

const char* const WorkspaceSection = "Workspace";
const char* const PlaceSection = "ChildFrame";
const char* const MainWindowSection = "MainFrame";

WindowRect loadRect(haspel::ConfigSection& section)
{
    const WindowRect defaults;
    return {section.GetInt("XPos", defaults.x), section.GetInt("YPos", defaults.y),
        section.GetInt("XSize", defaults.width), section.GetInt("YSize", defaults.height)};
}

void storeRect(haspel::ConfigSection& section, const WindowRect& rectangle)
{
    section.GetParameter("XPos").SetInt(rectangle.x);
    section.GetParameter("YPos").SetInt(rectangle.y);
    section.GetParameter("XSize").SetInt(rectangle.width);
    section.GetParameter("YSize").SetInt(rectangle.height);
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
    loaded.place = loadRect(entry.GetSection(PlaceSection));
    LogSwitches& switches = loaded.switches;
    switches.follow = entry.GetBool("Follow", switches.follow);
    switches.minimumSeverity = entry.GetInt("MinimumSeverity", switches.minimumSeverity);
    switches.reloadOnChange = entry.GetBool("ReloadOnChange", switches.reloadOnChange);
    switches.showUnknown = entry.GetBool("ShowUnknown", switches.showUnknown);
    TextFilter& filter = loaded.textFilter;
    filter.pattern = entry.GetString("TextFilter", filter.pattern.c_str());
    filter.hides = entry.GetBool("TextFilterHides", filter.hides);
    filter.regex = entry.GetBool("TextFilterRegex", filter.regex);
    filter.matchCase = entry.GetBool("TextFilterCase", filter.matchCase);
    return loaded;
}

void storeLogSwitches(haspel::ConfigSection& entry, const LogSwitches& switches)
{
    entry.GetParameter("Follow").SetBool(switches.follow);
    entry.GetParameter("MinimumSeverity").SetInt(switches.minimumSeverity);
    entry.GetParameter("ReloadOnChange").SetBool(switches.reloadOnChange);
    entry.GetParameter("ShowUnknown").SetBool(switches.showUnknown);
}

void storeTextFilter(haspel::ConfigSection& entry, const TextFilter& filter)
{
    entry.GetParameter("TextFilter").SetString(filter.pattern.c_str());
    entry.GetParameter("TextFilterHides").SetBool(filter.hides);
    entry.GetParameter("TextFilterRegex").SetBool(filter.regex);
    entry.GetParameter("TextFilterCase").SetBool(filter.matchCase);
}

void storeLogPlace(haspel::ConfigSection& entry, const WindowRect& place)
{
    storeRect(entry.GetSection(PlaceSection), place);
}

MainWindowPlacement loadMainWindowPlacement(haspel::ConfigSection& root)
{
    haspel::ConfigSection& section = root.GetSection(MainWindowSection);
    MainWindowPlacement loaded;
    loaded.maximized = section.GetBool("Maximized", loaded.maximized);
    loaded.rectangle = loadRect(section);
    return loaded;
}

void storeMainWindowPlacement(haspel::ConfigSection& root, const MainWindowPlacement& placement)
{
    haspel::ConfigSection& section = root.GetSection(MainWindowSection);
    if (!placement.maximized)
        storeRect(section, placement.rectangle);
    section.GetParameter("Maximized").SetBool(placement.maximized);
}

} // namespace kestrano
