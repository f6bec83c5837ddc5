// The program-wide monitoring settings: keyword lists, multi-line switch, polling interval, size
// limits and notification thresholds. One instance lives as long as the program; readers look at
// the values at each use, so a change acts at the next line, poll or trim.
#pragma once

#include "core/Severity.h"
#include "foundation/ArrayList.h"
#include "foundation/String.h"

#include <cstdint>

namespace haspel {
class ConfigSection;
}

namespace kestrano {

class MonitorSettings {
public:
    using KeywordList = haspel::ArrayList<haspel::String>;

    static constexpr int32_t MinimumUpdateEvery = 100;
    static constexpr int32_t MinimumKeepLines = 1;

    static constexpr int32_t DefaultInitiallyReadBytes = 65536;
    static constexpr int32_t DefaultKeepLines = 1000;
    static constexpr bool DefaultMultiLine = true;
    static constexpr int32_t DefaultOnTop = Severity::Error;
    static constexpr int32_t DefaultPlaySound = Severity::Warning;
    static constexpr int32_t DefaultUpdateEvery = 1000;
    // The settings text of a severity's default keyword list ("debug debg" for DebugInformation, ...).
    static const char* DefaultKeywordText(int32_t severity);

    // Default values and the five default keyword lists; throws haspel::EOutOfMemory.
    MonitorSettings();
    MonitorSettings(const MonitorSettings&) = delete;
    MonitorSettings& operator=(const MonitorSettings&) = delete;

    // The list of one severity, 0 (DebugInformation) to 4 (Fatal).
    KeywordList& GetKeywords(int32_t severity) { return keywords[severity]; }
    const KeywordList& GetKeywords(int32_t severity) const { return keywords[severity]; }

    bool GetMultiLine() const { return multiLine; }
    void SetMultiLine(bool value) { multiLine = value; }
    int32_t GetUpdateEvery() const { return updateEvery; }
    void SetUpdateEvery(int32_t milliseconds); // below 100 stores 100
    int32_t GetInitiallyReadBytes() const { return initiallyReadBytes; }
    void SetInitiallyReadBytes(int32_t bytes) { initiallyReadBytes = bytes; }
    int32_t GetKeepLines() const { return keepLines; }
    void SetKeepLines(int32_t lines); // below 1 stores 1
    int32_t GetOnTop() const { return onTop; }
    void SetOnTop(int32_t severity) { onTop = severity; }
    int32_t GetPlaySound() const { return playSound; }
    void SetPlaySound(int32_t severity) { playSound = severity; }

    // Rebuilds the list from a settings text: keywords are separated by runs of spaces (0x20 only)
    // and lower-cased. Throws haspel::EOutOfMemory.
    static void ParseKeywords(const char* text, KeywordList& list);
    // The keywords in list order, one space between them; the empty string for an empty list.
    static haspel::String JoinKeywords(const KeywordList& list);

private:
    // Stored values are loaded without the setters' limits.
    friend void loadMonitorSettings(MonitorSettings& settings, haspel::ConfigSection& root);

    int32_t initiallyReadBytes = DefaultInitiallyReadBytes;
    int32_t keepLines = DefaultKeepLines;
    KeywordList keywords[Severity::ListCount];
    bool multiLine = DefaultMultiLine;
    int32_t onTop = DefaultOnTop;
    int32_t playSound = DefaultPlaySound;
    int32_t updateEvery = DefaultUpdateEvery;
};

} // namespace kestrano
