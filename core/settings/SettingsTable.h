// The one list of Kestrano's settings. A row gives a setting's section and key in the configuration,
// its default, its bounds and where its value is held. The settings store, MonitorSettings (its
// defaults, setters and validate), the Options dialog, kestrano-tail and the tests read it.
#pragma once

#include "core/settings/MonitorSettings.h"
#include "core/text/Severity.h"

#include <climits>
#include <cstdint>

namespace kestrano {

enum class SettingType {
    Keywords, // a keyword list, stored as its text
    Flag,
    Number,
    Threshold, // a number that is a severity, Unknown (any message) to Never
    Text,
};

struct Setting {
    int32_t id; // its row in SettingsTable::rows
    const char* section;
    const char* key;
    SettingType type;
    int32_t defaultNumber = 0; // of a Flag (0 or 1), Number or Threshold
    const char* defaultText = nullptr; // of Keywords or Text
    // The bound of a Number, which validate and the setters keep and the Options dialog checks
    // (INT32_MIN: none); below warnBelow the dialog asks first.
    int32_t minimum = INT32_MIN;
    int32_t warnBelow = INT32_MIN;
    // Where MonitorSettings holds the value: the list of a severity, or a field. A Flag or Text with
    // neither is the desktop program's own ("Desktop" by its notifier, "Font" by its log lists).
    int32_t keywordList = -1;
    bool MonitorSettings::*flag = nullptr;
    int32_t MonitorSettings::*number = nullptr;

    constexpr int32_t bounded(int32_t value) const { return value < minimum ? minimum : value; }
};

// The rows of each type. A Flag or Text without a field of MonitorSettings is the desktop program's.
constexpr Setting keywordsSetting(int32_t severity, const char* defaults)
{
    return {.id = severity,
        .section = "Analyze",
        .key = Severity::Table[severity].name,
        .type = SettingType::Keywords,
        .defaultText = defaults,
        .keywordList = severity};
}

constexpr Setting flagSetting(int32_t id, const char* section, const char* key, bool defaultValue,
    bool MonitorSettings::*flag = nullptr)
{
    return {.id = id,
        .section = section,
        .key = key,
        .type = SettingType::Flag,
        .defaultNumber = defaultValue,
        .flag = flag};
}

// Bounded when minimum is given; the Options dialog asks below warnBelow.
constexpr Setting numberSetting(int32_t id, const char* section, const char* key, SettingType type,
    int32_t defaultValue, int32_t MonitorSettings::*number, int32_t minimum = INT32_MIN,
    int32_t warnBelow = INT32_MIN)
{
    return {.id = id,
        .section = section,
        .key = key,
        .type = type,
        .defaultNumber = defaultValue,
        .minimum = minimum,
        .warnBelow = warnBelow,
        .number = number};
}

constexpr Setting textSetting(int32_t id, const char* section, const char* key, const char* defaultText)
{
    return {.id = id, .section = section, .key = key, .type = SettingType::Text, .defaultText = defaultText};
}

struct SettingsTable {
    enum Id : int32_t {
        // DebugInformation to Fatal: the keyword lists, a severity's row is its value
        MultiLine = Severity::ListCount,
        StatedLevel,
        UpdateEvery,
        InitiallyReadBytes,
        KeepLines,
        OnTop,
        PlaySound,
        DesktopNotifications,
        Notify,
        LogFont,
        QuietGap,
        HistoryUpTo,
        Count
    };

    static constexpr Setting rows[Count] = {
        keywordsSetting(Severity::DebugInformation, "debug debg"),
        keywordsSetting(Severity::Information, "info notice"),
        keywordsSetting(Severity::Warning, "warn"),
        keywordsSetting(Severity::Error, "error exception"),
        keywordsSetting(Severity::Fatal, "fatal crit"),
        flagSetting(MultiLine, "Analyze", "MultiLine", true, &MonitorSettings::multiLine),
        flagSetting(StatedLevel, "Analyze", "StatedLevel", true, &MonitorSettings::statedLevel),
        numberSetting(UpdateEvery, "Analyze", "UpdateEvery", SettingType::Number, 1000,
            &MonitorSettings::updateEvery, 100, 500),
        // Negative: the whole log.
        numberSetting(InitiallyReadBytes, "Sizes", "InitiallyReadBytes", SettingType::Number, 65536,
            &MonitorSettings::initiallyReadBytes),
        numberSetting(
            KeepLines, "Sizes", "KeepLines", SettingType::Number, 1000, &MonitorSettings::keepLines, 1),
        numberSetting(OnTop, "Notifications", "OnTop", SettingType::Threshold, Severity::Error,
            &MonitorSettings::onTop),
        numberSetting(PlaySound, "Notifications", "PlaySound", SettingType::Threshold, Severity::Warning,
            &MonitorSettings::playSound),
        flagSetting(DesktopNotifications, "Notifications", "Desktop", true),
        numberSetting(Notify, "Notifications", "Notify", SettingType::Threshold, Severity::Error,
            &MonitorSettings::notify),
        // A QFont description; empty: the desktop's fixed-width font.
        textSetting(LogFont, "View", "Font", ""),
        // Seconds between two shown messages above which the list marks the gap; 0: none.
        numberSetting(QuietGap, "View", "QuietGap", SettingType::Number, 60, &MonitorSettings::quietGap, 0),
        // Mebibytes: a plain file up to this size shows its whole history unless its window says
        // otherwise; 0 offers it for no file by default.
        numberSetting(
            HistoryUpTo, "Sizes", "HistoryUpTo", SettingType::Number, 4096, &MonitorSettings::historyUpTo, 0),
    };

    static constexpr bool inOrder()
    {
        for (int32_t i = 0; i < Count; ++i)
            if (rows[i].id != i)
                return false;
        return true;
    }
};

static_assert(SettingsTable::inOrder(), "a setting's row is its id");

} // namespace kestrano
