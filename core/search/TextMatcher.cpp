#include "core/search/TextMatcher.h"

#include "core/text/LowerCase.h"
#include "core/text/Message.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>

namespace kestrano {

namespace {

bool utf8Locale()
{
    return MB_CUR_MAX > 1 && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

bool isAscii(const std::string& text)
{
    return std::none_of(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// Backtracking steps one match may take: plenty for any sensible expression on a log line, while an
// expression that backtracks without end gives up instead of freezing the window.
constexpr uint32_t MatchLimit = 1000000;

auto subjectOf(const char* text)
{
    return reinterpret_cast<PCRE2_SPTR>(text);
}

} // namespace

// One pattern: plain text searched as it is (or in the lower-cased text), or a compiled expression. Plain
// ASCII text ignoring case is compiled too, as a literal: that is the same match as in the lower-cased
// text (lowerCase never turns other characters into ASCII) without lowering every text.
struct TextMatcher::Pattern {
    std::string plain;
    bool inLowered = false;
    std::string needle; // what every match holds (empty: not known)
    bool caseless = false;
    pcre2_code* code = nullptr;
    pcre2_match_data* data = nullptr;
    pcre2_match_context* context = nullptr;

    ~Pattern()
    {
        pcre2_match_context_free(context);
        pcre2_match_data_free(data);
        pcre2_code_free(code);
    }

    void compile(const std::string& pattern, uint32_t options)
    {
        int error = 0;
        PCRE2_SIZE offset = 0;
        code = pcre2_compile(subjectOf(pattern.data()), pattern.size(), options, &error, &offset, nullptr);
        if (!code) {
            PCRE2_UCHAR message[256];
            if (pcre2_get_error_message(error, message, sizeof message) < 0)
                std::strcpy(reinterpret_cast<char*>(message), "invalid regular expression");
            throw EInvalidPattern(reinterpret_cast<const char*>(message), static_cast<int32_t>(offset));
        }
        pcre2_jit_compile(code, PCRE2_JIT_COMPLETE); // without JIT, the interpreter matches
        data = pcre2_match_data_create_from_pattern(code, nullptr);
        context = pcre2_match_context_create(nullptr);
        if (!data || !context)
            throw haspel::EOutOfMemory();
        pcre2_set_match_limit(context, MatchLimit);
    }

    // The first match in text[from..length); a non-empty one unless allowEmpty.
    bool search(
        const char* text, int32_t length, int32_t from, bool allowEmpty, int32_t& start, int32_t& end) const
    {
        if (!code) {
            if (plain.empty())
                return allowEmpty ? (start = end = from, true) : false;
            const void* found
                = memmem(text + from, static_cast<size_t>(length - from), plain.data(), plain.size());
            if (!found)
                return false;
            start = static_cast<int32_t>(static_cast<const char*>(found) - text);
            end = start + static_cast<int32_t>(plain.size());
            return true;
        }
        if (pcre2_match(code, subjectOf(text), static_cast<PCRE2_SIZE>(length), static_cast<PCRE2_SIZE>(from),
                allowEmpty ? 0 : PCRE2_NOTEMPTY, data, context)
            < 0)
            return false;
        const PCRE2_SIZE* range = pcre2_get_ovector_pointer(data);
        if (range[0] > range[1]) // \K can put the start behind the end
            return false;
        start = static_cast<int32_t>(range[0]);
        end = static_cast<int32_t>(range[1]);
        return true;
    }
};

TextMatcher::TextMatcher(const TextQuery& query)
{
    const bool utf8 = utf8Locale();
    for (const std::string& text : query.patterns) {
        auto pattern = std::make_unique<Pattern>();
        if (query.regex) {
            uint32_t options = query.matchCase ? 0 : PCRE2_CASELESS;
            // In a UTF-8 locale letters beyond ASCII have their cases too; bytes that are no UTF-8 never
            // match.
            if (utf8)
                options |= PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF;
            pattern->compile(text, options);
        } else if (query.matchCase || text.empty()) {
            pattern->plain = text;
            pattern->needle = text;
        } else if (isAscii(text)) {
            pattern->compile(text, PCRE2_LITERAL | PCRE2_CASELESS);
            pattern->needle = text;
            pattern->caseless = true;
        } else {
            pattern->plain = text;
            lowerCase(text.data(), static_cast<int32_t>(text.size()), pattern->plain.data());
            pattern->inLowered = true;
            needsLowered = true;
        }
        patterns.push_back(std::move(pattern));
    }
}

TextMatcher::~TextMatcher() = default;

std::vector<TextMatcher::Needle> TextMatcher::getNeedles() const
{
    std::vector<Needle> needles;
    for (const auto& pattern : patterns) {
        if (pattern->needle.empty())
            return {};
        needles.push_back({pattern->needle, pattern->caseless});
    }
    return needles;
}

std::unique_ptr<TextMatcher> TextMatcher::compile(const TextQuery& query, PatternError& error)
{
    error = PatternError();
    try {
        return std::make_unique<TextMatcher>(query);
    } catch (const EInvalidPattern& invalid) {
        error.message = invalid.GetMessage();
        error.offset = invalid.getOffset();
        return nullptr;
    }
}

const char* TextMatcher::lowered(const char* text, int32_t length) const
{
    if (!needsLowered)
        return nullptr;
    scratch.resize(static_cast<size_t>(length));
    lowerCase(text, length, scratch.data());
    return scratch.data();
}

bool TextMatcher::matches(const char* text, int32_t length) const
{
    const char* low = lowered(text, length);
    const char* const end = text + length;
    const char* line = text;
    while (true) {
        const auto* lineFeed
            = static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line)));
        const char* lineEnd = lineFeed ? lineFeed : end;
        auto lineLength = static_cast<int32_t>(lineEnd - line);
        if (lineLength > 0 && line[lineLength - 1] == '\r' && lineFeed)
            --lineLength;
        if (matchesLine(line, low ? low + (line - text) : nullptr, lineLength))
            return true;
        if (!lineFeed)
            return false;
        line = lineFeed + 1;
    }
}

bool TextMatcher::matches(const Message& message) const
{
    return matches(message.getText(), message.getTextLength());
}

bool TextMatcher::matchesLine(const char* line, const char* loweredLine, int32_t length) const
{
    int32_t start, end;
    for (const auto& pattern : patterns) {
        if (pattern->search(pattern->inLowered ? loweredLine : line, length, 0, true, start, end))
            return true;
    }
    return false;
}

bool TextMatcher::find(const char* text, int32_t length, int32_t from, int32_t& start, int32_t& end) const
{
    if (from < 0 || from >= length)
        return false;
    const char* low = lowered(text, length);
    bool found = false;
    for (const auto& pattern : patterns) {
        int32_t s, e;
        if (!pattern->search(pattern->inLowered ? low : text, length, from, false, s, e))
            continue;
        if (!found || s < start || (s == start && e > end)) {
            start = s;
            end = e;
            found = true;
        }
    }
    return found;
}

} // namespace kestrano
