// The one matcher behind finding, the text filter and kestrano-tail's --grep: plain text by default, or
// PCRE2 regular expressions; case is ignored unless asked for (plain text is lower-cased as keywords are,
// but a letter whose lower case has another byte length stays, so positions hold).
#pragma once

#include "foundation/Exception.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrano {

class Message;

struct TextQuery {
    std::vector<std::string> patterns; // a text matches when any of them matches
    bool regex = false;
    bool matchCase = false;
};

// An expression PCRE2 cannot compile: the message is PCRE2's own.
class EInvalidPattern : public haspel::EIllegalArgument {
public:
    EInvalidPattern(const char* message, int32_t offset)
        : EIllegalArgument(message, nullptr, 0)
        , offset(offset)
    { }
    // Where in the pattern (in bytes) the error was found.
    int32_t getOffset() const { return offset; }

private:
    int32_t offset;
};

// What made a pattern invalid; an empty message means none.
struct PatternError {
    std::string message;
    int32_t offset = 0;
};

// Each pattern is compiled once (with JIT where available). Not for use from several threads at once:
// matching reuses the matcher's buffers.
class TextMatcher {
public:
    // Throws EInvalidPattern for an expression that does not compile.
    explicit TextMatcher(const TextQuery& query);
    ~TextMatcher();
    // The matcher of the query, or nullptr with the error filled in when an expression is invalid.
    static std::unique_ptr<TextMatcher> compile(const TextQuery& query, PatternError& error);
    TextMatcher(const TextMatcher&) = delete;
    TextMatcher& operator=(const TextMatcher&) = delete;

    // Whether any line of the text (lines joined by CR LF, or LF) matches.
    bool matches(const char* text, int32_t length) const;
    bool matches(const Message& message) const;
    // The first non-empty match of any pattern in the one line text[0..length) that starts at or after
    // from (the earliest start, then the longest); false when there is none.
    bool find(const char* text, int32_t length, int32_t from, int32_t& start, int32_t& end) const;

    // A text every matching line holds, exactly or with its ASCII letters in either case.
    struct Needle {
        std::string text;
        bool caseless = false;
    };
    // The texts of which every matching line holds one, so that text without any of them can be passed
    // over unmatched; empty when there are none such (an expression, an empty text, or text beyond
    // ASCII whose case is ignored).
    std::vector<Needle> getNeedles() const;

private:
    struct Pattern;
    bool matchesLine(const char* line, const char* loweredLine, int32_t length) const;
    // The lower-cased text when a pattern needs it, else nullptr.
    const char* lowered(const char* text, int32_t length) const;

    std::vector<std::unique_ptr<Pattern>> patterns;
    bool needsLowered = false;
    mutable std::string scratch;
};

} // namespace kestrano
