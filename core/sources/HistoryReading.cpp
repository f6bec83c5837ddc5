#include "core/sources/HistoryReading.h"

#include "config/FileStatus.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace kestrano {
namespace {

// At most this much of a file's start is read for the cutter to recognise its layout.
constexpr int32_t MostLayoutBytes = 2 << 20;

// The length of text up to its last line end.
size_t completeLength(const std::string& text)
{
    const size_t last = text.find_last_of("\r\n");
    return last == std::string::npos ? 0 : last + 1;
}

} // namespace

HistoryRules::HistoryRules(const CuttingRules& rules)
    : CuttingRules(rules)
{
    keepLines = std::numeric_limits<int32_t>::max();
}

HistoryFileReader::HistoryFileReader(FileSystem& files, std::string path)
    : files(files)
    , path(std::move(path))
{ }

bool HistoryFileReader::open(uint64_t from, std::string& reason)
{
    close();
    Decompressor::Format format;
    const bool compressed = Decompressor::formatOfName(path.c_str(), format);
    handle = files.openForReading(path.c_str());
    if (handle == FileSystem::NoHandle)
        return failed(std::strerror(errno ? errno : EIO), reason);
    position = 0;
    if (compressed) {
        decompressor = Decompressor::open(format, files.unaltered(), handle, reason);
        if (!decompressor) {
            close();
            return false;
        }
    }
    return skipTo(from, reason);
}

bool HistoryFileReader::skipTo(uint64_t to, std::string& reason)
{
    if (!decompressor) {
        position = std::max(position, to);
        return true;
    }
    std::string skipped;
    while (position < to) {
        skipped.resize(static_cast<size_t>(std::min<uint64_t>(to - position, PieceBytes)));
        const int32_t got = read(skipped.data(), static_cast<int32_t>(skipped.size()), reason);
        if (got <= 0)
            return false;
    }
    return true;
}

void HistoryFileReader::keepFromHere()
{
    if (!decompressor)
        return;
    if (position >= keptFrom && position <= keptFrom + kept.size())
        kept.erase(0, static_cast<size_t>(position - keptFrom)); // still to be read again
    else
        kept.clear();
    keptFrom = position;
    keeping = true;
}

bool HistoryFileReader::rewindTo(uint64_t offset)
{
    if (!keeping || offset < keptFrom || offset > keptFrom + kept.size())
        return false;
    position = offset;
    return true;
}

void HistoryFileReader::close()
{
    kept.clear();
    keeping = false;
    decompressor.reset();
    if (handle != FileSystem::NoHandle)
        files.close(handle);
    handle = FileSystem::NoHandle;
}

int32_t HistoryFileReader::read(char* buffer, int32_t n, std::string& reason)
{
    if (keeping && position < keptFrom + kept.size()) {
        const auto from = static_cast<size_t>(position - keptFrom);
        const auto got = static_cast<int32_t>(std::min(kept.size() - from, static_cast<size_t>(n)));
        std::memcpy(buffer, kept.data() + from, static_cast<size_t>(got));
        position += static_cast<uint64_t>(got);
        return got;
    }
    const int32_t got
        = decompressor ? decompressor->read(buffer, n) : files.readAt(handle, buffer, n, position);
    if (got < 0) {
        failed(decompressor ? decompressor->getReason() : std::strerror(errno ? errno : EIO), reason);
        return -1;
    }
    position += static_cast<uint64_t>(got);
    if (keeping && kept.size() + static_cast<size_t>(got) > KeptBytes) {
        kept.clear(); // kept no further: a rewind opens the file again
        keeping = false;
    } else if (keeping) {
        kept.append(buffer, static_cast<size_t>(got));
    }
    return got;
}

int32_t HistoryFileReader::readFully(char* buffer, int32_t n, std::string& reason)
{
    int32_t have = 0;
    while (have < n) {
        const int32_t got = read(buffer + have, n - have, reason);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        have += got;
    }
    return have;
}

bool HistoryFileReader::failed(const std::string& why, std::string& reason) const
{
    reason = path + ": " + why;
    return false;
}

PrimedCutter::PrimedCutter(FileSystem& files, const std::string& path, const CuttingRules& rules, bool prime,
    std::string& reason, bool& ok)
    : cutter(rules, listener)
{
    haspel::FileStatus status(path.c_str());
    status.Refresh(false, false);
    cutter.forgetLayout(status.IsRegularFile() ? status.GetModificationTime() : 0);
    ok = true;
    if (!prime)
        return;
    HistoryFileReader reader(files, path);
    std::string head;
    ok = reader.open(0, reason);
    // The cutter samples the first SampleBytes of the complete lines: read past them to a line end.
    while (ok && head.size() < static_cast<size_t>(MostLayoutBytes)
        && (head.size() <= static_cast<size_t>(LineCutter::SampleBytes)
            || completeLength(head) <= static_cast<size_t>(LineCutter::SampleBytes))) {
        const size_t had = head.size();
        head.resize(had + HistoryFileReader::PieceBytes);
        const int32_t got = reader.read(head.data() + had, HistoryFileReader::PieceBytes, reason);
        head.resize(had + static_cast<size_t>(std::max(got, 0)));
        ok = got >= 0;
        if (got <= 0)
            break;
    }
    if (!ok)
        return;
    dropNul(head);
    cutter.appendPendingText(head.data(), static_cast<int32_t>(head.size()));
    cutter.splitPendingText();
    cutter.clearMessages();
    cutter.discardPendingText();
    const size_t sample = std::min<size_t>(completeLength(head), LineCutter::SampleBytes);
    settled = sample == static_cast<size_t>(LineCutter::SampleBytes)
        || std::count(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(sample), '\n')
            >= LineCutter::SampleLines;
}

void dropNul(std::string& text)
{
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
}

} // namespace kestrano
