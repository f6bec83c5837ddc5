#include "core/TextMatcher.h"

#include "core/LowerCase.h"
#include "core/Message.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

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

auto subjectOf(const char* text)
{
    return reinterpret_cast<PCRE2_SPTR>(text);
}

} // namespace

struct TextMatcher::Compiled {
    pcre2_code* code = nullptr;
    pcre2_match_data* data = nullptr;

    ~Compiled()
    {
        pcre2_match_data_free(data);
        pcre2_code_free(code);
    }
};

TextMatcher::TextMatcher(const TextQuery& query)
    : textQuery(query)
{
    if (!query.regex) {
        for (const std::string& pattern : query.patterns) {
            plain.push_back(pattern);
            if (!query.matchCase)
                lowerCase(pattern.data(), static_cast<int32_t>(pattern.size()), plain.back().data());
        }
        return;
    }
    uint32_t options = query.matchCase ? 0 : PCRE2_CASELESS;
    // In a UTF-8 locale letters beyond ASCII have their cases too; bytes that are no UTF-8 never match.
    if (utf8Locale())
        options |= PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF;
    for (const std::string& pattern : query.patterns) {
        auto compiled = std::make_unique<Compiled>();
        int error = 0;
        PCRE2_SIZE offset = 0;
        compiled->code
            = pcre2_compile(subjectOf(pattern.data()), pattern.size(), options, &error, &offset, nullptr);
        if (!compiled->code) {
            PCRE2_UCHAR message[256];
            if (pcre2_get_error_message(error, message, sizeof message) < 0)
                std::strcpy(reinterpret_cast<char*>(message), "invalid regular expression");
            throw EInvalidPattern(reinterpret_cast<const char*>(message), static_cast<int32_t>(offset));
        }
        pcre2_jit_compile(compiled->code, PCRE2_JIT_COMPLETE); // without JIT, the interpreter matches
        compiled->data = pcre2_match_data_create_from_pattern(compiled->code, nullptr);
        if (!compiled->data)
            throw haspel::EOutOfMemory();
        expressions.push_back(std::move(compiled));
    }
}

TextMatcher::~TextMatcher() = default;

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
    if (textQuery.regex || textQuery.matchCase)
        return text;
    scratch.resize(static_cast<size_t>(length));
    lowerCase(text, length, scratch.data());
    return scratch.data();
}

bool TextMatcher::matches(const char* text, int32_t length) const
{
    const char* subject = lowered(text, length);
    const char* const end = subject + length;
    const char* line = subject;
    while (true) {
        const auto* lineFeed
            = static_cast<const char*>(std::memchr(line, '\n', static_cast<size_t>(end - line)));
        const char* lineEnd = lineFeed ? lineFeed : end;
        auto lineLength = static_cast<int32_t>(lineEnd - line);
        if (lineLength > 0 && line[lineLength - 1] == '\r' && lineFeed)
            --lineLength;
        if (matchesLine(line, lineLength))
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

bool TextMatcher::matchesLine(const char* line, int32_t length) const
{
    for (const std::string& pattern : plain) {
        if (pattern.empty() || memmem(line, static_cast<size_t>(length), pattern.data(), pattern.size()))
            return true;
    }
    for (const auto& expression : expressions) {
        if (pcre2_match(expression->code, subjectOf(line), static_cast<PCRE2_SIZE>(length), 0, 0,
                expression->data, nullptr)
            >= 0)
            return true;
    }
    return false;
}

bool TextMatcher::findIn(
    size_t pattern, const char* text, int32_t length, int32_t from, int32_t& start, int32_t& end) const
{
    if (!textQuery.regex) {
        const std::string& needle = plain[pattern];
        if (needle.empty())
            return false;
        const void* found
            = memmem(text + from, static_cast<size_t>(length - from), needle.data(), needle.size());
        if (!found)
            return false;
        start = static_cast<int32_t>(static_cast<const char*>(found) - text);
        end = start + static_cast<int32_t>(needle.size());
        return true;
    }
    const Compiled& expression = *expressions[pattern];
    if (pcre2_match(expression.code, subjectOf(text), static_cast<PCRE2_SIZE>(length),
            static_cast<PCRE2_SIZE>(from), PCRE2_NOTEMPTY, expression.data, nullptr)
        < 0)
        return false;
    const PCRE2_SIZE* range = pcre2_get_ovector_pointer(expression.data);
    if (range[0] > range[1]) // \K can put the start behind the end
        return false;
    start = static_cast<int32_t>(range[0]);
    end = static_cast<int32_t>(range[1]);
    return true;
}

bool TextMatcher::find(const char* text, int32_t length, int32_t from, int32_t& start, int32_t& end) const
{
    if (from < 0 || from >= length)
        return false;
    const char* subject = lowered(text, length);
    bool found = false;
    const size_t count = textQuery.regex ? expressions.size() : plain.size();
    for (size_t pattern = 0; pattern < count; ++pattern) {
        int32_t s, e;
        if (!findIn(pattern, subject, length, from, s, e))
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
