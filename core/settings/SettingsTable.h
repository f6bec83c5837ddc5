// The one list of Kestrano's settings. A row gives a setting's section and key in the configuration,
// its default, its bounds and where its value is held. The settings store, MonitorSettings (its
// defaults, setters and validate), the Options dialog, kestrano-tail and the tests read it.
#pragma once

#include "core/MonitorSettings.h"
#include "core/Severity.h"

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
    int32_t defaultNumber; // of a Flag (0 or 1), Number or Threshold
    const char* defaultText; // of Keywords or Text
    // The bound of a Number, which validate and the setters keep and the Options dialog checks
    // (INT32_MIN: none); below warnBelow the dialog asks first.
    int32_t minimum;
    int32_t warnBelow;
    // Where MonitorSettings holds the value: the list of a severity, or a field. A Flag or Text with
    // neither is the desktop program's own ("Desktop" by its notifier, "Font" by its log lists).
    int32_t keywordList;
    bool MonitorSettings::*flag;
    int32_t MonitorSettings::*number;

    constexpr int32_t bounded(int32_t value) const { return value < minimum ? minimum : value; }
};

constexpr Setting keywordsSetting(int32_t severity, const char* defaults)
{
    return {severity, "Analyze", Severity::Table[severity].name, SettingType::Keywords, 0, defaults,
        INT32_MIN, INT32_MIN, severity, nullptr, nullptr};
}

constexpr Setting flagSetting(int32_t id, const char* section, const char* key, bool defaultValue,
    bool MonitorSettings::*flag = nullptr)
{
    return {
        id, section, key, SettingType::Flag, defaultValue, nullptr, INT32_MIN, INT32_MIN, -1, flag, nullptr};
}

constexpr Setting numberSetting(int32_t id, const char* section, const char* key, SettingType type,
    int32_t MonitorSettings::*number, int32_t defaultValue, int32_t minimum = INT32_MIN,
    int32_t warnBelow = INT32_MIN)
{
    return {id, section, key, type, defaultValue, nullptr, minimum, warnBelow, -1, nullptr, number};
}

constexpr Setting textSetting(int32_t id, const char* section, const char* key, const char* defaultText)
{
    return {id, section, key, SettingType::Text, 0, defaultText, INT32_MIN, INT32_MIN, -1, nullptr, nullptr};
}

struct SettingsTable {
    enum Id : int32_t {
        // DebugInformation to Fatal: the keyword lists, a severity's row is its value
        MultiLine = Severity::ListCount,
        UpdateEvery,
        InitiallyReadBytes,
        KeepLines,
        OnTop,
        PlaySound,
        DesktopNotifications,
        LogFont,
        Count
    };

    static constexpr Setting rows[Count] = {
        keywordsSetting(Severity::DebugInformation, "debug debg"),
        keywordsSetting(Severity::Information, "info notice"), keywordsSetting(Severity::Warning, "warn"),
        keywordsSetting(Severity::Error, "error exception"), keywordsSetting(Severity::Fatal, "fatal crit"),
        flagSetting(MultiLine, "Analyze", "MultiLine", true, &MonitorSettings::multiLine),
        numberSetting(UpdateEvery, "Analyze", "UpdateEvery", SettingType::Number,
            &MonitorSettings::updateEvery, 1000, 100, 500),
        numberSetting(InitiallyReadBytes, "Sizes", "InitiallyReadBytes", SettingType::Number,
            &MonitorSettings::initiallyReadBytes, 65536), // negative: the whole log
        numberSetting(
            KeepLines, "Sizes", "KeepLines", SettingType::Number, &MonitorSettings::keepLines, 1000, 1),
        numberSetting(OnTop, "Notifications", "OnTop", SettingType::Threshold, &MonitorSettings::onTop,
            Severity::Error),
        numberSetting(PlaySound, "Notifications", "PlaySound", SettingType::Threshold,
            &MonitorSettings::playSound, Severity::Warning),
        flagSetting(DesktopNotifications, "Notifications", "Desktop", true),
        textSetting(LogFont, "View", "Font", ""), // a QFont description; empty: the desktop's fixed font
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
