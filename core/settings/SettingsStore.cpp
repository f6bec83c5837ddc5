#include "core/settings/SettingsStore.h"

#include "config/ConfigSection.h"
#include "core/settings/MonitorSettings.h"
#include "core/settings/SettingsTable.h"
#include "foundation/ContainingList.h"

#include <memory>

namespace kestrano {

const char* severityKey(int32_t severity)
{
    return SettingsTable::rows[severity].key;
}

bool loadFlag(haspel::ConfigSection& root, const Setting& row)
{
    return root.GetSection(row.section).GetBool(row.key, row.defaultNumber != 0);
}

int32_t loadNumber(haspel::ConfigSection& root, const Setting& row)
{
    return root.GetSection(row.section).GetInt(row.key, row.defaultNumber);
}

const char* loadText(haspel::ConfigSection& root, const Setting& row)
{
    return root.GetSection(row.section).GetString(row.key, row.defaultText);
}

void storeFlag(haspel::ConfigSection& root, const Setting& row, bool value)
{
    root.GetSection(row.section).GetParameter(row.key).SetBool(value);
}

void storeNumber(haspel::ConfigSection& root, const Setting& row, int32_t value)
{
    root.GetSection(row.section).GetParameter(row.key).SetInt(value);
}

void storeText(haspel::ConfigSection& root, const Setting& row, const char* text)
{
    root.GetSection(row.section).GetParameter(row.key).SetString(text);
}

void loadMonitorSettings(MonitorSettings& settings, haspel::ConfigSection& root)
{
    for (const Setting& row : SettingsTable::rows) {
        if (row.type == SettingType::Keywords)
            MonitorSettings::ParseKeywords(loadText(root, row), settings.GetKeywords(row.keywordList));
        else if (row.flag)
            settings.*row.flag = loadFlag(root, row);
        else if (row.number)
            settings.*row.number = loadNumber(root, row);
    }
    loadLayouts(settings, root);
}

void loadLayouts(MonitorSettings& settings, const haspel::ConfigSection& root)
{
    CuttingRules::KeywordList& layouts = settings.GetLayouts();
    layouts.Clear();
    const haspel::ConfigSection* section = root.FindSection(LayoutsSection);
    if (!section)
        return;
    const std::unique_ptr<haspel::PointeredList> names(section->GetParameters().GetKeys());
    names->Sort(haspel::CompareTextsIgnoringCase);
    for (const haspel::PointeredListItem* name = names->GetHead(); name; name = name->GetNext()) {
        const haspel::ConfigParameter* parameter
            = section->FindParameter(static_cast<const char*>(name->GetPointer()));
        auto expression = std::make_unique<haspel::String>(parameter->ToString());
        if (expression->IsEmpty())
            continue;
        layouts.Add(expression.get());
        expression.release();
    }
}

void storeMonitorSettings(const MonitorSettings& settings, haspel::ConfigSection& root)
{
    for (const Setting& row : SettingsTable::rows) {
        if (row.type == SettingType::Keywords)
            storeText(
                root, row, MonitorSettings::JoinKeywords(settings.GetKeywords(row.keywordList)).GetText());
        else if (row.flag)
            storeFlag(root, row, settings.*row.flag);
        else if (row.number)
            storeNumber(root, row, settings.*row.number);
    }
}

} // namespace kestrano
