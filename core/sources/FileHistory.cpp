#include "core/sources/FileHistory.h"

#include "config/FileStatus.h"
#include "core/search/TextMatcher.h"
#include "core/sources/Decompressor.h"
#include "core/sources/RotatedSiblings.h"
#include "core/text/CuttingRules.h"
#include "core/text/LineCutter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace kestrano {
namespace {

constexpr int32_t ReadSize = 1 << 16;

// The rules of the view with nothing trimmed: the history takes finished messages out itself.
class HistoryRules : public CuttingRules {
public:
    explicit HistoryRules(const CuttingRules& rules)
        : CuttingRules(rules)
    {
        keepLines = std::numeric_limits<int32_t>::max();
    }
};

// Reads one file of the chain from its start: a plain file by offset, a compressed one decompressed.
class ChainFile {
public:
    ChainFile(FileSystem& files, const std::string& path)
        : files(files)
        , path(path)
    { }
    ~ChainFile() { close(); }
    ChainFile(const ChainFile&) = delete;
    ChainFile& operator=(const ChainFile&) = delete;

    bool open(std::string& reason)
    {
        close();
        const bool compressed = Decompressor::formatOfName(path.c_str(), format);
        handle = files.openForReading(path.c_str());
        if (handle == FileSystem::NoHandle) {
            reason = path + ": " + std::strerror(errno ? errno : EIO);
            return false;
        }
        if (compressed) {
            decompressor = Decompressor::open(format, files.unaltered(), handle, reason);
            if (!decompressor) {
                close();
                return false;
            }
        }
        position = 0;
        return true;
    }
    void close()
    {
        decompressor.reset();
        if (handle != FileSystem::NoHandle)
            files.close(handle);
        handle = FileSystem::NoHandle;
    }
    // Reads on: the bytes given, 0 at the end, -1 on failure.
    int32_t read(char* buffer, int32_t n, std::string& reason)
    {
        int32_t got;
        if (decompressor) {
            got = decompressor->read(buffer, n);
            if (got < 0)
                reason = path + ": " + decompressor->getReason();
        } else {
            got = files.readAt(handle, buffer, n, position);
            if (got < 0)
                reason = path + ": " + std::strerror(errno ? errno : EIO);
        }
        if (got > 0)
            position += static_cast<uint64_t>(got);
        return got;
    }
    bool identify(FileSystem::Identity& identity) { return files.identify(handle, identity); }
    bool length(uint64_t& size) { return files.length(handle, size); }
    bool isCompressed() const { return decompressor != nullptr; }
    uint64_t getPosition() const { return position; }

private:
    FileSystem& files;
    const std::string path;
    Decompressor::Format format = Decompressor::Format::Gzip;
    FileSystem::Handle handle = FileSystem::NoHandle;
    std::unique_ptr<Decompressor> decompressor;
    uint64_t position = 0;
};

// Cuts one file of the chain into messages as the view does, line by line, telling where each starts.
class FileCutting : public LineCutterListener {
public:
    FileCutting(FileSystem& files, const std::string& path, const CuttingRules& rules, bool isLog)
        : file(files, path)
        , rules(rules)
        , cutter(this->rules, *this)
        , isLog(isLog)
    {
        haspel::FileStatus status(path.c_str());
        status.Refresh(false, false);
        cutter.forgetLayout(status.IsRegularFile() ? status.GetModificationTime() : 0);
    }

    bool open(std::string& reason) { return file.open(reason); }
    ChainFile& getFile() { return file; }

    // Reads and cuts on. Each message begun is handed to take with the offset of its line; messages
    // are handed once complete (the last one of a finished sibling at its end; of the log, never).
    // Returns the bytes read, 0 at the end, -1 on failure.
    template <typename Take> int32_t step(std::string& reason, Take&& take)
    {
        const size_t kept = pending.size();
        pending.resize(kept + ReadSize);
        const int32_t got = file.read(pending.data() + kept, ReadSize, reason);
        pending.resize(kept + static_cast<size_t>(std::max(got, 0)));
        if (got == 0 && !isLog && !pending.empty())
            pending += '\n'; // a finished file's last line is ended
        size_t start = 0;
        for (;;) {
            size_t end = start;
            while (end < pending.size() && pending[end] != '\n' && pending[end] != '\r')
                ++end;
            if (end == pending.size())
                break;
            cutLine(pending.data() + start, end + 1 - start, take);
            lineOffset += end + 1 - start;
            start = end + 1;
        }
        pending.erase(0, start);
        if (got == 0 && !isLog)
            finish(take);
        return got;
    }

    // The offset of the first byte not cut yet.
    uint64_t getCutPosition() const { return lineOffset; }

