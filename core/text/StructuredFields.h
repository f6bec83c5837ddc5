// Reads the top-level fields of a JSON object line or a logfmt line in place, one at a time.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kestrano {

struct Field {
    const char* key = nullptr;
    int32_t keyLength = 0;
    const char* value = nullptr; // a string's content without its quotes, escapes as written
    int32_t valueLength = 0;
    bool quoted = false;
};

class FieldReader {
public:
    enum class Syntax : uint8_t { Json, Logfmt };
    // [line, line + length) must stay while the reader is used. A JSON line must start with '{' after
    // white space, else the reader yields nothing.
    FieldReader(Syntax syntax, const char* line, int32_t length);
    // The next field; false at the end or where the text stops fitting the syntax.
    bool next(Field& field);

private:
    bool nextJson(Field& field);
    bool nextLogfmt(Field& field);

    Syntax syntax;
    const char* position;
    const char* end;
};

// Whether a logfmt line starts with a field: a name of letters, digits, '_', '.', '-' or '@', then '='.
bool startsWithLogfmtField(const char* line, int32_t length);

// The fields of a JSON object line or a logfmt line (the first line of text; two fields at least), keys
// and values with the escapes of quoted strings resolved; empty for other lines.
std::vector<std::pair<std::string, std::string>> fieldsOfLine(const char* text, int32_t length);

// Compares a field's key with a NUL-terminated name.
bool keyIs(const Field& field, const char* name);

} // namespace kestrano
