#include "core/settings/RecentRemoteLogs.h"

#include <algorithm>

namespace kestrano {
namespace {

constexpr const char* SectionName = "RemoteLogs";

std::string keyOf(int index)
{
    return "Recent" + std::to_string(index + 1);
}

} // namespace

std::vector<std::string> loadRecentRemoteLogs(haspel::ConfigSection& root)
{
    std::vector<std::string> names;
    const haspel::ConfigSection* section = root.FindSection(SectionName);
    for (int i = 0; section && i < MostRecentRemoteLogs; ++i) {
        const haspel::ConfigParameter* parameter = section->FindParameter(keyOf(i).c_str());
        const char* name = parameter ? parameter->ToString() : nullptr;
        if (name && *name && std::find(names.begin(), names.end(), name) == names.end())
            names.emplace_back(name);
    }
    return names;
}

void noteRecentRemoteLog(haspel::ConfigSection& root, const std::string& name)
{
    std::vector<std::string> names = loadRecentRemoteLogs(root);
    names.erase(std::remove(names.begin(), names.end(), name), names.end());
    names.insert(names.begin(), name);
    if (names.size() > static_cast<size_t>(MostRecentRemoteLogs))
        names.resize(MostRecentRemoteLogs);
    haspel::ConfigSection& section = root.GetSection(SectionName);
    section.ClearParameters();
    for (size_t i = 0; i < names.size(); ++i)
        section.GetParameter(keyOf(static_cast<int>(i)).c_str()).SetString(names[i].c_str());
}

} // namespace kestrano
