#include "core/settings/MonitorSettings.h"

#include "core/settings/SettingsTable.h"

namespace kestrano {

MonitorSettings::MonitorSettings()
{
    for (const Setting& row : SettingsTable::rows) {
        if (row.type == SettingType::Keywords)
            ParseKeywords(row.defaultText, GetKeywords(row.keywordList));
        else if (row.flag)
            this->*row.flag = row.defaultNumber != 0;
        else if (row.number)
            this->*row.number = row.defaultNumber;
    }
}

void MonitorSettings::SetUpdateEvery(int32_t milliseconds)
{
    updateEvery = SettingsTable::rows[SettingsTable::UpdateEvery].bounded(milliseconds);
}

void MonitorSettings::SetKeepLines(int32_t lines)
{
    keepLines = SettingsTable::rows[SettingsTable::KeepLines].bounded(lines);
}

void MonitorSettings::SetQuietGap(int32_t seconds)
{
    quietGap = SettingsTable::rows[SettingsTable::QuietGap].bounded(seconds);
}

void MonitorSettings::SetHistoryUpTo(int32_t mebibytes)
{
    historyUpTo = SettingsTable::rows[SettingsTable::HistoryUpTo].bounded(mebibytes);
}

void MonitorSettings::validate()
{
    for (const Setting& row : SettingsTable::rows) {
        if (row.type == SettingType::Number)
            this->*row.number = row.bounded(this->*row.number);
    }
}

} // namespace kestrano
