#include "core/sources/FileSource.h"

#include "config/FileStatus.h"
#include "core/settings/MonitorSettings.h"
#include "foundation/Exception.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace kestrano {

FileSource::FileSource(std::string path, FileSystem& files)
    : path(std::move(path))
    , files(files)
{ }

FileSource::~FileSource()
{
    closeHeld();
}

void FileSource::closeHeld()
{
    if (held != FileSystem::NoHandle)
        files.close(held);
    held = FileSystem::NoHandle;
}

void FileSource::restart()
{
    closeHeld();
    lastWriteTime = 0;
    readPosition = UnknownPosition;
    wasMissing = false;
}

LogSource::Result FileSource::read(LogSink& sink, const ReadRequest& request)
{
    haspel::FileStatus status(path.c_str());
    status.Refresh(true, true);
    const bool exists = status.Exists();
    bool newFile = false;
    if (held != FileSystem::NoHandle
        && !(exists && status.GetDevice() == device && status.GetInode() == inode)) {
        // The name denotes another file or none: what was written to the one held comes first.
        const uint64_t from = readPosition;
        const Result drained = readHeld(sink, request.deadline);
        if (drained != Result::Read)
            return drained;
        // Renamed away while nothing was written to a new file: its writer has not switched yet.
        FileSystem::Identity identity;
        if ((!exists || status.GetSize() == 0) && files.identify(held, identity) && identity.links > 0)
            return readPosition != from ? Result::Read : Result::Unchanged;
        closeHeld(); // replaced, or deleted: its space is freed
        newFile = exists;
    }
    if (!exists) {
        lastWriteTime = 0;
        readPosition = UnknownPosition;
        device = inode = 0;
        birth = -1;
        wasMissing = true;
        return Result::Gone;
    }
    const uint64_t size = status.GetSize();
    const int64_t modified = status.GetModificationTime();
    newFile = newFile
        || ((device != 0 || inode != 0)
            && (status.GetDevice() != device || status.GetInode() != inode || status.GetBirth() != birth));
    if (!newFile && modified == lastWriteTime && size == readPosition)
        return Result::Unchanged;

    bool keepOpen = true;
    int openError = 0;
    if (held == FileSystem::NoHandle && status.IsRegularFile()) {
        held = files.openForReading(path.c_str());
        openError = errno;
        FileSystem::Identity identity;
        if (held != FileSystem::NoHandle && files.identify(held, identity)
            && (identity.device != status.GetDevice() || identity.inode != status.GetInode())) {
            closeHeld();
            return Result::Behind; // replaced between the look and the opening: looked at again at once
        }
        keepOpen = files.mayKeepOpen();
    }
    const bool firstToldOpenForEachRead = !keepOpen && !openForEachRead;
    openForEachRead |= !keepOpen;
    if (request.reloadOnChange)
        startOver(sink, request, size, Start::Tail);
    else if (readPosition == UnknownPosition)
        startOver(sink, request, size, wasMissing ? Start::NewContent : Start::Tail);
    else if (newFile)
        startOver(sink, request, size, Start::NewFile);
    else if (size < readPosition || (held != FileSystem::NoHandle && !fingerprintMatches()))
        startOver(sink, request, size, Start::NewContent); // shrank, or written anew past the position
    lastWriteTime = modified;
    device = status.GetDevice();
    inode = status.GetInode();
    birth = status.GetBirth();
    if (held == FileSystem::NoHandle) {
        reason = status.IsRegularFile() ? std::strerror(openError)
            : status.IsDirectory()      ? std::strerror(EISDIR)
                                        : "not a regular file";
        return Result::Failed;
    }

    const struct Closer {
        FileSource& source;
        bool keepOpen;
        ~Closer()
        {
            if (!keepOpen)
                source.closeHeld();
        }
    } closer {*this, keepOpen};
    if (firstToldOpenForEachRead)
        sink.appendNotice({CoreText::OpenedForEachRead, {}});
    return readHeld(sink, request.deadline);
}

