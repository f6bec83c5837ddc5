// The severity scale of a message. Severities are plain integers compared with < and >; the values
// 0 to 4 also index the keyword lists and the severity icons.
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
inline constexpr int32_t Never = 5; // notification threshold no message reaches

inline constexpr int32_t ListCount = 5; // keyword lists, DebugInformation to Fatal

} // namespace kestrano::Severity
