// The severity scale of a message, and the one table of the named severities. Severities are plain
// integers compared with < and >; the values 0 to ListCount - 1 also index the keyword lists, the
// severity icons and the filter commands.
#pragma once

#include <cstdint>

namespace kestrano::Severity {

inline constexpr int32_t None = -2; // no message at all; start value of "highest severity" searches
inline constexpr int32_t Unknown = -1;
inline constexpr int32_t DebugInformation = 0;
inline constexpr int32_t Information = 1;
inline constexpr int32_t Warning = 2;
inline constexpr int32_t Error = 3;
inline constexpr int32_t Fatal = 4;

inline constexpr int32_t ListCount = Fatal + 1; // the named severities, DebugInformation to Fatal
inline constexpr int32_t Never = ListCount; // notification threshold no message reaches

struct Named {
    int32_t value;
    const char* name; // the configuration key of its keyword list
    const char* tag; // kestrano-tail's tag of a message; its -s option takes it in any case
    const char* icon; // the file name of its icon among the resources
};

inline constexpr Named Table[ListCount] = {
    {DebugInformation, "DebugInformation", "DEBUG", "debug.svg"},
    {Information, "Information", "INFO", "information.svg"},
    {Warning, "Warning", "WARN", "warning.svg"},
    {Error, "Error", "ERROR", "error.svg"},
    {Fatal, "Fatal", "FATAL", "fatal.svg"},
};

inline constexpr const char* UnknownTag = "?";

// Whether a severity has a row in the table.
constexpr bool isNamed(int32_t severity)
{
    return severity >= DebugInformation && severity < ListCount;
}

constexpr bool tableInOrder()
{
    for (int32_t i = 0; i < ListCount; ++i)
        if (Table[i].value != i)
            return false;
    return true;
}
static_assert(tableInOrder(), "a severity's row is its value");

} // namespace kestrano::Severity