    template <typename Take> void finish(Take&& take)
    {
        while (cutter.getMessages().GetCount() > 0)
            handOut(take);
    }

private:
    template <typename Take> void cutLine(const char* line, size_t length, Take&& take)
    {
        std::string text(line, length);
        text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
        added = false;
        cutter.appendPendingText(text.data(), static_cast<int32_t>(text.size()));
        cutter.splitPendingText();
        if (added) {
            while (cutter.getMessages().GetCount() > 1)
                handOut(take);
            starts.push_back(lineOffset);
        }
    }
    template <typename Take> void handOut(Take&& take)
    {
        std::unique_ptr<Message> message(cutter.getMessages().GetHead());
        const_cast<haspel::ContainingList<Message>&>(cutter.getMessages()).RemoveFirst();
        const uint64_t offset = starts.front();
        starts.erase(starts.begin());
        take(offset, std::move(message));
    }
    void messageAdded(Message*) override { added = true; }
    void messageContinued(Message*) override { }

    ChainFile file;
    HistoryRules rules;
    LineCutter cutter;
    const bool isLog;
    std::string pending;
    uint64_t lineOffset = 0;
    std::vector<uint64_t> starts; // of the messages the cutter holds
    bool added = false;
};

} // namespace

// The index: every message's file, offset and severity.
class FileHistory::Index {
public:
    struct Entry {
        int32_t file;
        uint64_t offset;
        int32_t severity;
    };
    std::vector<Entry> entries;
    int32_t file = 0; // the file being indexed
    std::unique_ptr<FileCutting> cutting;
    // The log's messages are cut again from its start whenever it grew; they replace those of before
    // once the end is reached.
    size_t logStart = 0; // the first entry of the log
    std::vector<Entry> fresh;
    bool complete = false; // the log was cut to its end
    FileSystem::Identity identity {};
    uint64_t indexed = 0;
    uint64_t length = 0; // of the file as it lies on the disk, when indexed
    std::string tail; // the bytes before indexed, of a plain file
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
    index = std::make_unique<Index>();
    ++generation;
    files.clear();
    if (withSiblings) {
        std::vector<std::string> siblings = listRotatedSiblings(path);
        files.assign(siblings.rbegin(), siblings.rend());
    }
    files.push_back(path);
}

namespace {

constexpr int32_t TailSize = 64;

// The bytes of the plain file [offset - TailSize, offset), as far as they exist.
bool readTail(FileSystem& files, FileSystem::Handle file, uint64_t offset, std::string& tail)
{
    const uint64_t from = offset > TailSize ? offset - TailSize : 0;
    tail.assign(offset - from, '\0');
    return tail.empty()
        || files.readAt(file, tail.data(), static_cast<int32_t>(tail.size()), from)
        == static_cast<int32_t>(tail.size());
}

} // namespace

