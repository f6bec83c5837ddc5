#include "core/sources/FileHistory.h"

#include "config/FileStatus.h"
#include "core/search/CaselessSearch.h"
#include "core/search/TextMatcher.h"
#include "core/sources/HistoryReading.h"
#include "core/sources/KeptStart.h"
#include "core/sources/MessageStarts.h"
#include "core/sources/RotatedSiblings.h"
#include "core/sources/SeverityIndex.h"
#include "core/text/CuttingRules.h"
#include "core/text/LineCutter.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kestrano {
namespace {

using Clock = std::chrono::steady_clock;

// Indexing reads blocks of this size; a line longer than that is judged by its first block.
constexpr int32_t BlockBytes = 1 << 18;
// The bytes before the indexed end of the log compared before indexing on.
constexpr int32_t TailSize = 64;

} // namespace

// What the history knows and where its building stands.
class FileHistory::Index {
public:
    explicit Index(const CuttingRules& rules)
        : rules(rules)
    { }

    struct ChainFile {
        std::string path;
        int64_t firstMessage = 0;
        LogLayout layout;
    };

    HistoryRules rules;
    std::vector<ChainFile> chain;
    SeverityIndex severities;

    // Building: the file being indexed and the text of it read but not yet judged.
    int32_t file = 0;
    std::unique_ptr<HistoryFileReader> reader;
    std::unique_ptr<MessageStarts> finder;
    std::string buffer;
    int32_t held = 0; // bytes of buffer read but not judged: the start of an incomplete line
    uint64_t heldOffset = 0; // the file offset of buffer[0]
    std::vector<MessageStarts::Start> starts;
    std::string scratch; // for searches
    // The reader of a compressed file last read in passing, and which of the chain it reads.
    std::unique_ptr<HistoryFileReader> compressedReader;
    int32_t compressedFile = -1;

    // The log: indexed to its end once, then followed.
    bool reachedLog = false;
    bool complete = false;
    bool layoutSettled = false;
    FileSystem::Identity identity {};
    uint64_t indexedEnd = 0; // after its last complete line
    // The log as it was when last looked at: where its indexed part then ended, the bytes before
    // that (of a plain log), its length on the disk and its time.
    uint64_t checkedEnd = 0;
    std::string tail;
    uint64_t length = 0;
    int64_t modified = 0;
};

HistorySearch::HistorySearch(const TextMatcher& matcher, Kind kind, int64_t from, SeverityFilter severities,
    const TextMatcher* textFilter, bool filterHides)
    : matcher(matcher)
    , kind(kind)
    , severities(severities)
    , textFilter(textFilter)
    , filterHides(filterHides)
    , from(from)
{ }

FileHistory::FileHistory(std::string path, bool withSiblings, FileSystem& files, const CuttingRules& rules)
    : path(std::move(path))
    , withSiblings(withSiblings)
    , fileSystem(files)
    , rules(rules)
{
    restart();
}

FileHistory::~FileHistory() = default;

void FileHistory::restart()
{
    index.reset();
    ++generation;
    files.clear();
    if (withSiblings) {
        std::vector<std::string> siblings = listRotatedSiblings(path);
        files.assign(siblings.rbegin(), siblings.rend());
    }
    files.push_back(path);
    index = std::make_unique<Index>(rules);
    for (const std::string& file : files)
        index->chain.push_back({file, 0, {}});
}

// Opens the file to index at offset (its start, recognising its layout, or the end of what was indexed
// of the log): false when it can't be read.
bool FileHistory::openFile(uint64_t offset)
{
    Index& x = *index;
    Index::ChainFile& file = x.chain[static_cast<size_t>(x.file)];
    const bool isLog = x.file + 1 == static_cast<int32_t>(files.size());
    if (offset == 0) {
        bool ok = false;
        PrimedCutter primed(fileSystem, file.path, x.rules, true, failure, ok);
        if (!ok)
            return false;
        file.layout = primed.getCutter().getLayout();
        file.firstMessage = x.severities.getCount();
        x.finder = std::make_unique<MessageStarts>(x.rules, file.layout);
        if (isLog)
            x.layoutSettled = primed.isSettled();
    }
    auto reader = std::make_unique<HistoryFileReader>(fileSystem, file.path);
    if (!reader->open(offset, failure))
        return false;
    if (isLog) {
        x.reachedLog = true;
        if (!fileSystem.identify(reader->getHandle(), x.identity))
            x.identity = {};
    }
    x.reader = std::move(reader);
    x.held = 0;
    x.heldOffset = offset;
    return true;
}

