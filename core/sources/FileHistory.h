// The whole of a log file behind the messages a view keeps: an index of where its messages start and
// of their severities, built in time-bounded slices on the caller's thread and kept without any text,
// from which messages are read again by number, counted by severity and searched for a text. The
// history may run on into the log's rotated siblings (oldest first, the log last).
#pragma once

#include "core/ports/FileSystem.h"
#include "core/search/TextMatcher.h"
#include "core/text/Message.h"
#include "core/text/Severity.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrano {

class CuttingRules;
class HistoryFileReader;
struct KeptStart;

// Which severities a view's severity filter shows: those at or above minimum, and Unknown only when
// showUnknown is set.
struct SeverityFilter {
    int32_t minimum = Severity::DebugInformation;
    bool showUnknown = true;

    bool passes(int32_t severity) const
    {
        return severity == Severity::Unknown ? showUnknown : severity >= minimum;
    }
};

// A search of the history for messages whose text matches, going on over as many slices as it needs.
// Only messages the severity filter passes (and the text filter, when one is given) are looked at.
class HistorySearch {
public:
    enum class Kind {
        Backward, // the nearest matching message before `from`
        Forward, // the nearest matching message at or after `from`
        Count, // how many messages match in the whole history
    };
    // The matchers must outlive the search. textFilter, when given, is the view's text filter:
    // a message passes it when it matches (or, with filterHides, when it doesn't).
    HistorySearch(const TextMatcher& matcher, Kind kind, int64_t from, SeverityFilter severities = {},
        const TextMatcher* textFilter = nullptr, bool filterHides = false);

    bool isDone() const { return done; }
    // Once done: Backward and Forward, the number of the message found, or FileHistory::NoMessage;
    // Count, the number of matching messages.
    int64_t getResult() const { return result; }
    Kind getKind() const { return kind; }

private:
    friend class FileHistory;

    const TextMatcher& matcher;
    const Kind kind;
    const SeverityFilter severities;
    const TextMatcher* const textFilter;
    const bool filterHides;
    int64_t from;
    bool done = false;
    int64_t result = -1;
    // How far the search has come: the block of the index to look at next (of this generation).
    int64_t next = 0;
    // Searching back through a compressed file forward: the block the pass ends at (-1: none) and the
    // last match it found.
    int64_t passEnd = -1;
    int64_t passFound = -1;
    uint32_t generation = 0;
    bool started = false;
};

class FileHistory {
public:
    using Deadline = std::chrono::steady_clock::time_point;
    static constexpr int64_t NoMessage = -1;

    // The history of the log at path (a full path) and, withSiblings, of its rotated siblings before it.
    // Nothing is read yet. The file system and the rules must outlive the history; the rules are taken
    // at each (re)start, so a change of them acts after restart().
    FileHistory(std::string path, bool withSiblings, FileSystem& files, const CuttingRules& rules);
    ~FileHistory();
    FileHistory(const FileHistory&) = delete;
    FileHistory& operator=(const FileHistory&) = delete;

    // Indexes on until caught up with the files or past the deadline; true while more is left. Follows
    // the log's growth, and starts over (a new generation) when the log was truncated, rewritten,
    // replaced or rotated: called again at each poll, it costs one statx while the log is unchanged.
    // Running out of memory throws (haspel::EOutOfMemory or std::bad_alloc); the next call starts over.
    bool advance(Deadline deadline);
    // Drops the index and builds it anew, the siblings listed again, at the next advance.
    void restart();
    // Changes whenever the index is dropped: message numbers taken before mean nothing after.
    uint32_t getGeneration() const { return generation; }
    // The chain's files, oldest first, the log last.
    const std::vector<std::string>& getFiles() const { return files; }
    // Why the last file that could not be read failed (empty: none failed); such a file is left out.
    const std::string& getFailureReason() const { return failure; }

    // The messages indexed so far, numbered from 0, the oldest first. Only complete lines are indexed:
    // the last message may still grow by continuation lines, but none starts unseen before it.
    int64_t getMessageCount() const;
    // How far into the log (the chain's last file) the index has come.
    uint64_t getIndexedPosition() const;
    // The number of messages that start before offset in the log (the siblings' all count): the
    // number of the first message at or after offset, once the index has come that far.
    int64_t getMessageNumberAt(uint64_t offset) const;
    // The same in the chain's file of that number (the files before it all count); a line that offset
    // cuts counts when it starts a message. The message count while the index has not judged that far.
    int64_t getMessageNumberAt(int32_t file, uint64_t offset) const;
    // Whether the index has judged the lines of the chain's file up to offset (all of a sibling).
    bool hasIndexed(int32_t file, uint64_t offset) const;
    // The chain's file where the kept messages began, the newest that is; -1 for none.
    int32_t findFile(const KeptStart& start) const;

    // The severity of a message indexed.
    int32_t getSeverity(int64_t number) const;
    // How many of the messages before `before` the filter passes.
    int64_t countPassing(const SeverityFilter& filter, int64_t before) const;
    // The number of the passing message of this rank (0: the first that passes), NoMessage when
    // fewer pass.
    int64_t findPassing(const SeverityFilter& filter, int64_t rank) const;

    // Appends to out the messages first to first + count - 1 (fewer at the end of the index), cut as
    // the view cuts them. False when a file could not be read or changed meanwhile (what was read
    // stays; advance notices the change). Running out of memory throws.
    bool readMessages(int64_t first, int32_t count, std::vector<std::unique_ptr<Message>>& out);

    // The memory the index holds, in bytes (its buffers aside).
    int64_t getIndexBytes() const;

    // Goes on with the search until it is done (true) or past the deadline (false). A search begun in
    // another generation starts over. Running out of memory throws.
    bool search(HistorySearch& search, Deadline deadline);

private:
    class Index;
    bool advanceSlices(Deadline deadline);
    bool openFile(uint64_t offset);
    bool logUnchanged(bool& grown);
    bool siblingsRemain() const;
    int32_t readBlock();
    void finishLog();
    void noteLogEnd(uint64_t end);
    HistoryFileReader* readerAt(int32_t file, uint64_t offset, std::unique_ptr<HistoryFileReader>& own);
    bool blockMayMatch(int32_t block, const std::vector<TextMatcher::Needle>& needles);

    std::unique_ptr<Index> index;
    const std::string path;
    const bool withSiblings;
    FileSystem& fileSystem;
    const CuttingRules& rules;
    std::vector<std::string> files;
    std::string failure;
    uint32_t generation = 0;
    bool broken = false; // an advance was cut short by running out of memory
};

} // namespace kestrano
