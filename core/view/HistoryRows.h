// The rows of a log's history: the messages of the whole file before the kept ones, under the view's
// filters. The newest are revealed first, as the user scrolls up to them; a first row tells how many
// earlier ones are not revealed yet; revealed rows far from the screen are concealed again, the oldest
// first, and counted by the first row. A row's message is read from the file when it is asked for, in
// pieces, and pieces far from the rows asked for last are dropped again. The file's index is built in
// slices by advance, which the view's poll calls after its own work.
#pragma once

#include "core/sources/FileHistory.h"
#include "core/sources/KeptStart.h"
#include "core/text/Message.h"
#include "core/view/MessageFilter.h"
#include "foundation/ContainingList.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kestrano {

class CuttingRules;
class FileSystem;
class TextMatcher;

class HistoryRows {
public:
    using Deadline = std::chrono::steady_clock::time_point;
    // Messages read from the file at once, and pieces kept around the rows asked for last.
    static constexpr int64_t PieceMessages = 256;
    static constexpr size_t KeptPieces = 12;
    // Filtered messages tried per step of a text filter's scan.
    static constexpr int64_t ScanStep = 1024;

    // What a change did to the rows, for the list to follow.
    struct Change {
        int32_t addedAtStart = 0; // revealed above the revealed ones
        int32_t addedAtEnd = 0; // messages that left the kept ones
        // Rows concealed from the start of those the list was told of, before the rows added.
        int32_t concealed = 0;
        bool header = false; // the first row's text or presence changed
        bool reset = false; // everything may have changed
    };

    HistoryRows(const CuttingRules& rules, FileSystem& files);
    ~HistoryRows();
    HistoryRows(const HistoryRows&) = delete;
    HistoryRows& operator=(const HistoryRows&) = delete;

    // Notes where the kept messages begin: at readStart in the file now at path, or after the line
    // there with skipFirstLine. After a rotation messagesBefore tells how many messages the view made of
    // the files before (those kept and those that left); with none, the kept ones begin here anew.
    // Noted whether the history is on or not, it counts at the next start.
    void noteKeptStart(
        const std::string& path, uint64_t readStart, bool skipFirstLine, int64_t messagesBefore);
    // Starts anew over the log at path (and its rotated files before it, withSiblings), up to the kept
    // messages' start, found in the file where it was noted, which rotation may have renamed or
    // compressed. Nothing is read yet.
    void start(const std::string& path, bool withSiblings);
    // Drops the index and every row.
    void stop();
    bool isOn() const { return history != nullptr; }
    // Applies the view's filters; the rows are counted again (a text filter scans the file anew).
    void setFilter(const RowFilter& filter);
    // messages more left the kept ones (the oldest first), passing or not; they become the newest
    // history rows.
    void keptLeft(int64_t messages);

    // Builds the index and scans for the text filter until the deadline; true while work is left.
    bool advance(Deadline deadline);
    // Whether the count is final: the index reached the kept messages (and those that left them), a
    // text filter's scan the start.
    bool isCounted() const;

    // The rows before the kept ones: the first row while earlier messages are not revealed, then the
    // revealed messages, oldest first.
    int32_t getRowCount() const { return (hasHeader() ? 1 : 0) + static_cast<int32_t>(revealed); }
    bool hasHeader() const { return isOn() && (revealed < getFilteredCount() || !isCounted()); }
    // The messages the first row stands for (not revealed yet).
    int64_t getEarlierCount() const { return getFilteredCount() - revealed; }
    int64_t getRevealedCount() const { return revealed; }
    // The message of a revealed row (0: the oldest revealed), nullptr when it could not be read; it
    // lives until the next call that reads or changes the rows.
    const Message* revealedMessage(int64_t row);
    // The number in the file of a revealed row's message, -1 for none.
    int64_t revealedNumber(int64_t row) const;
    // Reveals up to rows more (all with a negative count); the rows added at the start.
    int32_t reveal(int64_t rows);
    // Conceals up to rows revealed rows again, the oldest first, which the first row counts then; the
    // rows concealed.
    int64_t conceal(int64_t rows);
    // The messages of the log before the kept ones, filtered or not.
    int64_t getHistoryCount() const { return boundary; }

