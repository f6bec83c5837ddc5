// A plain log file, followed by identity: what it gained since the last read, or its content anew
// when it shrank or was rewritten, or the new file when its name came to denote another (a rotation).
// The file stays open between reads, so a file renamed away or deleted is read to its end before the
// new one. Read through the FileSystem port in steps of ReadChunkSize for at most the read's deadline;
// NUL bytes are dropped and a UTF-16 file is decoded.
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
    // Content a start over reads from its beginning: after a shrink, a rewrite, a rotation or a return
    // of the file everything it holds is new. Of a longer file the last NewContentBound bytes are read,
    // after a notice of how much was skipped.
    static constexpr uint64_t NewContentBound = uint64_t(64) << 20;
    // The bytes before the read position compared before reading on: a file truncated and written
    // again past that position differs there.
    static constexpr int32_t FingerprintSize = 64;

    // path is the file's full path; nothing is opened yet.
    FileSource(std::string path, FileSystem& files);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // Only a regular file is opened (a FIFO or device could block or disturb its writer); a file that
    // can't be opened fails with the reason.
    Result read(LogSink& sink, const ReadRequest& request) override;
    void restart() override;
    const std::string& getFailureReason() const override { return reason; }
    uint64_t getReadPosition() const override { return readPosition; }
    std::string getWatchPath() const override { return path; }

private:
    enum class Start { Tail, NewContent, NewFile };
    // Reads the file held to its end once its name denotes another file or none: Read when done.
    Result drainHeld(LogSink& sink, Deadline deadline, bool& gotAny);
    void closeHeld();
    // Forgets the file read: the next read takes the file under the name as it finds it.
    void forgetFile();
    void startOver(LogSink& sink, const ReadRequest& request, uint64_t size, Start start);
    bool fingerprintMatches();
    Result readHeld(LogSink& sink, Deadline deadline);
    Result readAppended(LogSink& sink, Deadline deadline);
    int32_t readStep(LogSink& sink, int32_t n);
    void keepFingerprint(const char* bytes, int32_t n);
    bool checkEncoding();

    const std::string path;
    FileSystem& files;
    std::string reason; // why the file could not be opened
    FileSystem::Handle held = FileSystem::NoHandle;
    // Descriptors ran out: the file is opened for each read (told once).
    bool openForEachRead = false;
    int64_t lastWriteTime = 0;
    uint64_t readPosition = UnknownPosition;
    // The identity of the file read from (0, 0: none yet).
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t birth = -1;
    // A read found the file missing since the reading state was last reset.
    bool wasMissing = false;
    // The file's encoding is looked at after each start over until its start tells it.
    bool encodingChecked = false;
    Utf16Decoder utf16;
    std::string decoded;
    // The last fingerprintLength bytes before readPosition.
    char fingerprint[FingerprintSize];
    int32_t fingerprintLength = 0;
};

} // namespace kestrano
