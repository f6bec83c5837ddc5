// A compressed log (".gz", ".xz"), decompressed as it is read: the last InitiallyReadBytes of its text,
// read again whenever the compressed file changes; a file that comes under the name in its place (a
// rotation) is read after what was shown, and the file being read is read to its end first. The text is
// streamed twice (once to learn its length, once to hand over its tail), so memory stays bounded whatever the
// file's size.
#pragma once

#include "core/sources/Decompressor.h"
#include "core/sources/LogSource.h"

#include <memory>

namespace kestrano {

class CompressedFileSource : public LogSource {
public:
    CompressedFileSource(const char* path, Decompressor::Format format, FileSystem& files);
    ~CompressedFileSource() override;

    Result read(LogSink& sink, const ReadRequest& request) override
    {
        return keepingWhatWasRead([&] { return readNew(sink, request); });
    }
    void restart() override;
    const std::string& getFailureReason() const override { return reason; }
    std::string getWatchPath() const override { return path; }

private:
    Result readNew(LogSink& sink, const ReadRequest& request);
    enum class Phase { Idle, Measuring, Handing };
    bool begin(Phase phase);
    bool decompress(Phase phase);
    void startHanding(LogSink& sink, uint64_t from);
    void stop();
    Result failed(const std::string& why);

    const std::string path;
    const Decompressor::Format format;
    FileSystem& files;
    FileSystem::Handle file = FileSystem::NoHandle;
    std::unique_ptr<Decompressor> decompressor;
    Phase phase = Phase::Idle;
    uint64_t textLength = 0; // measured, then handed over so far
    uint64_t handFrom = 0; // where the tail begins in the text
    bool lineOpen = false;
    // The file as last read through (zero: not yet).
    uint64_t device = 0, inode = 0, size = 0;
    int64_t modified = 0;
    bool known = false;
    // The file read is another than the one read before it under the name (a rotation).
    bool newFile = false;
    std::string reason;
};

} // namespace kestrano
