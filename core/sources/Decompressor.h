// Streaming decompression of a file read through the file layer: gzip (zlib) and xz (liblzma), each
// with concatenated streams, as logrotate and the compressors write them. Bounded memory: one input
// buffer and the decoder's own state, whatever the file's size.
#pragma once

#include "core/ports/FileSystem.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kestrano {

class Decompressor {
public:
    enum class Format { Gzip, Xz };

    virtual ~Decompressor();
    // Reads the file from its start; nullptr when the decoder can't be set up (reason says why).
    static std::unique_ptr<Decompressor> open(
        Format format, FileSystem& files, FileSystem::Handle file, std::string& reason);
    // The format a file name asks for: a name ending in ".gz" or ".xz"; false for any other.
    static bool formatOfName(const char* name, Format& format);

    // Decompresses up to n bytes into out: the number given, 0 at the end of the data, -1 when the
    // file can't be read or is damaged (reason() says why).
    virtual int32_t read(char* out, int32_t n) = 0;
    const std::string& getReason() const { return failure; }

protected:
    Decompressor(FileSystem& files, FileSystem::Handle file);
    // Refills the input buffer: false on a read failure. At the end of the file inputLength is 0.
    bool fill();
    int32_t fail(const std::string& why);

    FileSystem& files;
    const FileSystem::Handle file;
    uint64_t offset = 0;
    static constexpr int32_t InputSize = 16384;
    unsigned char input[InputSize];
    int32_t inputLength = 0;
    std::string failure;
};

} // namespace kestrano
