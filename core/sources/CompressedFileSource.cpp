#include "core/sources/CompressedFileSource.h"

#include "config/FileStatus.h"
#include "core/settings/MonitorSettings.h"

#include <cerrno>
#include <cstring>

namespace kestrano {

CompressedFileSource::CompressedFileSource(const char* path, Decompressor::Format format, FileSystem& files)
    : path(path)
    , format(format)
    , files(files)
{ }

CompressedFileSource::~CompressedFileSource()
{
    stop();
}

void CompressedFileSource::stop()
{
    decompressor.reset();
    if (file != FileSystem::NoHandle)
        files.close(file);
    file = FileSystem::NoHandle;
    phase = Phase::Idle;
}

void CompressedFileSource::restart()
{
    stop();
    known = false;
}

bool CompressedFileSource::begin(Phase next)
{
    stop();
    file = files.openForReading(path.c_str());
    if (file == FileSystem::NoHandle) {
        reason = std::strerror(errno ? errno : EIO);
        return false;
    }
    return decompress(next);
}

// Decompresses the file open from its start.
bool CompressedFileSource::decompress(Phase next)
{
    decompressor = Decompressor::open(format, files, file, reason);
    if (!decompressor) {
        stop();
        return false;
    }
    phase = next;
    textLength = 0;
    return true;
}

// The text from handFrom on follows: the content anew, or after the shown one when the name came
// to denote another file.
void CompressedFileSource::startHanding(LogSink& sink, uint64_t from)
{
    handFrom = from;
    lineOpen = false;
    if (newFile)
        sink.followNewFile({CoreText::Rotated, path.substr(path.find_last_of('/') + 1)}, handFrom > 0);
    else
        sink.startOver(handFrom > 0);
}

LogSource::Result CompressedFileSource::failed(const std::string& why)
{
    reason = why;
    stop();
    return Result::Failed; // tried again when the file changes
}

LogSource::Result CompressedFileSource::readNew(LogSink& sink, const ReadRequest& request)
{
    const MonitorSettings& settings = request.settings;
    haspel::FileStatus status(path.c_str());
    status.Refresh(true, true);
    const bool exists = status.Exists();
    const bool sameFile = known && exists && status.GetDevice() == device && status.GetInode() == inode;
    const bool same = sameFile && status.GetSize() == size && status.GetModificationTime() == modified;
    if (phase == Phase::Idle) {
        if (!exists) {
            restart();
            return Result::Gone;
        }
        if (same)
            return Result::Unchanged;
        newFile = known && !sameFile;
        device = status.GetDevice();
        inode = status.GetInode();
        size = status.GetSize();
        modified = status.GetModificationTime();
        known = true;
        if (!status.IsRegularFile())
            return failed("not a regular file");
        const int32_t initial = settings.GetInitiallyReadBytes();
        if (!begin(initial < 0 ? Phase::Handing : Phase::Measuring))
            return failed(reason);
        if (phase == Phase::Handing)
            startHanding(sink, 0);
    } else if (sameFile && !same) {
        known = false; // written anew while being read: start again
        stop();
        return readNew(sink, request);
    } // else the same, or renamed away or deleted: the file open is read to its end first

    char buffer[8192];
    while (true) {
        const int32_t got = decompressor->read(buffer, sizeof buffer);
        if (got < 0)
            return failed(decompressor->getReason());
        if (got == 0) {
            if (phase == Phase::Measuring) {
                const int32_t initial = settings.GetInitiallyReadBytes();
                const uint64_t length = textLength;
                if (!decompress(Phase::Handing)) // the same file, even when renamed away meanwhile
                    return failed(reason);
                const uint64_t tail = static_cast<uint64_t>(initial);
                startHanding(sink, length > tail ? length - tail : 0);
                continue;
            }
            if (lineOpen)
                sink.appendText("\n", 1); // a compressed log is complete: its last line too
            stop();
            return Result::Read;
        }
        const uint64_t start = textLength;
        textLength += static_cast<uint64_t>(got);
        if (phase == Phase::Handing && textLength > handFrom) {
            const uint64_t skip = handFrom > start ? handFrom - start : 0;
            sink.appendText(buffer + skip, got - static_cast<int32_t>(skip));
            lineOpen = buffer[got - 1] != '\n' && buffer[got - 1] != '\r';
        }
        if (std::chrono::steady_clock::now() >= request.deadline)
            return Result::Behind;
    }
}

} // namespace kestrano