// Whether the log is still the file it was when noteLogEnd looked at it; grown tells it has more.
bool FileHistory::logUnchanged(bool& grown)
{
    Index& x = *index;
    grown = false;
    haspel::FileStatus status(path.c_str());
    status.Refresh(false, false);
    if (!status.Exists() || !status.IsRegularFile() || status.GetDevice() != x.identity.device
        || status.GetInode() != x.identity.inode || status.GetSize() < x.length)
        return false;
    if (status.GetSize() == x.length && status.GetModificationTime() == x.modified)
        return true;
    HistoryFileReader reader(fileSystem, path);
    if (!reader.open(0, failure))
        return true; // tried again at the next advance
    if (reader.isCompressed())
        return false; // a compressed log that changed is read anew
    uint64_t size = 0;
    FileSystem::Identity identity;
    if (!fileSystem.length(reader.getHandle(), size) || !fileSystem.identify(reader.getHandle(), identity)
        || identity.inode != x.identity.inode || size < x.length)
        return false;
    std::string tail(x.tail.size(), '\0');
    if (!tail.empty()
        && fileSystem.readAt(
               reader.getHandle(), tail.data(), static_cast<int32_t>(tail.size()), x.checkedEnd - tail.size())
            != static_cast<int32_t>(tail.size()))
        return true;
    if (tail != x.tail)
        return false;
    x.modified = status.GetModificationTime();
    grown = size > x.length;
    x.length = size;
    return true;
}

// Whether every sibling indexed is still there: compressing one after rotation removes it.
bool FileHistory::siblingsRemain() const
{
    for (size_t file = 0; file + 1 < files.size(); ++file) {
        haspel::FileStatus status(files[file].c_str());
        status.Refresh(false, false);
        if (!status.Exists())
            return false;
    }
    return true;
}

bool FileHistory::advance(Deadline deadline)
{
    if (broken) {
        restart();
        broken = false;
    }
    try {
        return advanceSlices(deadline);
    } catch (...) {
        broken = true;
        throw;
    }
}

bool FileHistory::advanceSlices(Deadline deadline)
{
    Index& x = *index;
    const auto last = static_cast<int32_t>(files.size()) - 1;
    if (x.complete) {
        bool grown = false;
        if (!logUnchanged(grown) || !siblingsRemain()) {
            restart();
            return true;
        }
        if (!grown)
            return false;
        x.complete = false;
        if (!x.layoutSettled) {
            // Its layout was recognised from too few lines: recognised again, the log is indexed anew.
            x.severities.truncate(x.chain[static_cast<size_t>(last)].firstMessage);
            x.finder.reset();
            if (!openFile(0))
                return false;
        } else if (!openFile(x.indexedEnd)) {
            x.complete = true;
            return false;
        }
    }
    if (x.file == last && x.reader) {
        // Indexing the log: it must still be the file it was at the last slice.
        bool grown = false;
        if (!logUnchanged(grown)) {
            restart();
            return true;
        }
    }
    for (;;) {
        if (x.file == last && !x.reachedLog && withSiblings) {
            // The siblings were rotated on while they were indexed: they are listed anew.
            std::vector<std::string> siblings = listRotatedSiblings(path);
            if (!std::equal(siblings.rbegin(), siblings.rend(), files.begin(), files.end() - 1)) {
                restart();
                return true;
            }
        }
        // A log that failed to be read goes on where it was.
        if (!x.reader && !openFile(x.file == last && x.reachedLog ? x.heldOffset : 0)) {
            if (x.file == last)
                return false;
            ++x.file;
            continue;
        }
        const int32_t got = readBlock();
        if (got < 0) {
            x.reader.reset();
            if (x.file == last)
                return false;
            ++x.file;
            continue;
        }
        if (got == 0) {
            x.reader.reset();
            if (x.file == last) {
                finishLog();
                return false;
            }
            x.finder.reset();
            ++x.file;
            continue;
        }
        if (Clock::now() >= deadline) {
            if (x.file == last)
                noteLogEnd(x.heldOffset);
            return true;
        }
    }
}

