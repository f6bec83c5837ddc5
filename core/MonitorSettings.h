// The program-wide monitoring settings: keyword lists, multi-line switch, polling interval, size
// limits and notification thresholds. One instance lives as long as the program; readers look at
// the values at each use, so a change acts at the next line, poll or trim.
#pragma once

#include "core/Severity.h"
#include "foundation/ArrayList.h"
#include "foundation/String.h"

#include <cstdint>

namespace kestrano {

class Kestrano;

class MonitorSettings {
public:
    using KeywordList = haspel::ArrayList<haspel::String>;

    static constexpr int32_t MinimumUpdateEvery = 100;
    static constexpr int32_t MinimumKeepLines = 1;

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
    // The application object loads the stored values without the setters' limits.
    friend class Kestrano;

    int32_t initiallyReadBytes = 65536;
    int32_t keepLines = 1000;
    KeywordList keywords[Severity::ListCount];
    bool multiLine = true;
    int32_t onTop = Severity::Error;
    int32_t playSound = Severity::Warning;
    int32_t updateEvery = 1000;
};

} // namespace kestrano
