#include "core/SettingsStore.h"

#include "config/ConfigSection.h"
#include "core/MonitorSettings.h"
#include "core/Severity.h"

namespace kestrano {

const char* severityKey(int32_t severity)
{
    return Severity::Table[severity].name;
}

void loadMonitorSettings(MonitorSettings& settings, haspel::ConfigSection& root)
{
    haspel::ConfigSection& analyze = root.GetSection("Analyze");
    for (int32_t severity = 0; severity < Severity::ListCount; ++severity) {
        const char* text
            = analyze.GetString(severityKey(severity), MonitorSettings::DefaultKeywordText(severity));
        MonitorSettings::ParseKeywords(text, settings.GetKeywords(severity));
    }
    settings.multiLine = analyze.GetBool("MultiLine", MonitorSettings::DefaultMultiLine);
    settings.updateEvery = analyze.GetInt("UpdateEvery", MonitorSettings::DefaultUpdateEvery);

    haspel::ConfigSection& sizes = root.GetSection("Sizes");
    settings.initiallyReadBytes
        = sizes.GetInt("InitiallyReadBytes", MonitorSettings::DefaultInitiallyReadBytes);
    settings.keepLines = sizes.GetInt("KeepLines", MonitorSettings::DefaultKeepLines);

    haspel::ConfigSection& notifications = root.GetSection("Notifications");
    settings.onTop = notifications.GetInt("OnTop", MonitorSettings::DefaultOnTop);
    settings.playSound = notifications.GetInt("PlaySound", MonitorSettings::DefaultPlaySound);
}

void storeMonitorSettings(const MonitorSettings& settings, haspel::ConfigSection& root)
{
    haspel::ConfigSection& analyze = root.GetSection("Analyze");
    for (int32_t severity = 0; severity < Severity::ListCount; ++severity) {
        const haspel::String text = MonitorSettings::JoinKeywords(settings.GetKeywords(severity));
        analyze.GetParameter(severityKey(severity)).SetString(text.GetText());
    }
    analyze.GetParameter("MultiLine").SetBool(settings.GetMultiLine());
    analyze.GetParameter("UpdateEvery").SetInt(settings.GetUpdateEvery());

    haspel::ConfigSection& sizes = root.GetSection("Sizes");
    sizes.GetParameter("InitiallyReadBytes").SetInt(settings.GetInitiallyReadBytes());
    sizes.GetParameter("KeepLines").SetInt(settings.GetKeepLines());

    haspel::ConfigSection& notifications = root.GetSection("Notifications");
    notifications.GetParameter("OnTop").SetInt(settings.GetOnTop());
    notifications.GetParameter("PlaySound").SetInt(settings.GetPlaySound());
}

} // namespace kestrano