// Reads the next block of the file being indexed and notes the messages of its complete lines (of a
// sibling at its end, also of its last line): the bytes read, 0 at the end, -1 on failure.
int32_t FileHistory::readBlock()
{
    Index& x = *index;
    const bool isLog = x.file + 1 == static_cast<int32_t>(files.size());
    x.buffer.resize(static_cast<size_t>(BlockBytes) + 1);
    const int32_t got = x.reader->read(x.buffer.data() + x.held, BlockBytes - x.held, failure);
    if (got < 0)
        return -1;
    int32_t n = x.held + got;
    x.starts.clear();
    int32_t raise = Severity::None;
    // A finished sibling's last line is ended by its end; the log's waits for its line end.
    const int32_t judged
        = x.finder->judgeNext(x.buffer.data(), n, BlockBytes, got == 0 && !isLog, x.starts, raise);
    if (raise != Severity::None)
        x.severities.raiseLast(raise);
    x.severities.appendStarts(x.file, x.heldOffset, x.starts.data(), x.starts.size());
    x.held = n - judged;
    std::memmove(x.buffer.data(), x.buffer.data() + judged, static_cast<size_t>(x.held));
    x.heldOffset += static_cast<uint64_t>(judged);
    return got;
}

// The log was indexed to its end: notes how it ended, to tell growth from a change.
void FileHistory::finishLog()
{
    Index& x = *index;
    x.complete = true;
    x.indexedEnd = x.heldOffset;
    noteLogEnd(x.indexedEnd);
    // What was held stays out of the index until its line ends, and is read again then.
    std::string().swap(x.buffer);
    x.held = 0;
}

// Notes the log's state and the bytes before end, the end of what was indexed of it.
void FileHistory::noteLogEnd(uint64_t end)
{
    Index& x = *index;
    x.checkedEnd = end;
    x.tail.clear();
    haspel::FileStatus status(path.c_str());
    status.Refresh(false, false);
    x.modified = status.GetModificationTime();
    HistoryFileReader reader(fileSystem, path);
    if (!reader.open(0, failure))
        return;
    fileSystem.length(reader.getHandle(), x.length);
    if (reader.isCompressed())
        return;
    x.length = std::max(x.length, end);
    x.tail.resize(static_cast<size_t>(std::min<uint64_t>(end, TailSize)));
    if (fileSystem.readAt(
            reader.getHandle(), x.tail.data(), static_cast<int32_t>(x.tail.size()), end - x.tail.size())
        != static_cast<int32_t>(x.tail.size()))
        x.tail.clear();
}

int64_t FileHistory::getMessageCount() const
{
    return index->severities.getCount();
}

uint64_t FileHistory::getIndexedPosition() const
{
    const Index& x = *index;
    if (!x.reachedLog)
        return 0;
    return x.complete ? x.indexedEnd : x.heldOffset;
}

int64_t FileHistory::getMessageNumberAt(uint64_t offset) const
{
    return getMessageNumberAt(static_cast<int32_t>(files.size()) - 1, offset);
}

bool FileHistory::hasIndexed(int32_t file, uint64_t offset) const
{
    const Index& x = *index;
    if (file + 1 == static_cast<int32_t>(files.size()))
        return x.reachedLog && offset <= getIndexedPosition();
    return x.reachedLog || x.file > file;
}