bool FileHistory::advance(Deadline deadline)
{
    Index& x = *index;
    const int32_t last = static_cast<int32_t>(files.size()) - 1;
    for (;;) {
        const bool isLog = x.file == last;
        if (!x.cutting) {
            if (isLog && x.complete) {
                // Indexed to its end before: more to do only when it grew; a changed file starts over.
                const FileSystem::Handle handle = fileSystem.openForReading(path.c_str());
                FileSystem::Identity identity;
                uint64_t size = 0;
                std::string tail;
                Decompressor::Format format;
                const bool compressed = Decompressor::formatOfName(path.c_str(), format);
                const bool same = handle != FileSystem::NoHandle && fileSystem.identify(handle, identity)
                    && fileSystem.length(handle, size) && identity.device == x.identity.device
                    && identity.inode == x.identity.inode && size >= x.length
                    && (compressed ? size == x.length
                                   : readTail(fileSystem, handle, x.indexed, tail) && tail == x.tail);
                if (handle != FileSystem::NoHandle)
                    fileSystem.close(handle);
                if (!same) {
                    restart();
                    return true;
                }
                if (size == x.length)
                    return false;
                x.complete = false;
            }
            x.cutting = std::make_unique<FileCutting>(fileSystem, files[x.file], rules, isLog);
            if (!x.cutting->open(failure)) {
                x.cutting.reset();
                if (isLog)
                    return false;
                ++x.file;
                continue;
            }
            if (isLog) {
                if (x.identity.inode == 0) {
                    x.logStart = x.entries.size();
                    x.cutting->getFile().identify(x.identity);
                }
                x.fresh.clear();
            }
        }
        const int32_t fileNumber = x.file;
        std::vector<Index::Entry>& into = isLog ? x.fresh : x.entries;
        auto take = [&](uint64_t offset, std::unique_ptr<Message> message) {
            into.push_back({fileNumber, offset, message->getSeverity()});
        };
        const int32_t got = x.cutting->step(failure, take);
        if (got <= 0) {
            if (isLog && got == 0) {
                x.indexed = x.cutting->getCutPosition();
                x.cutting->finish(take); // the last message, which may still grow
                x.entries.resize(x.logStart);
                x.entries.insert(x.entries.end(), x.fresh.begin(), x.fresh.end());
                x.fresh.clear();
                x.complete = true;
                const FileSystem::Handle handle = fileSystem.openForReading(path.c_str());
                if (handle != FileSystem::NoHandle) {
                    fileSystem.length(handle, x.length);
                    if (!x.cutting->getFile().isCompressed())
                        readTail(fileSystem, handle, x.indexed, x.tail);
                    fileSystem.close(handle);
                }
            }
            x.cutting.reset();
            if (isLog)
                return false;
            ++x.file;
            continue;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return true;
    }
}

int64_t FileHistory::getMessageCount() const
{
    return static_cast<int64_t>(index->entries.size());
}

uint64_t FileHistory::getIndexedPosition() const
{
    return index->indexed;
}

int64_t FileHistory::getMessageNumberAt(uint64_t offset) const
{
    const int32_t last = static_cast<int32_t>(files.size()) - 1;
    const auto& entries = index->entries;
    return std::lower_bound(entries.begin(), entries.end(), offset,
               [last](const Index::Entry& e, uint64_t o) { return e.file < last || e.offset < o; })
        - entries.begin();
}

int32_t FileHistory::getSeverity(int64_t number) const
{
    return index->entries.at(static_cast<size_t>(number)).severity;
}

int64_t FileHistory::countPassing(const SeverityFilter& filter, int64_t before) const
{
    int64_t count = 0;
    for (int64_t n = 0; n < before && n < getMessageCount(); ++n)
        count += filter.passes(getSeverity(n));
    return count;
}

int64_t FileHistory::findPassing(const SeverityFilter& filter, int64_t rank) const
{
    for (int64_t n = 0; n < getMessageCount(); ++n) {
        if (filter.passes(getSeverity(n)) && rank-- == 0)
            return n;
    }
    return NoMessage;
}

bool FileHistory::readMessages(int64_t first, int32_t count, std::vector<std::unique_ptr<Message>>& out)
{
    const auto& entries = index->entries;
    const int64_t end = std::min<int64_t>(first + count, getMessageCount());
    const int32_t last = static_cast<int32_t>(files.size()) - 1;
    while (first < end) {
        const int32_t fileNumber = entries[static_cast<size_t>(first)].file;
        const int64_t fileFirst = std::lower_bound(entries.begin(), entries.end(), fileNumber,
                                      [](const Index::Entry& e, int32_t f) { return e.file < f; })
            - entries.begin();
        FileCutting cutting(fileSystem, files[fileNumber], rules, fileNumber == last);
        if (!cutting.open(failure))
            return false;
        int64_t number = fileFirst;
        bool changed = false;
        auto take = [&](uint64_t offset, std::unique_ptr<Message> message) {
            if (number >= first && number < end) {
                if (entries[static_cast<size_t>(number)].offset != offset)
                    changed = true;
                out.push_back(std::move(message));
            }
            ++number;
        };
        for (;;) {
            const int32_t got = cutting.step(failure, take);
            if (got < 0 || changed)
                return false;
            if (number >= end || got == 0)
                break;
        }
        if (number < end && fileNumber == last)
            cutting.finish(take); // the log's last message, as far as it was read
        if (number <= first)
            return false; // the file holds fewer messages than indexed
        first = number;
    }
    return true;
}

bool FileHistory::search(HistorySearch& s, Deadline deadline)
{
    (void)deadline;
    if (s.generation != generation || !s.started) {
        s.generation = generation;
        s.started = true;
        s.done = false;
        s.next = s.kind == HistorySearch::Kind::Backward ? std::min(s.from, getMessageCount()) : 0;
        if (s.kind == HistorySearch::Kind::Forward)
            s.next = std::max<int64_t>(s.from, 0);
        s.result = s.kind == HistorySearch::Kind::Count ? 0 : NoMessage;
    }
    const int64_t count = getMessageCount();
    std::vector<std::unique_ptr<Message>> messages;
    if (!readMessages(0, static_cast<int32_t>(std::min<int64_t>(count, INT32_MAX)), messages))
        return false;
    auto matches = [&](int64_t number) {
        const Message& message = *messages[static_cast<size_t>(number)];
        if (!s.severities.passes(getSeverity(number)))
            return false;
        if (s.textFilter && s.textFilter->matches(message) == s.filterHides)
            return false;
        return s.matcher.matches(message);
    };
    const int64_t read = static_cast<int64_t>(messages.size());
    if (s.kind == HistorySearch::Kind::Backward) {
        for (int64_t n = std::min(s.next, read) - 1; n >= 0; --n) {
            if (matches(n)) {
                s.result = n;
                break;
            }
        }
    } else {
        for (int64_t n = s.next; n < read; ++n) {
            if (matches(n)) {
                if (s.kind == HistorySearch::Kind::Forward) {
                    s.result = n;
                    break;
                }
                ++s.result;
            }
        }
    }
    s.done = true;
    return true;
}

} // namespace kestrano
