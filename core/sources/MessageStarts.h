// Finds where a log's messages start and what severity each has, without making them: the line
// cutter's decisions (blank lines, continuations by indentation or for want of a header, the stated
// level, the keywords) taken over whole blocks of raw text with one scan for line ends and keywords.
#pragma once

#include "core/text/HeaderReader.h"
#include "core/text/KeywordLists.h"
#include "core/text/LogLayout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrano {

class CuttingRules;

class MessageStarts {
public:
    struct Start {
        int32_t offset; // of the message's first line in the text scanned
        int32_t severity;
        bool byKeywords; // not stated by its header
    };

    // The rules and the layout the file's lines were recognised to have; both must outlive the
    // finder. Running out of memory throws.
    MessageStarts(const CuttingRules& rules, const LogLayout& layout);
    MessageStarts(const MessageStarts&) = delete; // its header reader points at its keywords
    MessageStarts& operator=(const MessageStarts&) = delete;

    // The next line begins a file, or a message (no message before it to continue).
    void reset() { hasMessage = false; }
    // Looks at the complete lines of text[0..n), which starts at a line's start, and appends to starts
    // the messages that begin there. Returns the length of those lines, line ends included. NUL bytes
    // count as absent, as the view drops them. Running out of memory throws.
    int32_t scan(const char* text, int32_t n, std::vector<Start>& starts);
    // Judges the next bytes of a file read in turn in blocks of blockBytes, text[0..n) (those held from
    // the block before, then those read), after the lines judged before them; with endsFile the file
    // ends there and ends their last line (n grows by that line end). Appends the messages that start
    // there (offsets from text) and returns the bytes judged: complete lines, a line longer than a block
    // judged by its first block, or the rest of such a line passed over, whose keywords give the last
    // message raise (Severity::None: nothing to raise). text[n] must be writable.
    int32_t judgeNext(char* text, int32_t& n, int32_t blockBytes, bool endsFile, std::vector<Start>& starts,
        int32_t& raise);

private:
    // Scans a block: a whole block (full) in which no line ends holds the start of a line longer than a
    // block, judged by this block alone; the rest of it is passed over by skipLongLine. Returns the bytes
    // judged. text[n] must be writable.
    int32_t scanBlock(char* text, int32_t n, bool full, std::vector<Start>& starts);
    // Passes over the rest of the long line in text[0..n): its bytes there, up to its line end; once that
    // is found, the line is done (the caller passes the line end too).
    int32_t skipLongLine(const char* text, int32_t n);
    void takeLine(const char* text, int32_t start, int32_t end, bool hasNul, std::vector<Start>& starts);
    void classifyPending(const char* text, std::vector<Start>& starts);
    struct LineMarks {
        bool nonAscii;
        bool otherCandidates;
    };
    LineMarks marksOf(int32_t from, int32_t to, int32_t skipFrom, int32_t skipTo) const;
    int32_t classify(
        const char* line, int32_t length, int32_t firstBit, const HeaderReader::WordSeen& word) const;

    const CuttingRules& rules;
    KeywordLists keywords;
    HeaderReader headers; // with the keywords

    bool hasMessage = false;
    bool skippingLine = false;
    bool longLineClassified = false;
    std::vector<uint64_t> bits;
    // The lines of the text being scanned that start messages to classify by their keywords.
    struct Pending {
        int32_t start; // in starts
        int32_t length;
        HeaderReader::WordSeen word;
    };
    std::vector<Pending> pending;
    size_t pendingCount = 0;
    ScanMarks marks {};
    std::string withoutNul;
};

} // namespace kestrano
