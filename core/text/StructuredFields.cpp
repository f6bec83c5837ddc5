#include "core/text/StructuredFields.h"

#include <cstring>

namespace kestrano {
namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isNameByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.'
        || c == '-' || c == '@';
}

// The closing quote of a string whose content starts at p; end when there is none.
const char* closingQuote(const char* p, const char* end)
{
    while (p < end) {
        const auto* quote = static_cast<const char*>(std::memchr(p, '"', static_cast<std::size_t>(end - p)));
        if (!quote)
            return end;
        const char* back = quote;
        while (back > p && back[-1] == '\\')
            --back;
        if ((quote - back) % 2 == 0)
            return quote;
        p = quote + 1;
    }
    return end;
}

// The end of a nested object or array starting at p ('{' or '['); end when it does not close.
const char* closingBracket(const char* p, const char* end)
{
    int32_t depth = 0;
    for (; p < end; ++p) {
        const char c = *p;
        if (c == '"') {
            p = closingQuote(p + 1, end);
            if (p == end)
                return end;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            if (--depth == 0)
                return p + 1;
        }
    }
    return end;
}

} // namespace

FieldReader::FieldReader(Syntax syntax, const char* line, int32_t length)
    : syntax(syntax)
    , position(line)
    , end(line + length)
{
    if (syntax != Syntax::Json)
        return;
    while (position < end && isSpace(*position))
        ++position;
    if (position < end && *position == '{')
        ++position;
    else
        position = end;
}

bool FieldReader::next(Field& field)
{
    return syntax == Syntax::Json ? nextJson(field) : nextLogfmt(field);
}

bool FieldReader::nextJson(Field& field)
{
    const char* p = position;
    while (p < end && (isSpace(*p) || *p == ','))
        ++p;
    if (p >= end || *p != '"') {
        position = end;
        return false;
    }
    const char* key = p + 1;
    const char* keyEnd = closingQuote(key, end);
    p = keyEnd + 1;
    while (p < end && isSpace(*p))
        ++p;
    if (p >= end || *p != ':') {
        position = end;
        return false;
    }
    ++p;
    while (p < end && isSpace(*p))
        ++p;
    if (p >= end) {
        position = end;
        return false;
    }
    field.key = key;
    field.keyLength = static_cast<int32_t>(keyEnd - key);
    if (*p == '"') {
        const char* valueEnd = closingQuote(p + 1, end);
        field.value = p + 1;
        field.valueLength = static_cast<int32_t>(valueEnd - (p + 1));
        field.quoted = true;
        position = valueEnd < end ? valueEnd + 1 : end;
        return true;
    }
    const char* valueEnd = p;
    if (*p == '{' || *p == '[') {
        valueEnd = closingBracket(p, end);
    } else {
        while (valueEnd < end && *valueEnd != ',' && *valueEnd != '}' && !isSpace(*valueEnd))
            ++valueEnd;
    }
    field.value = p;
    field.valueLength = static_cast<int32_t>(valueEnd - p);
    field.quoted = false;
    position = valueEnd;
    return field.valueLength > 0;
}

bool FieldReader::nextLogfmt(Field& field)
{
    const char* p = position;
    while (p < end && isSpace(*p))
        ++p;
    const char* key = p;
    while (p < end && isNameByte(*p))
        ++p;
    if (p == key || (p < end && *p != '=' && !isSpace(*p))) {
        position = end;
        return false;
    }
    field.key = key;
    field.keyLength = static_cast<int32_t>(p - key);
    field.value = p;
    field.valueLength = 0;
    field.quoted = false;
    if (p < end && *p == '=') {
        ++p;
        if (p < end && *p == '"') {
            const char* valueEnd = closingQuote(p + 1, end);
            field.value = p + 1;
            field.valueLength = static_cast<int32_t>(valueEnd - (p + 1));
            field.quoted = true;
            p = valueEnd < end ? valueEnd + 1 : end;
        } else {
            field.value = p;
            while (p < end && !isSpace(*p))
                ++p;
            field.valueLength = static_cast<int32_t>(p - field.value);
        }
    }
    position = p;
    return true;
}

bool startsWithLogfmtField(const char* line, int32_t length)
{
    const char* p = line;
    const char* end = line + length;
    while (p < end && isNameByte(*p))
        ++p;
    return p > line && p < end && *p == '=';
}

namespace {

std::string unescaped(const char* text, int32_t length, bool quoted)
{
    std::string result;
    result.reserve(static_cast<size_t>(length));
    for (int32_t i = 0; i < length; ++i) {
        char c = text[i];
        if (quoted && c == '\\' && i + 1 < length) {
            c = text[++i];
            c = c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
        }
        result += c;
    }
    return result;
}

} // namespace

std::vector<std::pair<std::string, std::string>> fieldsOfLine(const char* text, int32_t length)
{
    std::vector<std::pair<std::string, std::string>> fields;
    const auto* lineEnd = static_cast<const char*>(std::memchr(text, '\r', static_cast<std::size_t>(length)));
    const int32_t lineLength = lineEnd ? static_cast<int32_t>(lineEnd - text) : length;
    const bool json = lineLength > 0 && text[0] == '{';
    if (!json && !startsWithLogfmtField(text, lineLength))
        return fields;
    FieldReader reader(json ? FieldReader::Syntax::Json : FieldReader::Syntax::Logfmt, text, lineLength);
    for (Field field; reader.next(field);)
        fields.emplace_back(unescaped(field.key, field.keyLength, json),
            unescaped(field.value, field.valueLength, field.quoted));
    if (fields.size() < 2)
        fields.clear();
    return fields;
}

bool keyIs(const Field& field, const char* name)
{
    return std::strncmp(field.key, name, static_cast<std::size_t>(field.keyLength)) == 0
        && name[field.keyLength] == '\0';
}

} // namespace kestrano
