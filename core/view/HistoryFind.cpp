#include "core/view/HistoryFind.h"

#include "core/ports/ListControl.h"

namespace kestrano {

HistoryFind::HistoryFind(
    const ListControl& list, HistoryRows& history, const TextMatcher& matcher, const From& from)
    : list(list)
    , history(history)
    , matcher(matcher)
    , from(from)
{
    if (from.historyNumber >= 0) {
        // From a history row: the history first, then the kept rows.
        const int64_t start
            = from.includeFrom ? from.historyNumber + (from.forward ? -1 : 1) : from.historyNumber;
        searchHistory(from.forward ? history.searchAfter(start) : history.searchBefore(start), false);
        return;
    }
    const RowMatch match = findRow(list, matcher, from.keptRow, from.forward, from.includeFrom);
    // Going back past the first kept row, or forward past the last, leads into the history.
    if (match.row >= 0 && !match.wrapped) {
        keptDone(match, false);
        return;
    }
    fallback = match;
    searchHistory(from.forward ? history.searchAfter(-1) : history.searchBefore(-1), from.forward);
}

void HistoryFind::searchHistory(HistoryRows::Search chosen, bool wraps)
{
    search = chosen;
    searchWraps = wraps;
}

void HistoryFind::keptDone(const RowMatch& match, bool wrapped)
{
    found.kept = match;
    found.kept.wrapped = wrapped;
    found.wrapped = wrapped;
    done = true;
}

bool HistoryFind::step(Deadline deadline)
{
    if (done)
        return true;
    if (!history.findStep(search, matcher, deadline))
        return false;
    if (search.found >= 0) {
        found.historyNumber = search.found;
        found.wrapped = searchWraps;
        done = true;
        return true;
    }
    if (from.historyNumber >= 0) {
        // Nothing more in the history that way: the kept rows, from their start or (wrapping) end.
        const RowMatch match = findRow(list, matcher, -1, from.forward, false);
        if (match.row >= 0) {
            keptDone(match, !from.forward);
            return true;
        }
        // Only the history may match: around it once more, from its other end; a miss then ends it.
        searchHistory(from.forward ? history.searchAfter(-1) : history.searchBefore(-1), true);
        fallback = {};
        from.historyNumber = -1;
        return false;
    }
    keptDone(fallback, fallback.wrapped);
    return true;
}

} // namespace kestrano
