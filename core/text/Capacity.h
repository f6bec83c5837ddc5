// Buffer growth for text that is appended to piece by piece: doubling, so appending stays linear.
#pragma once

#include <cstdint>

namespace kestrano {

// The capacity for a buffer of `capacity` bytes that must hold `needed` bytes (needed > capacity).
inline int32_t grownCapacity(int32_t capacity, int32_t needed)
{
    const int32_t doubled = capacity > INT32_MAX / 2 ? INT32_MAX : capacity * 2;
    return needed > doubled ? needed : doubled;
}

} // namespace kestrano
