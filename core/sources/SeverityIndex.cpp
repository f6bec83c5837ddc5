#include "core/sources/SeverityIndex.h"

#include "foundation/Exception.h"

#include <algorithm>
#include <new>

namespace kestrano {
namespace {

int32_t codeOf(int32_t severity)
{
    return severity - Severity::Unknown;
}

} // namespace

// The last block is full, of another file or packed: a new one.
void SeverityIndex::appendToNewBlock(Place place, int32_t severity)
{
    Block block;
    block.place = place;
    block.first = count;
    if (!blocks.empty()) {
        Block& last = blocks.back();
        int64_t counts[Severities] = {}; // of the last block's messages
        if (last.bits == 8) {
            for (int32_t i = 0; i < last.size; ++i)
                ++counts[last.codes[static_cast<size_t>(i)]];
        } else {
            for (int32_t i = 0; i < last.size; ++i)
                ++counts[severityAt(last, i)];
        }
        for (int32_t s = 0; s < Severities; ++s)
            block.before[s] = last.before[s] + counts[s];
        close(last, counts);
    }
    block.codes.reset(new (std::nothrow) uint8_t[BlockSize]);
    if (!block.codes)
        throw haspel::EOutOfMemory();
    block.codes[0] = static_cast<uint8_t>(codeOf(severity));
    block.size = 1;
    blocks.push_back(std::move(block));
    ++count;
}

void SeverityIndex::appendStarts(int32_t file, uint64_t base, const MessageStarts::Start* starts, size_t n)
{
    for (size_t i = 0; i < n;) {
        Block* block = blocks.empty() ? nullptr : &blocks.back();
        if (!block || block->size == BlockSize || block->place.file != file || block->bits != 8) {
            appendToNewBlock({file, base + static_cast<uint64_t>(starts[i].offset)}, starts[i].severity);
            ++i;
            continue;
        }
        const size_t take = std::min(n - i, static_cast<size_t>(BlockSize - block->size));
        uint8_t* codes = block->codes.get() + block->size;
        for (size_t k = 0; k < take; ++k)
            codes[k] = static_cast<uint8_t>(codeOf(starts[i + k].severity));
        block->size += static_cast<int32_t>(take);
        count += static_cast<int64_t>(take);
        i += take;
    }
}

void SeverityIndex::raiseLast(int32_t severity)
{
    Block& block = blocks.back(); // open: its codes are severity codes
    uint8_t& code = block.codes[static_cast<size_t>(block.size - 1)];
    code = std::max(code, static_cast<uint8_t>(codeOf(severity)));
}

// Packs a full block with the fewest bits its distinct severities (those counted) need.
void SeverityIndex::close(Block& block, const int64_t (&counts)[Severities])
{
    if (block.bits != 8)
        return;
    uint8_t code[Severities] = {};
    int32_t distinct = 0;
    for (int32_t s = 0; s < Severities; ++s) {
        if (counts[s] > 0) {
            code[s] = static_cast<uint8_t>(distinct);
            block.palette[distinct++] = static_cast<uint8_t>(s);
        }
    }
    const uint8_t bits = distinct <= 1 ? 0 : distinct <= 2 ? 1 : distinct <= 4 ? 2 : 3;
    std::unique_ptr<uint8_t[]> packed;
    if (bits > 0) {
        // A byte more, so that a code may be read as part of two bytes.
        const size_t bytes = (static_cast<size_t>(block.size) * bits + 7) / 8 + 1;
        packed.reset(new (std::nothrow) uint8_t[bytes]());
        if (!packed)
            return; // stays open: correct, only larger
        // Codes gathered low bits first, written a byte at a time.
        uint32_t gathered = 0;
        uint32_t gatheredBits = 0;
        size_t at = 0;
        for (int32_t i = 0; i < block.size; ++i) {
            gathered |= static_cast<uint32_t>(code[block.codes[static_cast<size_t>(i)]]) << gatheredBits;
            gatheredBits += bits;
            if (gatheredBits >= 8) {
                packed[at++] = static_cast<uint8_t>(gathered);
                gathered >>= 8;
                gatheredBits -= 8;
            }
        }
        packed[at] = static_cast<uint8_t>(gathered);
    }
    block.codes = std::move(packed);
    block.bits = bits;
}

int32_t SeverityIndex::severityAt(const Block& block, int32_t i)
{
    const int32_t code = codeAt(block, i);
    return block.bits == 8 ? code : block.palette[code];
}

int32_t SeverityIndex::codeAt(const Block& block, int32_t i)
{
    switch (block.bits) {
    case 8:
        return block.codes[static_cast<size_t>(i)];
    case 0:
        return 0;
    default: {
        const uint32_t bit = static_cast<uint32_t>(i) * block.bits;
        const uint32_t pair = block.codes[bit / 8] | static_cast<uint32_t>(block.codes[bit / 8 + 1]) << 8;
        return static_cast<int32_t>((pair >> (bit % 8)) & ((1u << block.bits) - 1));
    }
    }
}

void SeverityIndex::truncate(int64_t number)
{
    while (!blocks.empty() && blocks.back().first >= number)
        blocks.pop_back();
    if (!blocks.empty() && blocks.back().first + blocks.back().size > number) {
        // Only the open block is cut inside; a packed one is unpacked first.
        Block& block = blocks.back();
        std::unique_ptr<uint8_t[]> codes(new (std::nothrow) uint8_t[BlockSize]);
        if (!codes)
            throw haspel::EOutOfMemory();
        block.size = static_cast<int32_t>(number - block.first);
        for (int32_t i = 0; i < block.size; ++i)
            codes[static_cast<size_t>(i)] = static_cast<uint8_t>(severityAt(block, i));
        block.codes = std::move(codes);
        block.bits = 8;
        std::fill(std::begin(block.palette), std::end(block.palette), 0);
    }
    count = blocks.empty() ? 0 : blocks.back().first + blocks.back().size;
}

void SeverityIndex::clear()
{
    blocks.clear();
    count = 0;
}

int32_t SeverityIndex::blockOf(int64_t number) const
{
    const auto it = std::upper_bound(
        blocks.begin(), blocks.end(), number, [](int64_t n, const Block& block) { return n < block.first; });
    return static_cast<int32_t>(it - blocks.begin()) - 1;
}

int64_t SeverityIndex::getBlockEnd(int32_t block) const
{
    const Block& b = blocks[static_cast<size_t>(block)];
    return b.first + b.size;
}

int32_t SeverityIndex::firstBlockOf(int32_t file) const
{
    const auto it = std::lower_bound(blocks.begin(), blocks.end(), file,
        [](const Block& block, int32_t f) { return block.place.file < f; });
    return static_cast<int32_t>(it - blocks.begin());
}

int32_t SeverityIndex::getSeverity(int64_t number) const
{
    const Block& block = blocks[static_cast<size_t>(blockOf(number))];
    return severityAt(block, static_cast<int32_t>(number - block.first)) + Severity::Unknown;
}

int64_t SeverityIndex::passingBefore(const Block& block, const SeverityFilter& filter)
{
    int64_t passing = 0;
    for (int32_t s = 0; s < Severities; ++s)
        passing += filter.passes(s + Severity::Unknown) ? block.before[s] : 0;
    return passing;
}

int64_t SeverityIndex::passingIn(const Block& block, int32_t end, const SeverityFilter& filter)
{
    bool passes[Severities];
    for (int32_t s = 0; s < Severities; ++s)
        passes[s] = filter.passes(s + Severity::Unknown);
    int64_t passing = 0;
    if (block.bits == 8) {
        for (int32_t i = 0; i < end; ++i)
            passing += passes[block.codes[static_cast<size_t>(i)]];
        return passing;
    }
    bool codePasses[Severities] = {};
    for (int32_t c = 0; c < Severities; ++c)
        codePasses[c] = passes[block.palette[c]];
    for (int32_t i = 0; i < end; ++i)
        passing += codePasses[codeAt(block, i)];
    return passing;
}

int64_t SeverityIndex::countPassing(const SeverityFilter& filter, int64_t before) const
{
    if (before <= 0 || blocks.empty())
        return 0;
    before = std::min(before, count);
    const Block& block = blocks[static_cast<size_t>(blockOf(before - 1))];
    return passingBefore(block, filter)
        + passingIn(block, static_cast<int32_t>(before - block.first), filter);
}

bool SeverityIndex::blockPasses(int32_t block, const SeverityFilter& filter) const
{
    const Block& b = blocks[static_cast<size_t>(block)];
    const int64_t after = static_cast<size_t>(block) + 1 < blocks.size()
        ? passingBefore(blocks[static_cast<size_t>(block) + 1], filter)
        : passingBefore(b, filter) + passingIn(b, b.size, filter);
    return after > passingBefore(b, filter);
}

int64_t SeverityIndex::findPassing(const SeverityFilter& filter, int64_t rank) const
{
    if (rank < 0 || blocks.empty())
        return FileHistory::NoMessage;
    // The last block with fewer passing messages before it than rank + 1.
    const auto it = std::partition_point(blocks.begin(), blocks.end(),
        [&](const Block& block) { return passingBefore(block, filter) <= rank; });
    const Block& block = *(it - 1);
    int64_t left = rank - passingBefore(block, filter);
    // Where every message of the block passes (no filter, or a block of one severity), no need to look.
    if (it != blocks.end() && passingBefore(*it, filter) - passingBefore(block, filter) == block.size)
        return block.first + left;
    for (int32_t i = 0; i < block.size; ++i) {
        if (filter.passes(severityAt(block, i) + Severity::Unknown) && left-- == 0)
            return block.first + i;
    }
    return FileHistory::NoMessage;
}

int64_t SeverityIndex::getMemoryBytes() const
{
    int64_t bytes = static_cast<int64_t>(blocks.capacity() * sizeof(Block));
    for (const Block& block : blocks)
        bytes += block.bits == 8 ? BlockSize
            : block.bits == 0    ? 0
                                 : (int64_t {block.size} * block.bits + 7) / 8 + 1;
    return bytes;
}

} // namespace kestrano
