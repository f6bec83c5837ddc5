// One entry of a log: the severity its first line was classified with and its text, the trimmed first
// line followed by each trimmed continuation line, joined by carriage return and line feed.
#pragma once

#include "foundation/ContainingList.h"
#include "foundation/RawAllocated.h"

#include <cstdint>

namespace kestrano {

class KeywordLists;

// Created with new from the foundation allocator, so running out of memory raises haspel::EOutOfMemory.
class Message : public haspel::ContainingListItem<Message>, public haspel::RawAllocated {
public:
    // Classifies the raw line (without its line end) and keeps its trimmed text.
    // Throws haspel::EOutOfMemory when the text cannot be allocated.
    Message(const char* line, int32_t length, const KeywordLists& keywords);
    ~Message() override;
    Message(const Message&) = delete;
    Message& operator=(const Message&) = delete;

    int32_t getSeverity() const { return severity; }
    // A source that knows better (the journal's priority) raises the classified severity.
    void raiseSeverity(int32_t least) { severity = least > severity ? least : severity; }
    const char* getText() const { return text; }
    int32_t getTextLength() const { return textLength; }

    // Joins a raw continuation line: text becomes text, CR LF, trimmed line. Severity stays.
    // Throws haspel::EOutOfMemory and then leaves the text as it was.
    void appendContinuationLine(const char* line, int32_t length);

private:
    int32_t severity;
    char* text = nullptr;
    int32_t textLength = 0;
    int32_t textCapacity = 0; // bytes allocated, the NUL included
};

} // namespace kestrano
