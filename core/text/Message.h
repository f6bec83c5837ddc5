// One entry of a log: the severity its first line was classified with, the time its header states and
// its text, the trimmed first line followed by each trimmed continuation line, joined by carriage return
// and line feed. The text keeps at most MaxTextBytes; what is cut beyond is counted in a mark at its end.
#pragma once

#include "core/text/CoreText.h"
#include "core/text/LogTime.h"
#include "foundation/ContainingList.h"
#include "foundation/RawAllocated.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace kestrano {

class KeywordLists;

// Created with new from the foundation allocator, so running out of memory raises haspel::EOutOfMemory.
class Message : public haspel::ContainingListItem<Message>, public haspel::RawAllocated {
public:
    // The most text a message keeps, the mark of a cut text aside.
    static constexpr int32_t MaxTextBytes = 1024 * 1024;

    // A message of the trimmed line and its text in one allocation; cutBytes more bytes of the line
    // were not kept. Throws haspel::EOutOfMemory. Deleted with delete.
    static Message* create(const char* line, int32_t length, int32_t severity, int64_t cutBytes = 0);

    // The block of a deleted message, kept for the next one that fits it (a log that keeps its newest
    // messages drops one for each it makes). Frees what it holds.
    class SpareBlock {
    public:
        SpareBlock() = default;
        ~SpareBlock() { std::free(block); }
        SpareBlock(const SpareBlock&) = delete;
        SpareBlock& operator=(const SpareBlock&) = delete;

    private:
        friend class Message;
        void* block = nullptr;
        std::size_t bytes = 0;
    };
    // As create, in the spare block when it fits (then it is taken).
    static Message* create(
        const char* line, int32_t length, int32_t severity, int64_t cutBytes, SpareBlock& spare);
    // Deletes the message, keeping its block as the spare when it is the better one to keep.
    static void retire(Message* message, SpareBlock& spare);

    // A notice of the program's own: its English text, classified with the severity given, that knows
    // which notice it is. Throws haspel::EOutOfMemory. Deleted with delete.
    static Message* createNotice(const ShownText& notice, int32_t severity);

    // Classifies the raw line (without its line end) and keeps its trimmed text in an allocation of
    // its own. Throws haspel::EOutOfMemory when the text cannot be allocated.
    Message(const char* line, int32_t length, const KeywordLists& keywords);
    ~Message();
    Message(const Message&) = delete;
    Message& operator=(const Message&) = delete;

    using RawAllocated::operator new;
    static void* operator new(std::size_t, void* place) { return place; }

    int32_t getSeverity() const { return static_cast<int32_t>(bits >> SeverityShift) - 1; }
    // The severity a source states (the journal's priority) replaces the classified one.
    void setSeverity(int32_t severity)
    {
        bits = (bits & ((1u << SeverityShift) - 1)) | (static_cast<uint32_t>(severity + 1) << SeverityShift);
    }
    // A source that knows better (the journal's priority) raises the classified severity.
    void raiseSeverity(int32_t least)
    {
        if (least > getSeverity())
            bits = (bits & ((1u << SeverityShift) - 1)) | (static_cast<uint32_t>(least + 1) << SeverityShift);
    }
    const char* getText() const { return isExternal() ? external()->text() : inRoom(); }
    // The time the header states, packed as LogTime packs it; LogTime::None when it states none.
    int64_t getTime() const { return LogTime::isUnread(time) ? readTime() : time; }
    void setTime(int64_t packed) { time = packed; }
    int32_t getTextLength() const { return static_cast<int32_t>(bits & LengthMask); }
    // The notice the message is, with its argument; CoreText::None for a line of the log (and for a
    // notice that a continuation line joined).
    ShownText getNotice() const;
    // The bytes of the message that were not kept (0 when the text is whole).
    int64_t getCutBytes() const { return isExternal() ? external()->cutBytes : 0; }

    // Joins a raw continuation line: text becomes text, CR LF, trimmed line (cutBytes more bytes of
    // it were not kept). Severity stays. Throws haspel::EOutOfMemory and then leaves the text as it was.
    void appendContinuationLine(const char* line, int32_t length, int64_t cutBytes = 0);

private:
    // A text that grew, or was cut, lives in a block of its own: this header, then the text.
    struct External {
        int64_t cutBytes;
        int32_t capacity; // bytes of text, the NUL included
        int32_t kept; // bytes of text before the mark
        char* text() { return reinterpret_cast<char*>(this + 1); }
    };
    static constexpr uint32_t LengthMask = (1u << 21) - 1;
    static constexpr int NoticeShift = 21;
    static constexpr uint32_t NoticeMask = 63u << NoticeShift;
    static constexpr uint32_t ExternalBit = 1u << 27;
    static constexpr int SeverityShift = 28;
    static constexpr int32_t RoomBytes = 12;

    explicit Message(int32_t severity);
    // The bytes of a message's allocation with room for `room` bytes of text (RoomBytes at least).
    static constexpr std::size_t blockSize(int32_t room)
    {
        return sizeof(Message) - RoomBytes + static_cast<std::size_t>(room);
    }
    // The text in room runs on into the rest of the allocation, so it is reached by address.
    char* inRoom() const { return const_cast<char*>(room); }
    bool isExternal() const { return bits & ExternalBit; }
    External* external() const;
    void setLength(int32_t length) { bits = (bits & ~LengthMask) | static_cast<uint32_t>(length); }
    // Keeps the text [begin, end) in room (which runs on into the allocation) or in a block of its
    // own, cut at MaxTextBytes.
    void keepText(const char* begin, const char* end, int64_t cutBytes, bool useRoom);
    // Gives the text a block of its own with room for `needed` bytes, the NUL included.
    void reserveExternal(int32_t needed);
    void writeCutMark();

    // Reads an unread time from the text, once.
    int64_t readTime() const;

    mutable int64_t time = 0;
    uint32_t bits; // text length, external flag, severity + 1
    // The text, running on into the rest of the allocation (create), or the address of its block.
    char room[RoomBytes];
};

} // namespace kestrano
