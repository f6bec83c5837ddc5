// A moment as the user types it to go there: an ISO 8601 date and time, a date alone (its midnight) or a
// time of day alone, which means the last such moment not after a given one (the newest message).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrano {

// Microseconds since the epoch of "2026-12-09T14:02", "2026-12-09 14:02:05.250+01:00" (also Z, +0100),
// "2026-12-09" or "14:02[:05[.250]]"; local time unless an offset is given; surrounding spaces allowed.
// std::nullopt when the text is none of these or names no valid moment.
std::optional<int64_t> readTimeInput(std::string_view text, int64_t newestMicroseconds);

// The last moment not after newestMicroseconds (local time) at this time of day; std::nullopt when a
// field is out of range.
std::optional<int64_t> lastTimeOfDay(
    int32_t hour, int32_t minute, int32_t second, int32_t micro, int64_t newestMicroseconds);

} // namespace kestrano