int64_t FileHistory::getMessageNumberAt(int32_t file, uint64_t offset) const
{
    const Index& x = *index;
    if (file < 0 || !hasIndexed(file, offset))
        return getMessageCount();
    const SeverityIndex& s = x.severities;
    // The file's last block starting before offset.
    int32_t low = s.firstBlockOf(file);
    int32_t high = s.firstBlockOf(file + 1);
    if (low == high || s.getBlockPlace(low).offset >= offset)
        return low < s.getBlockCount() ? s.getBlockFirst(low) : getMessageCount();
    const int32_t end = high;
    while (high - low > 1) {
        const int32_t middle = (low + high) / 2;
        (s.getBlockPlace(middle).offset < offset ? low : high) = middle;
    }
    const int32_t block = low;
    // The block's messages that start before offset, their lines judged whole as the index judged them.
    const uint64_t from = s.getBlockPlace(block).offset;
    const uint64_t stop
        = block + 1 < end ? s.getBlockPlace(block + 1).offset : std::numeric_limits<uint64_t>::max();
    HistoryFileReader reader(fileSystem, files[static_cast<size_t>(file)]);
    std::string reason;
    if (!reader.open(from, reason))
        return s.getBlockFirst(block);
    MessageStarts finder(x.rules, x.chain[static_cast<size_t>(file)].layout);
    std::vector<MessageStarts::Start> starts;
    std::string text(static_cast<size_t>(BlockBytes) + 1, '\0');
    int32_t held = 0; // bytes of text read but not judged
    uint64_t at = from; // of text[0]
    int64_t found = 0;
    while (at < offset && at < stop) {
        const int32_t got = reader.readFully(text.data() + held, BlockBytes - held, reason);
        int32_t n = held + std::max(got, 0);
        const bool atEnd = got < BlockBytes - held;
        starts.clear();
        int32_t raise = Severity::None;
        // A line ended by the file's end is judged as the index judged it.
        const int32_t judged = finder.judgeNext(text.data(), n, BlockBytes, atEnd, starts, raise);
        for (const MessageStarts::Start& start : starts)
            found += at + static_cast<uint64_t>(start.offset) < std::min(offset, stop) ? 1 : 0;
        held = n - judged;
        std::memmove(text.data(), text.data() + judged, static_cast<size_t>(held));
        at += static_cast<uint64_t>(judged);
        if (atEnd)
            break;
    }
    return std::min(s.getBlockFirst(block) + found, s.getBlockEnd(block));
}

int32_t FileHistory::findFile(const KeptStart& start) const
{
    for (auto file = static_cast<int32_t>(files.size()) - 1; file >= 0; --file) {
        if (start.isFile(fileSystem, files[static_cast<size_t>(file)]))
            return file;
    }
    return -1;
}

int64_t FileHistory::getIndexBytes() const
{
    return index->severities.getMemoryBytes();
}

int32_t FileHistory::getSeverity(int64_t number) const
{
    return index->severities.getSeverity(number);
}

int64_t FileHistory::countPassing(const SeverityFilter& filter, int64_t before) const
{
    return index->severities.countPassing(filter, before);
}

int64_t FileHistory::findPassing(const SeverityFilter& filter, int64_t rank) const
{
    return index->severities.findPassing(filter, rank);
}

// A reader of the chain's file from offset on. A compressed file's reader is kept and goes on when it
// has not passed offset yet, or goes back within what it kept: decompressing it from its start again
// for each block would make reading it through take time quadratic in its size. Another file's is made
// in own. nullptr on failure.
HistoryFileReader* FileHistory::readerAt(
    int32_t file, uint64_t offset, std::unique_ptr<HistoryFileReader>& own)
{
    Index& x = *index;
    const std::string& name = files[static_cast<size_t>(file)];
    Decompressor::Format format;
    if (!Decompressor::formatOfName(name.c_str(), format)) {
        own = std::make_unique<HistoryFileReader>(fileSystem, name);
        return own->open(offset, failure) ? own.get() : nullptr;
    }
    std::unique_ptr<HistoryFileReader>& kept = x.compressedReader;
    if (kept && x.compressedFile == file
        && (kept->getPosition() <= offset ? kept->skipTo(offset, failure) : kept->rewindTo(offset)))
        return kept.get();
    kept = std::make_unique<HistoryFileReader>(fileSystem, name);
    x.compressedFile = file;
    if (kept->open(offset, failure))
        return kept.get();
    kept.reset();
    return nullptr;
}

