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
    decompressor = Decompressor::open(format, files, file, reason);
    if (!decompressor) {
        stop();
        return false;
    }
    phase = next;
    textLength = 0;
    return true;
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
    if (!status.Exists()) {
        restart();
        return Result::Gone;
    }
    const bool same = known && status.GetDevice() == device && status.GetInode() == inode
        && status.GetSize() == size && status.GetModificationTime() == modified;
    if (phase == Phase::Idle) {
        if (same)
            return Result::Unchanged;
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
        if (phase == Phase::Handing) {
            handFrom = 0;
            lineOpen = false;
            sink.startOver(false);
        }
    } else if (!same) {
        known = false; // changed while being read: start again at the next read
        stop();
        return readNew(sink, request);
    }

    char buffer[8192];
    while (true) {
        const int32_t got = decompressor->read(buffer, sizeof buffer);
        if (got < 0)
            return failed(decompressor->getReason());
        if (got == 0) {
            if (phase == Phase::Measuring) {
                const int32_t initial = settings.GetInitiallyReadBytes();
                const uint64_t length = textLength;
                if (!begin(Phase::Handing))
                    return failed(reason);
                const uint64_t tail = static_cast<uint64_t>(initial);
                handFrom = length > tail ? length - tail : 0;
                lineOpen = false;
                sink.startOver(handFrom > 0);
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
