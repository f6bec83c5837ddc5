// The rules the line cutter and the keyword lists follow: the keyword list of each severity, whether an
// indented line continues a message, whether a stated level decides, the user's layouts and how many
// messages are kept. The settings record is made of
// them and changes them in place; readers hold a reference and look at the rules at each use, so a
// change acts at the next line or trim.
#pragma once

#include "core/text/Severity.h"
#include "foundation/ArrayList.h"
#include "foundation/String.h"

#include <cstdint>

namespace kestrano {

class CuttingRules {
public:
    using KeywordList = haspel::ArrayList<haspel::String>;

    // The list of one severity, 0 (DebugInformation) to 4 (Fatal).
    KeywordList& GetKeywords(int32_t severity) { return keywords[severity]; }
    const KeywordList& GetKeywords(int32_t severity) const { return keywords[severity]; }
    bool GetMultiLine() const { return multiLine; }
    // Whether a level a line's header states decides its severity (and a line without a header
    // continues the message before it); off, the keywords alone decide.
    bool GetStatedLevel() const { return statedLevel; }
    // The user's layouts: PCRE2 expressions with the named groups time, level and message.
    const KeywordList& GetLayouts() const { return layouts; }
    KeywordList& GetLayouts() { return layouts; }
    int32_t GetKeepLines() const { return keepLines; }

    // Rebuilds the list from a settings text: keywords are separated by runs of spaces (0x20 only)
    // and lower-cased. Throws haspel::EOutOfMemory.
    static void ParseKeywords(const char* text, KeywordList& list);
    // The keywords in list order, one space between them; the empty string for an empty list.
    static haspel::String JoinKeywords(const KeywordList& list);

protected:
    // No keywords, multi-line off, nothing kept: the record that holds the rules fills them.
    CuttingRules() = default;
    // Throw haspel::EOutOfMemory; the keyword lists may then be partly copied.
    CuttingRules(const CuttingRules& other);
    CuttingRules& operator=(const CuttingRules& other);
    ~CuttingRules() = default;

    KeywordList keywords[Severity::ListCount];
    bool multiLine = false;
    bool statedLevel = false;
    int32_t keepLines = 0;
    KeywordList layouts;
};

} // namespace kestrano
