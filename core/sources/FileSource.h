// A plain log file, followed by identity: what it gained since the last read, or its content anew
// when it shrank or was replaced. Read through the FileSystem port in steps of ReadChunkSize for at
// most the read's deadline; NUL bytes are dropped and a UTF-16 file is decoded.
#pragma once

#include "core/ports/FileSystem.h"
#include "core/sources/LogSource.h"
#include "core/sources/Utf16Decoder.h"

#include <cstdint>
#include <string>

namespace kestrano {

class FileSource : public LogSource {
public:
    static constexpr int32_t ReadChunkSize = 8192;
    // Content a start over reads from its beginning: after a shrink, a replacement or a return of the
    // file everything it holds is new. A longer file is read from its tail, as at opening.
    static constexpr uint64_t NewContentBound = uint64_t(8) << 20;

    // path is the file's full path; nothing is opened yet.
    FileSource(std::string path, FileSystem& files);

    // Only a regular file is opened (a FIFO or device could block or disturb its writer); a file that
    // can't be opened fails with the reason.
    Result read(LogSink& sink, const ReadRequest& request) override;
    void restart() override;
    const std::string& getFailureReason() const override { return reason; }
    uint64_t getReadPosition() const override { return readPosition; }
    std::string getWatchPath() const override { return path; }

private:
    void startOver(LogSink& sink, const ReadRequest& request, uint64_t size, bool newContent);
    Result readAppended(LogSink& sink, FileSystem::Handle file, Deadline deadline);
    int32_t readStep(LogSink& sink, FileSystem::Handle file, int32_t n);
    void checkEncoding(FileSystem::Handle file);

    const std::string path;
    FileSystem& files;
    std::string reason; // why the file could not be opened
    int64_t lastWriteTime = 0;
    uint64_t readPosition = UnknownPosition;
    // The identity of the file read from (0, 0: none yet).
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t birth = -1;
    // A read found the file missing since the reading state was last reset.
    bool wasMissing = false;
    // The file's encoding is looked at once after each start over.
    bool encodingChecked = false;
    Utf16Decoder utf16;
    std::string decoded;
};

} // namespace kestrano