bool FileHistory::readMessages(int64_t first, int32_t count, std::vector<std::unique_ptr<Message>>& out)
{
    Index& x = *index;
    const int64_t end = std::min<int64_t>(first + count, getMessageCount());
    const auto last = static_cast<int32_t>(files.size()) - 1;
    first = std::max<int64_t>(first, 0);
    while (first < end) {
        const int32_t block = x.severities.blockOf(first);
        const SeverityIndex::Place place = x.severities.getBlockPlace(block);
        const std::string& file = files[static_cast<size_t>(place.file)];
        bool ok = false;
        PrimedCutter primed(fileSystem, file, x.rules, place.offset > 0, failure, ok);
        std::unique_ptr<HistoryFileReader> own;
        HistoryFileReader* reader = ok ? readerAt(place.file, place.offset, own) : nullptr;
        if (!reader)
            return false;
        reader->keepFromHere(); // other pieces of the block are read again from there
        // The block's messages end where the next block of its file starts.
        const bool nextInFile = block + 1 < x.severities.getBlockCount()
            && x.severities.getBlockPlace(block + 1).file == place.file;
        const uint64_t stop = nextInFile ? x.severities.getBlockPlace(block + 1).offset
                                         : std::numeric_limits<uint64_t>::max();
        LineCutter& cutter = primed.getCutter();
        int64_t number = x.severities.getBlockFirst(block);
        auto takeFinished = [&](int32_t keep) {
            while (cutter.getMessages().GetCount() > keep) {
                std::unique_ptr<Message> message(const_cast<Message*>(cutter.getMessages().GetHead()));
                const_cast<haspel::ContainingList<Message>&>(cutter.getMessages()).RemoveFirst();
                if (number >= first && number < end)
                    out.push_back(std::move(message));
                ++number;
            }
        };
        std::string piece;
        for (;;) {
            const auto want = static_cast<int32_t>(
                std::min<uint64_t>(HistoryFileReader::PieceBytes, stop - reader->getPosition()));
            piece.resize(static_cast<size_t>(want));
            const int32_t got = want > 0 ? reader->read(piece.data(), want, failure) : 0;
            if (got < 0)
                return false;
            piece.resize(static_cast<size_t>(got));
            const bool atEnd = got == 0;
            if (atEnd && place.file != last && !nextInFile)
                piece.push_back('\n'); // a finished file's last line is ended
            dropNul(piece);
            cutter.appendPendingText(piece.data(), static_cast<int32_t>(piece.size()));
            cutter.splitPendingText();
            takeFinished(atEnd ? 0 : 1);
            if (number >= end || atEnd)
                break;
        }
        if (number <= first)
            return false; // the file holds fewer messages than were indexed
        first = number;
    }
    return true;
}

namespace {

// Whether text[0..n) holds any of the needles.
bool holdsNeedle(const char* text, size_t n, const std::vector<TextMatcher::Needle>& needles)
{
    for (const TextMatcher::Needle& needle : needles) {
        const std::string& wanted = needle.text;
        if (needle.caseless ? findCaseless(text, n, wanted.data(), wanted.size()) != nullptr
                            : memmem(text, n, wanted.data(), wanted.size()) != nullptr)
            return true;
    }
    return false;
}

} // namespace

// Whether some message of the block may match: false only when its text holds none of the needles.
bool FileHistory::blockMayMatch(int32_t block, const std::vector<TextMatcher::Needle>& needles)
{
    if (needles.empty())
        return true;
    const SeverityIndex& s = index->severities;
    std::string& text = index->scratch;
    std::string reason;
    const SeverityIndex::Place place = s.getBlockPlace(block);
    const bool lastOfFile = block + 1 == s.getBlockCount() || s.getBlockPlace(block + 1).file != place.file;
    std::unique_ptr<HistoryFileReader> own;
    HistoryFileReader* reader = readerAt(place.file, place.offset, own);
    if (!reader)
        return true;
    reader->keepFromHere(); // the block is read again when it may match
    const uint64_t end
        = lastOfFile ? std::numeric_limits<uint64_t>::max() : s.getBlockPlace(block + 1).offset;
    size_t longest = 0;
    for (const TextMatcher::Needle& needle : needles)
        longest = std::max(longest, needle.text.size());
    // Pieces overlapping by a needle's length, so that none is missed between two.
    uint64_t at = place.offset;
    size_t kept = 0;
    while (at < end) {
        const auto want = static_cast<int32_t>(std::min<uint64_t>(end - at, BlockBytes));
        text.resize(kept + static_cast<size_t>(want));
        const int32_t got = reader->readFully(text.data() + kept, want, reason);
        if (got < 0)
            return true;
        text.resize(kept + static_cast<size_t>(got));
        if (std::memchr(text.data(), '\0', text.size()) || holdsNeedle(text.data(), text.size(), needles))
            return true;
        if (got < want)
            break;
        at += static_cast<uint64_t>(got);
        kept = std::min(longest - 1, text.size());
        std::memmove(text.data(), text.data() + text.size() - kept, kept);
    }
    return false;
}

