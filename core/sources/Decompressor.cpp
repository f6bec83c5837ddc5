#include "core/sources/Decompressor.h"

#include <cerrno>
#include <cstring>
#include <lzma.h>
#include <zlib.h>

namespace kestrano {
namespace {

class GzipDecompressor : public Decompressor {
public:
    GzipDecompressor(FileSystem& files, FileSystem::Handle file)
        : Decompressor(files, file)
    { }
    ~GzipDecompressor() override
    {
        if (started)
            inflateEnd(&stream);
    }

    bool start(std::string& reason)
    {
        // 15 + 32: the largest window, gzip or zlib header detected.
        if (inflateInit2(&stream, 15 + 32) != Z_OK) {
            reason = stream.msg ? stream.msg : "cannot set up zlib";
            return false;
        }
        started = true;
        return true;
    }

    int32_t read(char* out, int32_t n) override
    {
        if (finished)
            return 0;
        stream.next_out = reinterpret_cast<Bytef*>(out);
        stream.avail_out = static_cast<uInt>(n);
        while (stream.avail_out > 0) {
            if (stream.avail_in == 0) {
                if (!fill())
                    return -1;
                if (inputLength == 0) {
                    if (inMember)
                        return fail("unexpected end of file");
                    finished = true;
                    break;
                }
                stream.next_in = input;
                stream.avail_in = static_cast<uInt>(inputLength);
            }
            const int result = inflate(&stream, Z_NO_FLUSH);
            inMember = true;
            if (result == Z_STREAM_END) {
                // Another member may follow; trailing zero padding ends the data.
                inMember = false;
                inflateReset(&stream);
                skipPadding();
            } else if (result == Z_BUF_ERROR) {
                if (stream.avail_in != 0)
                    return fail("cannot decompress");
            } else if (result != Z_OK)
                return fail(stream.msg ? stream.msg : "damaged data");
        }
        return n - static_cast<int32_t>(stream.avail_out);
    }

private:
    void skipPadding()
    {
        while (stream.avail_in > 0 && *stream.next_in == 0) {
            ++stream.next_in;
            --stream.avail_in;
        }
    }

    z_stream stream {};
    bool started = false;
    bool inMember = false;
    bool finished = false;
};

const char* lzmaReason(lzma_ret result)
{
    switch (result) {
    case LZMA_MEM_ERROR:
        return "out of memory";
    case LZMA_MEMLIMIT_ERROR:
        return "memory limit reached";
    case LZMA_FORMAT_ERROR:
        return "not in the .xz format";
    case LZMA_OPTIONS_ERROR:
        return "unsupported compression options";
    case LZMA_DATA_ERROR:
        return "compressed data is corrupt";
    case LZMA_BUF_ERROR:
        return "unexpected end of file";
    default:
        return "cannot decompress";
    }
}

class XzDecompressor : public Decompressor {
public:
    XzDecompressor(FileSystem& files, FileSystem::Handle file)
        : Decompressor(files, file)
    { }
    ~XzDecompressor() override { lzma_end(&stream); }

    bool start(std::string& reason)
    {
        const lzma_ret result = lzma_stream_decoder(&stream, UINT64_MAX, LZMA_CONCATENATED);
        if (result != LZMA_OK) {
            reason = lzmaReason(result);
            return false;
        }
        return true;
    }

    int32_t read(char* out, int32_t n) override
    {
        if (finished)
            return 0;
        stream.next_out = reinterpret_cast<uint8_t*>(out);
        stream.avail_out = static_cast<size_t>(n);
        while (stream.avail_out > 0) {
            lzma_action action = LZMA_RUN;
            if (stream.avail_in == 0 && !atEnd) {
                if (!fill())
                    return -1;
                atEnd = inputLength == 0;
                stream.next_in = input;
                stream.avail_in = static_cast<size_t>(inputLength);
            }
            if (atEnd)
                action = LZMA_FINISH;
            const lzma_ret result = lzma_code(&stream, action);
            if (result == LZMA_STREAM_END) {
                finished = true;
                break;
            }
            if (result != LZMA_OK)
                return fail(lzmaReason(result));
        }
        return n - static_cast<int32_t>(stream.avail_out);
    }

private:
    lzma_stream stream = LZMA_STREAM_INIT;
    bool atEnd = false;
    bool finished = false;
};

bool endsWith(const char* name, const char* suffix)
{
    const size_t length = std::strlen(name);
    const size_t suffixLength = std::strlen(suffix);
    return length > suffixLength && std::strcmp(name + length - suffixLength, suffix) == 0;
}

} // namespace

Decompressor::Decompressor(FileSystem& files, FileSystem::Handle file)
    : files(files)
    , file(file)
{ }

Decompressor::~Decompressor() = default;

std::unique_ptr<Decompressor> Decompressor::open(
    Format format, FileSystem& files, FileSystem::Handle file, std::string& reason)
{
    if (format == Format::Gzip) {
        auto decompressor = std::make_unique<GzipDecompressor>(files, file);
        if (decompressor->start(reason))
            return decompressor;
    } else {
        auto decompressor = std::make_unique<XzDecompressor>(files, file);
        if (decompressor->start(reason))
            return decompressor;
    }
    return nullptr;
}

bool Decompressor::formatOfName(const char* name, Format& format)
{
    if (endsWith(name, ".gz"))
        format = Format::Gzip;
    else if (endsWith(name, ".xz"))
        format = Format::Xz;
    else
        return false;
    return true;
}

bool Decompressor::fill()
{
    const int32_t got = files.readAt(file, reinterpret_cast<char*>(input), InputSize, offset);
    if (got < 0) {
        fail(std::strerror(errno ? errno : EIO));
        return false;
    }
    inputLength = got;
    offset += static_cast<uint64_t>(got);
    return true;
}

int32_t Decompressor::fail(const std::string& why)
{
    failure = why;
    return -1;
}

} // namespace kestrano
