// The program-wide monitoring settings: the cutting rules (keyword lists, multi-line, kept lines), the
// polling interval, the bytes read at first and the notification thresholds. A copyable value whose
// defaults and bounds come from the settings table. The program's one instance lives as long as the
// program and is changed in place; readers look at the values at each use, so a change acts at the
// next line, poll or trim.
#pragma once

#include "core/text/CuttingRules.h"

#include <cstdint>

namespace kestrano {

class MonitorSettings : public CuttingRules {
public:
    // The table's defaults, with the five default keyword lists; throws haspel::EOutOfMemory.
    MonitorSettings();
    // Throw haspel::EOutOfMemory; the keyword lists may then be partly copied.
    MonitorSettings(const MonitorSettings&) = default;
    MonitorSettings& operator=(const MonitorSettings&) = default;
    ~MonitorSettings() = default;

    void SetMultiLine(bool value) { multiLine = value; }
    void SetStatedLevel(bool value) { statedLevel = value; }
    int32_t GetUpdateEvery() const { return updateEvery; }
    void SetUpdateEvery(int32_t milliseconds); // kept within the table's bounds
    int32_t GetInitiallyReadBytes() const { return initiallyReadBytes; }
    void SetInitiallyReadBytes(int32_t bytes) { initiallyReadBytes = bytes; }
    void SetKeepLines(int32_t lines); // kept within the table's bounds
    int32_t GetOnTop() const { return onTop; }
    void SetOnTop(int32_t severity) { onTop = severity; }
    int32_t GetPlaySound() const { return playSound; }
    void SetPlaySound(int32_t severity) { playSound = severity; }
    // The desktop notification's threshold.
    int32_t GetNotify() const { return notify; }
    void SetNotify(int32_t severity) { notify = severity; }
    // Seconds between two shown messages above which the list marks a quiet gap; 0: none.
    int32_t GetQuietGap() const { return quietGap; }
    void SetQuietGap(int32_t seconds); // kept within the table's bounds
    // The largest plain file, in mebibytes, whose window shows its history by default.
    int32_t GetHistoryUpTo() const { return historyUpTo; }
    void SetHistoryUpTo(int32_t mebibytes); // kept within the table's bounds

    // Brings every bounded setting within the table's bounds: stored values are loaded as they
    // stand, a setting taken over from the Options dialog is validated.
    void validate();

private:
    friend struct SettingsTable; // names the fields in its rows

    int32_t initiallyReadBytes = 0;
    int32_t onTop = 0;
    int32_t playSound = 0;
    int32_t notify = 0;
    int32_t updateEvery = 0;
    int32_t quietGap = 0;
    int32_t historyUpTo = 0;
};

} // namespace kestrano