    // A search of the history's rows for a pattern, going on across calls of findStep: the rows'
    // messages from `next` on (back to the first message, or forward to the kept ones).
    struct Search {
        int64_t next = 0; // the message number tried next
        bool forward = false;
        int64_t found = -1; // the number of the message found, once done
        bool done = false;
        bool counts = false; // goes through every row, counting the matches
        int64_t count = 0;
        // Finding: the index's search, which passes over blocks that cannot match.
        std::shared_ptr<HistorySearch> indexSearch;
    };
    // A search from the history's newest message back, or from the message after number forward
    // (number -1: from the first), or a count over every row (forward from the first, not stopping).
    Search searchBefore(int64_t number) const;
    Search searchAfter(int64_t number) const;
    Search countAll() const;
    // A count of the matches from the message number on, to the kept messages.
    Search countFrom(int64_t number) const;
    // Goes on with the search until the deadline; true when it is done.
    bool findStep(Search& search, const TextMatcher& matcher, Deadline deadline);
    // Reveals the history down to the message, which must be a row; its revealed row, -1 if it is none.
    int64_t revealDownTo(int64_t number);
    // The number of the first message of the rows (revealed or not) that states a time at or after the
    // moment (microseconds since the epoch); -1 when none does or the count is not final. Reads the
    // messages a binary search needs.
    int64_t firstAtOrAfterTime(int64_t microseconds);

    // What changed since the last call, which forgets it.
    Change takeChange();
    bool hasChange() const
    {
        return change.reset || change.header || change.addedAtStart > 0 || change.addedAtEnd > 0
            || change.concealed > 0;
    }

private:
    int64_t getFilteredCount() const;
    // The number in the file of the filtered message at ordinal (0: the oldest).
    int64_t numberOf(int64_t ordinal) const;
    const Message* message(int64_t number);
    void settleBoundary();
    // Picks the kept start the boundary is counted from, and its file in the history.
    void chooseKeptStart();
    // Kept messages that left and are not rows yet.
    int64_t getPendingLeft() const;
    void scanStep(Deadline deadline);
    // Forgets every number taken from the index (it was dropped and is built anew).
    void forgetNumbers();
    std::vector<std::unique_ptr<Message>> read(int64_t first, int64_t count);
    void addAtEnd(int64_t from, int64_t to);
    bool hasTextFilter() const { return filter.matcher != nullptr; }

    const CuttingRules& rules;
    FileSystem& files;
    std::unique_ptr<FileHistory> history;
    uint32_t generation = 0; // of the index the numbers were taken from
    std::string logPath;
    RowFilter filter;
    // Where the kept messages began, in the log and before each rotation since, oldest first; the one
    // the boundary is counted from and its file in the history (-1: none chosen yet).
    std::vector<KeptStart> keptStarts;
    size_t chosenStart = 0;
    int32_t keptFile = -1;
    bool boundarySettled = false; // the index reached the kept messages
    int64_t boundary = 0; // the number of the first kept message (once settled)
    // Kept messages that left since the start, those of them made of files before the chosen kept
    // start, and those added as rows.
    int64_t leftTold = 0;
    int64_t leftSkipped = 0;
    int64_t leftAdded = 0;
    int64_t revealed = 0;
    // With a text filter: the numbers of the passing messages found, newest first, and where the scan
    // goes on (it is done at 0).
    std::deque<int64_t> found;
    int64_t scanFrom = 0;
    // Pieces read, by their first message's number.
    std::map<int64_t, std::vector<std::unique_ptr<Message>>> pieces;
    Change change;
};

} // namespace kestrano