// Everything the file holds is new (up to NewContentBound; a notice tells what was skipped), or only
// its tail is read.
void FileSource::startOver(LogSink& sink, const ReadRequest& request, uint64_t size, Start start)
{
    // A negative setting (-1) means the whole file.
    const int32_t setting = request.settings.GetInitiallyReadBytes();
    const uint64_t initial = setting < 0 ? UINT64_MAX : static_cast<uint64_t>(setting);
    const uint64_t bound = start == Start::Tail ? initial : std::max(initial, NewContentBound);
    readPosition = size > bound ? size - bound : 0;
    wasMissing = false;
    encodingChecked = false;
    fingerprintLength = 0;
    if (start == Start::NewFile)
        sink.followNewFile({CoreText::Rotated, path.substr(path.find_last_of('/') + 1)}, readPosition > 0);
    else
        sink.startOver(readPosition > 0);
    if (start != Start::Tail && readPosition > 0)
        sink.appendNotice({CoreText::ContentSkipped, std::to_string(readPosition)});
}

// The bytes before the read position are those read there, unless the file was written anew.
bool FileSource::fingerprintMatches()
{
    if (fingerprintLength == 0)
        return true;
    char bytes[FingerprintSize];
    const int32_t got = files.readAt(held, bytes, fingerprintLength, readPosition - fingerprintLength);
    if (got < 0)
        return true; // the read fails as well and is tried again
    return got == fingerprintLength && std::memcmp(bytes, fingerprint, static_cast<size_t>(got)) == 0;
}

LogSource::Result FileSource::readHeld(LogSink& sink, Deadline deadline)
{
    try {
        return readAppended(sink, deadline);
    } catch (const haspel::Exception&) {
        // what was cut so far stays; the next read goes on from readPosition
    } catch (const std::bad_alloc&) { } // from the sink's list
    return Result::Interrupted;
}

// Reads in steps of ReadChunkSize while the file is longer than one step, then at most one step more;
// a read that runs out of time stops after a step and leaves the rest for the next one.
LogSource::Result FileSource::readAppended(LogSink& sink, Deadline deadline)
{
    uint64_t length;
    while (true) {
        if (!files.length(held, length))
            return Result::Interrupted;
        if (length <= readPosition + ReadChunkSize)
            break;
        // The whole steps of the length known, before it is asked again.
        while (length > readPosition + ReadChunkSize) {
            const int32_t got = readStep(sink, ReadChunkSize);
            if (got < 0)
                return Result::Interrupted;
            if (got == 0)
                return Result::Read; // shrank while being read; the next read starts over
            if (std::chrono::steady_clock::now() >= deadline)
                return Result::Behind;
        }
    }
    if (!files.length(held, length))
        return Result::Interrupted;
    if (length > readPosition) {
        // At most one step; what was appended meanwhile waits for the next read.
        const uint64_t rest = length - readPosition;
        const int32_t n = rest < ReadChunkSize ? static_cast<int32_t>(rest) : ReadChunkSize;
        if (readStep(sink, n) < 0)
            return Result::Interrupted;
    }
    return Result::Read;
}

// One step of at most n bytes: the number of bytes read, 0 at the end (or while the encoding is not
// known yet), -1 when the file layer failed.
int32_t FileSource::readStep(LogSink& sink, int32_t n)
{
    if (!encodingChecked && !checkEncoding())
        return 0;
    char buffer[ReadChunkSize];
    const int32_t got = files.readAt(held, buffer, n, readPosition);
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
    keepFingerprint(buffer, got);
    sink.cutText();
    return got;
}

void FileSource::keepFingerprint(const char* bytes, int32_t n)
{
    const int32_t kept = std::min(fingerprintLength, FingerprintSize - std::min(n, FingerprintSize));
    const int32_t taken = std::min(n, FingerprintSize);
    std::memmove(fingerprint, fingerprint + fingerprintLength - kept, static_cast<size_t>(kept));
    std::memcpy(fingerprint + kept, bytes + n - taken, static_cast<size_t>(taken));
    fingerprintLength = kept + taken;
}

// A log whose start is UTF-16 after a byte-order mark is decoded from UTF-16: reading starts after
// the mark or at the start of a code unit. False while its start does not tell yet.
bool FileSource::checkEncoding()
{
    char start[Utf16Decoder::StartSample];
    const int32_t got = files.readAt(held, start, Utf16Decoder::StartSample, 0);
    if (got < 0)
        return true; // the read fails as well and is tried again
    bool decided;
    const Utf16Decoder::Order order = Utf16Decoder::orderOfStart(start, got, decided);
    if (!decided)
        return false;
    encodingChecked = true;
    utf16.start(order);
    if (order == Utf16Decoder::Order::None)
        return true;
    if (readPosition < 2 || readPosition % 2 != 0) {
        readPosition = readPosition < 2 ? 2 : readPosition + 1;
        fingerprintLength = 0;
    }
    return true;
}

} // namespace kestrano
