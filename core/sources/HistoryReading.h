// Reading one file of a log's history: its bytes from an offset on (a compressed file decompressed from
// its start), and a line cutter as the view's that has recognised the file's layout from its start, as
// a cutter of the whole file would have.
#pragma once

#include "core/ports/FileSystem.h"
#include "core/sources/Decompressor.h"
#include "core/text/CuttingRules.h"
#include "core/text/LineCutter.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kestrano {

// The view's rules with nothing trimmed: the history takes the messages out of its cutters itself.
class HistoryRules : public CuttingRules {
public:
    explicit HistoryRules(const CuttingRules& rules);
};

class HistoryFileReader {
public:
    // The size of the pieces the history reads in passing.
    static constexpr int32_t PieceBytes = 1 << 18;
    static constexpr size_t KeptBytes = size_t(16) << 20;

    HistoryFileReader(FileSystem& files, std::string path);
    ~HistoryFileReader() { close(); }
    HistoryFileReader(const HistoryFileReader&) = delete;
    HistoryFileReader& operator=(const HistoryFileReader&) = delete;

    // Opens the file to read from offset from (of the decompressed text of a .gz or .xz file); false
    // with the reason when it can't be.
    bool open(uint64_t from, std::string& reason);
    // Goes on to offset to, not before the position: false when the file can't be read to there.
    bool skipTo(uint64_t to, std::string& reason);
    // A compressed file's reader keeps what it decompresses from the position on (up to KeptBytes),
    // to be read again after rewindTo, and forgets what it kept before. Nothing for a plain file.
    void keepFromHere();
    // Goes back to offset within what was kept: false when it wasn't kept.
    bool rewindTo(uint64_t offset);
    uint64_t getPosition() const { return position; }
    void close();
    // Reads on: the bytes given, 0 at the end, -1 on failure (reason says why).
    int32_t read(char* buffer, int32_t n, std::string& reason);
    // Fills the buffer as far as the file goes: the bytes given, -1 on failure.
    int32_t readFully(char* buffer, int32_t n, std::string& reason);
    FileSystem::Handle getHandle() const { return handle; }
    bool isCompressed() const { return decompressor != nullptr; }

private:
    bool failed(const std::string& why, std::string& reason) const;

    FileSystem& files;
    const std::string path;
    FileSystem::Handle handle = FileSystem::NoHandle;
    std::unique_ptr<Decompressor> decompressor;
    uint64_t position = 0;
    // Decompressed bytes kept from keptFrom on, while keeping.
    std::string kept;
    uint64_t keptFrom = 0;
    bool keeping = false;
};

class PrimedCutter {
public:
    // A cutter of the file that has recognised its layout from the file's start; without prime, one
    // left to recognise it from the lines it cuts first, as it will when they are the file's first.
    // ok is false (with the reason) when the file's start can't be read.
    PrimedCutter(FileSystem& files, const std::string& path, const CuttingRules& rules, bool prime,
        std::string& reason, bool& ok);

    LineCutter& getCutter() { return cutter; }
    // Whether the layout was recognised from enough lines not to be looked at again.
    bool isSettled() const { return settled; }

private:
    class Listener : public LineCutterListener {
        void messageAdded(Message*) override { }
        void messageContinued(Message*) override { }
    };
    Listener listener;
    LineCutter cutter;
    bool settled = false;
};

// Drops the NUL bytes of a text, as the view does.
void dropNul(std::string& text);

} // namespace kestrano
