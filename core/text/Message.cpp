#include "core/text/Message.h"

#include "core/text/Capacity.h"
#include "core/text/DisplayText.h"
#include "core/text/KeywordLists.h"
#include "core/text/WhiteSpace.h"
#include "foundation/Exception.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <string>
#include <string_view>
#include <type_traits>

namespace kestrano {
namespace {

// Room for the mark after a cut text, its NUL included.
constexpr int32_t MarkBytes = 40;

} // namespace

static_assert(sizeof(Message) == sizeof(haspel::ContainingListItem<Message>) + 24, "room ends the message");
static_assert(!std::is_polymorphic_v<Message>, "a kept message carries no virtual table");
static_assert(Message::MaxTextBytes + MarkBytes <= int32_t((1u << 21) - 1), "every length fits its bits");
static_assert(static_cast<int>(LastCoreText) < 64, "every notice fits its bits");

Message* Message::create(const char* line, int32_t length, int32_t severity, int64_t cutBytes)
{
    SpareBlock none;
    return create(line, length, severity, cutBytes, none);
}

Message* Message::create(
    const char* line, int32_t length, int32_t severity, int64_t cutBytes, SpareBlock& spare)
{
    const char* begin = line;
    const char* end = line + length;
    trimWhiteSpace(begin, end);
    const auto textLength = static_cast<int32_t>(end - begin);
    const bool useRoom = cutBytes == 0 && textLength <= MaxTextBytes;
    const int32_t room = useRoom && textLength >= RoomBytes ? textLength + 1 : RoomBytes;
    const std::size_t size = blockSize(room);
    void* block;
    if (spare.block && spare.bytes >= size && spare.bytes <= 2 * size) {
        block = spare.block;
        spare.block = nullptr;
    } else {
        block = haspel::AllocateOrThrow(size);
    }
    auto* message = new (block) Message(severity);
    try {
        message->keepText(begin, end, cutBytes, useRoom);
    } catch (...) {
        message->~Message();
        std::free(block);
        throw;
    }
    return message;
}

void Message::retire(Message* message, SpareBlock& spare)
{
    // The larger block is kept (up to a bound), so that more new messages fit it.
    constexpr std::size_t LargestSpare = 1024;
    // A block reused keeps its size, which may be more than its message needs.
    const std::size_t bytes = message->isExternal() ? 0 : malloc_usable_size(message);
    if (bytes == 0 || bytes > LargestSpare || (spare.block && spare.bytes >= bytes)) {
        delete message;
        return;
    }
    message->~Message();
    std::free(spare.block);
    spare.block = message;
    spare.bytes = bytes;
}

Message* Message::createNotice(const ShownText& notice, int32_t severity)
{
    const std::string text = notice.english();
    Message* message = create(text.data(), static_cast<int32_t>(text.size()), severity);
    if (message->getCutBytes() == 0 && message->getTextLength() == static_cast<int32_t>(text.size()))
        message->bits |= static_cast<uint32_t>(notice.id) << NoticeShift;
    return message;
}

ShownText Message::getNotice() const
{
    const auto id = static_cast<CoreText>((bits & NoticeMask) >> NoticeShift);
    if (id == CoreText::None)
        return {};
    // The argument is what the text holds in place of "%1", the detail in place of "%2".
    const std::string_view english = englishOf(id);
    const size_t place = english.find("%1");
    if (place == std::string_view::npos)
        return {id, {}};
    const std::string_view text(getText(), static_cast<size_t>(getTextLength()));
    const size_t second = english.find("%2", place);
    if (second == std::string_view::npos)
        return {id, std::string(text.substr(place, text.size() - (english.size() - 2)))};
    const std::string_view between = english.substr(place + 2, second - place - 2);
    const size_t argumentEnd = text.find(between, place);
    const size_t detailEnd = text.size() - (english.size() - second - 2);
    if (argumentEnd == std::string_view::npos || argumentEnd + between.size() > detailEnd)
        return {};
    return {id, std::string(text.substr(place, argumentEnd - place)),
        std::string(text.substr(argumentEnd + between.size(), detailEnd - argumentEnd - between.size()))};
}

Message::Message(int32_t severity)
    : bits(static_cast<uint32_t>(severity + 1) << SeverityShift)
{ }

Message::Message(const char* line, int32_t length, const KeywordLists& keywords)
    : Message(keywords.classify(line, length))
{
    const char* begin = line;
    const char* end = line + length;
    trimWhiteSpace(begin, end);
    keepText(begin, end, 0, false);
}

int64_t Message::readTime() const
{
    time = LogTime::readUnread(time, getText(), getTextLength());
    return time;
}

Message::~Message()
{
    if (isExternal())
        std::free(external());
}

Message::External* Message::external() const
{
    External* block;
    std::memcpy(&block, inRoom(), sizeof block);
    return block;
}

void Message::keepText(const char* begin, const char* end, int64_t cutBytes, bool useRoom)
{
    auto length = static_cast<int32_t>(end - begin);
    if (useRoom) {
        char* text = inRoom();
        std::memcpy(text, begin, static_cast<std::size_t>(length));
        text[length] = '\0';
        setLength(length);
        return;
    }
    int32_t kept = length;
    if (kept > MaxTextBytes) {
        kept = rowPrefixLength(begin, length, MaxTextBytes);
        cutBytes += length - kept;
    }
    reserveExternal(kept + 1 + (cutBytes > 0 ? MarkBytes : 0));
    External* text = external();
    std::memcpy(text->text(), begin, static_cast<std::size_t>(kept));
    text->text()[kept] = '\0';
    text->kept = kept;
    text->cutBytes = cutBytes;
    setLength(kept);
    if (cutBytes > 0)
        writeCutMark();
}

void Message::reserveExternal(int32_t needed)
{
    const bool wasExternal = isExternal();
    if (wasExternal && external()->capacity >= needed)
        return;
    const int32_t capacity = grownCapacity(wasExternal ? external()->capacity : getTextLength() + 1, needed);
    auto* block = static_cast<External*>(
        haspel::AllocateOrThrow(sizeof(External) + static_cast<std::size_t>(capacity)));
    block->capacity = capacity;
    block->cutBytes = wasExternal ? external()->cutBytes : 0;
    block->kept = wasExternal ? external()->kept : getTextLength();
    std::memcpy(block->text(), getText(), static_cast<std::size_t>(getTextLength()) + 1);
    if (wasExternal)
        std::free(external());
    std::memcpy(inRoom(), &block, sizeof block);
    bits |= ExternalBit;
}

void Message::writeCutMark()
{
    External* text = external();
    const int n
        = std::snprintf(text->text() + text->kept, MarkBytes, " [... %" PRId64 " bytes cut]", text->cutBytes);
    setLength(text->kept + n);
}

void Message::appendContinuationLine(const char* line, int32_t length, int64_t cutBytes)
{
    const char* begin = line;
    const char* end = line + length;
    trimWhiteSpace(begin, end);
    const auto added = static_cast<int32_t>(end - begin);
    if (getCutBytes() > 0) {
        // Cut already: the continuation only counts.
        external()->cutBytes += 2 + added + cutBytes;
        writeCutMark();
        return;
    }
    const int32_t textLength = getTextLength();
    int32_t keptAdded = added;
    int64_t cut = cutBytes;
    if (added > MaxTextBytes - 2 - textLength) {
        keptAdded = textLength + 2 > MaxTextBytes
            ? 0
            : rowPrefixLength(begin, added, MaxTextBytes - 2 - textLength);
        cut += added - keptAdded;
    }
    const bool joined = keptAdded > 0 || (added == 0 && textLength + 2 <= MaxTextBytes);
    const int32_t kept = textLength + (joined ? 2 + keptAdded : 0);
    if (!joined)
        cut += 2;
    reserveExternal(kept + 1 + (cut > 0 ? MarkBytes : 0));
    bits &= ~NoticeMask; // the text is no longer the notice alone
    External* text = external();
    if (joined) {
        text->text()[textLength] = '\r';
        text->text()[textLength + 1] = '\n';
        std::memcpy(text->text() + textLength + 2, begin, static_cast<std::size_t>(keptAdded));
    }
    text->text()[kept] = '\0';
    text->kept = kept;
    setLength(kept);
    if (cut > 0) {
        text->cutBytes = cut;
        writeCutMark();
    }
}

} // namespace kestrano
