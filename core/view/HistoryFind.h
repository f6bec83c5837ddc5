// Finding a pattern over the rows a log view shows and the history before them, as one list: the kept
// rows through findRow, the history's messages through its search, which goes on in steps. Past the
// last kept row the search goes on from the file's first message, and back from there at the last.
#pragma once

#include "core/search/RowSearch.h"
#include "core/view/HistoryRows.h"

#include <cstdint>

namespace kestrano {

class ListControl;
class TextMatcher;

class HistoryFind {
public:
    using Deadline = HistoryRows::Deadline;

    // Where the search starts: a kept row (keptRow, -1 for none) or a history message (historyNumber,
    // -1 for none); includeFrom lets the starting row itself match.
    struct From {
        int32_t keptRow = -1;
        int64_t historyNumber = -1;
        bool forward = true;
        bool includeFrom = false;
    };
    struct Found {
        RowMatch kept; // a kept row, when the match is one (kept.row >= 0); its wrapped as below
        int64_t historyNumber = -1; // else the history message found, or -1 for no match
        bool wrapped = false;
    };

    // All three must outlive the search.
    HistoryFind(const ListControl& list, HistoryRows& history, const TextMatcher& matcher, const From& from);

    // Goes on until the deadline; true when done.
    bool step(Deadline deadline);
    const Found& getFound() const { return found; }

private:
    // Searches the history, in the direction asked; wraps marks a search past the kept rows' end or start.
    void searchHistory(HistoryRows::Search search, bool wraps);
    void keptDone(const RowMatch& match, bool wrapped);

    const ListControl& list;
    HistoryRows& history;
    const TextMatcher& matcher;
    From from;
    HistoryRows::Search search;
    bool searchWraps = false;
    bool done = false;
    // The kept rows' match to fall back on when the history holds none.
    RowMatch fallback;
    Found found;
};

} // namespace kestrano