bool FileHistory::search(HistorySearch& s, Deadline deadline)
{
    using Kind = HistorySearch::Kind;
    const SeverityIndex& severities = index->severities;
    if (s.generation != generation || !s.started) {
        s.generation = generation;
        s.started = true;
        s.done = false;
        s.result = s.kind == Kind::Count ? 0 : NoMessage;
        const int64_t from = std::clamp<int64_t>(s.from, 0, getMessageCount());
        // next: the block to look at next.
        s.next = s.kind == Kind::Count ? 0 : severities.blockOf(s.kind == Kind::Forward ? from : from - 1);
        if (s.kind == Kind::Forward && from == getMessageCount())
            s.next = severities.getBlockCount();
        s.passEnd = -1;
        s.passFound = NoMessage;
    }
    if (s.done)
        return true;
    const std::vector<TextMatcher::Needle> needles = s.matcher.getNeedles();
    std::vector<std::unique_ptr<Message>> messages;
    Decompressor::Format format;
    while (s.next >= 0 && s.next < severities.getBlockCount()) {
        const auto block = static_cast<int32_t>(s.next);
        const int32_t file = severities.getBlockPlace(block).file;
        if (s.kind == Kind::Backward && s.passEnd < 0
            && Decompressor::formatOfName(files[static_cast<size_t>(file)].c_str(), format)) {
            // A compressed file can only be read from its start: it is searched back by one pass
            // forward through it to this block, keeping the last match.
            s.passEnd = block;
            s.next = severities.firstBlockOf(file);
            continue;
        }
        const bool backward = s.kind == Kind::Backward && s.passEnd < 0;
        const bool inPass = s.passEnd >= 0;
        const int64_t first = severities.getBlockFirst(block);
        const int64_t end = s.kind == Kind::Backward ? std::min(severities.getBlockEnd(block), s.from)
                                                     : severities.getBlockEnd(block);
        const int64_t begin = s.kind == Kind::Forward ? std::max(first, s.from) : first;
        if (begin < end && severities.blockPasses(block, s.severities) && blockMayMatch(block, needles)) {
            messages.clear();
            if (!readMessages(first, static_cast<int32_t>(end - first), messages))
                return false;
            const auto read = static_cast<int64_t>(messages.size());
            auto matches = [&](int64_t number) {
                const Message& message = *messages[static_cast<size_t>(number - first)];
                return s.severities.passes(severities.getSeverity(number))
                    && (!s.textFilter || s.textFilter->matches(message) != s.filterHides)
                    && s.matcher.matches(message);
            };
            if (backward || inPass) {
                for (int64_t n = first + read - 1; n >= begin; --n) {
                    if (!matches(n))
                        continue;
                    if (inPass) {
                        s.passFound = n; // the block's last match
                        break;
                    }
                    s.result = n;
                    s.done = true;
                    return true;
                }
            } else {
                for (int64_t n = begin; n < first + read; ++n) {
                    if (!matches(n))
                        continue;
                    if (s.kind == Kind::Forward) {
                        s.result = n;
                        s.done = true;
                        return true;
                    }
                    ++s.result;
                }
            }
        }
        if (inPass && block == s.passEnd) {
            if (s.passFound != NoMessage) {
                s.result = s.passFound;
                s.done = true;
                return true;
            }
            s.passEnd = -1;
            s.next = severities.firstBlockOf(file) - 1;
        } else {
            s.next += backward ? -1 : 1;
        }
        if (Clock::now() >= deadline)
            return false;
    }
    s.done = true;
    return true;
}

} // namespace kestrano
