#include "core/Message.h"

#include "core/Capacity.h"
#include "core/KeywordLists.h"
#include "core/WhiteSpace.h"
#include "foundation/Exception.h"

#include <cstdlib>
#include <cstring>

namespace kestrano {

Message::Message(const char* line, int32_t length, const KeywordLists& keywords)
    : Message(line, length, keywords.classify(line, length))
{ }

Message::Message(const char* line, int32_t length, int32_t severity)
    : severity(severity)
{
    const char* begin = line;
    const char* end = line + length;
    trimWhiteSpace(begin, end);
    textLength = static_cast<int32_t>(end - begin);
    textCapacity = textLength + 1;
    text = static_cast<char*>(haspel::AllocateOrThrow(static_cast<std::size_t>(textCapacity)));
    std::memcpy(text, begin, static_cast<std::size_t>(textLength));
    text[textLength] = '\0';
}

Message::~Message()
{
    std::free(text);
}

void Message::appendContinuationLine(const char* line, int32_t length)
{
    const char* begin = line;
    const char* end = line + length;
    trimWhiteSpace(begin, end);
    const auto added = static_cast<int32_t>(end - begin);
    if (added > INT32_MAX - 3 - textLength)
        throw haspel::EOutOfMemory();
    const int32_t needed = textLength + 2 + added + 1;
    if (needed > textCapacity) {
        const int32_t capacity = grownCapacity(textCapacity, needed);
        text = static_cast<char*>(haspel::ReallocateOrThrow(text, static_cast<std::size_t>(capacity)));
        textCapacity = capacity;
    }
    text[textLength] = '\r';
    text[textLength + 1] = '\n';
    std::memcpy(text + textLength + 2, begin, static_cast<std::size_t>(added));
    textLength = needed - 1;
    text[textLength] = '\0';
}

} // namespace kestrano
