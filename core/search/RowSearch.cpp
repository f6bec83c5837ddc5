#include "core/search/RowSearch.h"

#include "core/ports/ListControl.h"
#include "core/search/TextMatcher.h"
#include "core/text/Message.h"

namespace kestrano {

RowMatch findRow(
    const ListControl& list, const TextMatcher& matcher, int32_t from, bool forward, bool includeFrom)
{
    const int32_t rows = list.rowCount();
    if (from < 0 && !forward)
        from = rows;
    // One pass: the count, the first and last matches, and the nearest one in the direction asked.
    RowMatch result;
    int32_t first = -1, last = -1, firstOrdinalAfter = 0, lastOrdinalBefore = 0;
    int32_t after = -1, before = -1;
    for (int32_t row = 0; row < rows; ++row) {
        const Message* message = list.rowMessage(row);
        if (!message || !matcher.matches(*message))
            continue;
        ++result.count;
        if (first < 0)
            first = row;
        last = row;
        if (after < 0 && (row > from || (includeFrom && row == from))) {
            after = row;
            firstOrdinalAfter = result.count;
        }
        if (row < from || (includeFrom && row == from)) {
            before = row;
            lastOrdinalBefore = result.count;
        }
    }
    if (result.count == 0)
        return result;
    if (forward) {
        result.wrapped = after < 0;
        result.row = result.wrapped ? first : after;
        result.ordinal = result.wrapped ? 1 : firstOrdinalAfter;
    } else {
        result.wrapped = before < 0;
        result.row = result.wrapped ? last : before;
        result.ordinal = result.wrapped ? result.count : lastOrdinalBefore;
    }
    return result;
}

} // namespace kestrano
