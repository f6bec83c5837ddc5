#include "core/sources/FileSource.h"

#include "config/FileStatus.h"
#include "core/settings/MonitorSettings.h"
#include "foundation/Exception.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace kestrano {

FileSource::FileSource(std::string path, FileSystem& files)
    : path(std::move(path))
    , files(files)
{ }

void FileSource::restart()
{
    lastWriteTime = 0;
    readPosition = UnknownPosition;
    wasMissing = false;
}

LogSource::Result FileSource::read(LogSink& sink, const ReadRequest& request)
{
    uint64_t size;
    int64_t modified;
    uint64_t foundDevice;
    uint64_t foundInode;
    int64_t foundBirth;
    bool regular;
    bool directory;
    {
        haspel::FileStatus status(path.c_str());
        status.Refresh(true, true);
        if (!status.Exists()) {
            lastWriteTime = 0;
            readPosition = UnknownPosition;
            device = inode = 0;
            birth = -1;
            wasMissing = true;
            return Result::Gone;
        }
        modified = status.GetModificationTime();
        size = status.GetSize();
        foundDevice = status.GetDevice();
        foundInode = status.GetInode();
        foundBirth = status.GetBirth();
        regular = status.IsRegularFile();
        directory = status.IsDirectory();
    }
    const bool replaced = (device != 0 || inode != 0)
        && (foundDevice != device || foundInode != inode || foundBirth != birth);
    if (!replaced && modified == lastWriteTime && size == readPosition)
        return Result::Unchanged;
    if (request.reloadOnChange)
        startOver(sink, request, size, false);
    else if (readPosition == UnknownPosition)
        startOver(sink, request, size, wasMissing);
    else if (replaced || size < readPosition)
        startOver(sink, request, size, true);
    lastWriteTime = modified;
    device = foundDevice;
    inode = foundInode;
    birth = foundBirth;

    const FileSystem::Handle file = regular ? files.openForReading(path.c_str()) : FileSystem::NoHandle;
    if (file == FileSystem::NoHandle) {
        reason = regular ? std::strerror(errno) : directory ? std::strerror(EISDIR) : "not a regular file";
        return Result::Failed;
    }
    struct Closer {
        FileSystem& files;
        FileSystem::Handle file;
        ~Closer() { files.close(file); }
    } closer {files, file};
    try {
        return readAppended(sink, file, request.deadline);
    } catch (const haspel::Exception&) {
        // what was cut so far stays; the next read goes on from readPosition
    } catch (const std::bad_alloc&) { } // from the sink's list
    return Result::Interrupted;
}

// Everything the file holds is new (newContent, up to NewContentBound) or only its tail is read.
void FileSource::startOver(LogSink& sink, const ReadRequest& request, uint64_t size, bool newContent)
{
    // A negative setting (-1) means the whole file.
    const int32_t setting = request.settings.GetInitiallyReadBytes();
    const uint64_t initial = setting < 0 ? UINT64_MAX : static_cast<uint64_t>(setting);
    if (size < initial || (newContent && size <= NewContentBound))
        readPosition = 0;
    else
        readPosition = size - initial;
    wasMissing = false;
    encodingChecked = false;
    sink.startOver(readPosition > 0);
}

// Reads in steps of ReadChunkSize while the file is longer than one step, then at most one step more;
// a read that runs out of time stops after a step and leaves the rest for the next one.
LogSource::Result FileSource::readAppended(LogSink& sink, FileSystem::Handle file, Deadline deadline)
{
    uint64_t length;
    while (true) {
        if (!files.length(file, length))
            return Result::Interrupted;
        if (length <= readPosition + ReadChunkSize)
            break;
        // The whole steps of the length known, before it is asked again.
        while (length > readPosition + ReadChunkSize) {
            const int32_t got = readStep(sink, file, ReadChunkSize);
            if (got < 0)
                return Result::Interrupted;
            if (got == 0)
                return Result::Read; // shrank while being read; the next read starts over
            if (std::chrono::steady_clock::now() >= deadline)
                return Result::Behind;
        }
    }
    if (!files.length(file, length))
        return Result::Interrupted;
    if (length > readPosition) {
        // At most one step; what was appended meanwhile waits for the next read.
        const uint64_t rest = length - readPosition;
        const int32_t n = rest < ReadChunkSize ? static_cast<int32_t>(rest) : ReadChunkSize;
        if (readStep(sink, file, n) < 0)
            return Result::Interrupted;
    }
    return Result::Read;
}

// One step of at most n bytes: the number of bytes read, 0 at the end, -1 when the file layer failed.
int32_t FileSource::readStep(LogSink& sink, FileSystem::Handle file, int32_t n)
{
    if (!encodingChecked)
        checkEncoding(file);
    char buffer[ReadChunkSize];
    const int32_t got = files.readAt(file, buffer, n, readPosition);
    if (got <= 0)
        return got;
    if (utf16.getOrder() != Utf16Decoder::Order::None) {
        decoded.clear();
        utf16.decode(buffer, got, decoded);
        sink.takeText(decoded.data(), static_cast<int32_t>(decoded.size()));
    } else {
        sink.takeText(buffer, got);
    }
    // Taken: a failure while cutting it loses only the line in hand, the bytes are not read again.
    readPosition += static_cast<uint64_t>(got);
    sink.cutText();
    return got;
}

// A log that starts with a UTF-16 byte-order mark is decoded from UTF-16: reading starts after the mark
// or at the start of a code unit.
void FileSource::checkEncoding(FileSystem::Handle file)
{
    encodingChecked = true;
    char mark[2];
    const int32_t got = files.readAt(file, mark, 2, 0);
    utf16.start(Utf16Decoder::orderOfMark(mark, got));
    if (utf16.getOrder() == Utf16Decoder::Order::None)
        return;
    if (readPosition < 2)
        readPosition = 2;
    else if (readPosition % 2 != 0)
        ++readPosition;
}

} // namespace kestrano
