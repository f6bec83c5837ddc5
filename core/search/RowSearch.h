// Finding a log list's rows whose message matches: the next or previous one from a row, wrapping
// around, with the count of matching rows and the place of the one found among them.
#pragma once

#include <cstdint>

namespace kestrano {

class ListControl;
class TextMatcher;

struct RowMatch {
    int32_t row = -1; // -1: no row matches
    int32_t ordinal = 0; // 1 for the first matching row
    int32_t count = 0;
    bool wrapped = false; // found only past the end (or the start, going back)
};

// The first matching row after from (or at it, with includeFrom), going forward or back; past the last
// row the search goes on from the first (and back from the first, at the last). from may be -1 (before
// the first row going forward, after the last going back).
RowMatch findRow(
    const ListControl& list, const TextMatcher& matcher, int32_t from, bool forward, bool includeFrom);

} // namespace kestrano
