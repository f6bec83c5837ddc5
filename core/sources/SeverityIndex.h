// The severities of a long run of messages, numbered from 0, at well under a byte each: in blocks of at
// most BlockSize messages, each packed with as few bits as its distinct severities need, beside the
// counts of every severity before it. A block also remembers where its first message starts, so a
// message can be found again in its file from the block's start.
#pragma once

#include "core/sources/FileHistory.h"
#include "core/sources/MessageStarts.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kestrano {

class SeverityIndex {
public:
    static constexpr int32_t BlockSize = 4096;
    static constexpr int32_t Severities = Severity::ListCount + 1; // Unknown and the named ones

    // Where a block's first message starts.
    struct Place {
        int32_t file = 0;
        uint64_t offset = 0;
    };

    // Appends a message of this severity starting at place. A message of another file than the one
    // before starts a new block. Running out of memory throws.
    void append(Place place, int32_t severity)
    {
        const MessageStarts::Start start {0, severity, false};
        appendStarts(place.file, place.offset, &start, 1);
    }
    // Appends the messages of starts[0..n), of one file, whose offsets count from base.
    void appendStarts(int32_t file, uint64_t base, const MessageStarts::Start* starts, size_t n);
    // Raises the severity of the last message to at least this one.
    void raiseLast(int32_t severity);
    // Forgets the messages from number on (not before the start of their file's first block).
    void truncate(int64_t number);
    void clear();

    int64_t getCount() const { return count; }
    int32_t getSeverity(int64_t number) const;
    int64_t countPassing(const SeverityFilter& filter, int64_t before) const;
    int64_t findPassing(const SeverityFilter& filter, int64_t rank) const;

    // The blocks: the one holding a message, its first message and its start.
    int32_t getBlockCount() const { return static_cast<int32_t>(blocks.size()); }
    int32_t blockOf(int64_t number) const;
    int64_t getBlockFirst(int32_t block) const { return blocks[static_cast<size_t>(block)].first; }
    int64_t getBlockEnd(int32_t block) const;
    Place getBlockPlace(int32_t block) const { return blocks[static_cast<size_t>(block)].place; }
    // Whether any message of the block passes the filter.
    bool blockPasses(int32_t block, const SeverityFilter& filter) const;
    // The first block of the file (the block count when it has none).
    int32_t firstBlockOf(int32_t file) const;

    // Bytes held, for the benchmark's figure.
    int64_t getMemoryBytes() const;

private:
    struct Block {
        Place place;
        int64_t first = 0; // the number of its first message
        int64_t before[Severities] = {}; // messages of each severity before the block
        int32_t size = 0;
        uint8_t bits = 8; // per message: 0 (one severity), 1, 2, 3; 8 while open
        uint8_t palette[Severities] = {};
        std::unique_ptr<uint8_t[]> codes;
    };
    void appendToNewBlock(Place place, int32_t severity);
    static int32_t codeAt(const Block& block, int32_t i);
    // The severity code (severity - Unknown) of the block's message i.
    static int32_t severityAt(const Block& block, int32_t i);
    void close(Block& block, const int64_t (&counts)[Severities]);
    // How many messages of block [0, end) the filter passes.
    static int64_t passingIn(const Block& block, int32_t end, const SeverityFilter& filter);
    static int64_t passingBefore(const Block& block, const SeverityFilter& filter);

    std::vector<Block> blocks;
    int64_t count = 0;
};

} // namespace kestrano
