#include "foundation/String.h"

#include "foundation/Exception.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace haspel {

namespace {

constexpr int32_t kFormatLimit = 536870912; // 512 MiB

int32_t TextLength(const char* text)
{
    const std::size_t n = text ? std::strlen(text) : 0;
    if (n >= static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
        throw EOutOfMemory();
    return static_cast<int32_t>(n);
}

// Length of at most n bytes, stopping early at a zero byte.
int32_t BoundedLength(const char* bytes, int32_t n)
{
    if (!bytes || n <= 0)
        return 0;
    const void* zero = std::memchr(bytes, '\0', static_cast<std::size_t>(n));
    return zero ? static_cast<int32_t>(static_cast<const char*>(zero) - bytes) : n;
}

// The capacity a buffer of oldCapacity bytes is given when size bytes are asked for: grown by the
// doubling (then one-and-a-half) rule when it was too small, rounded to the next multiple of 4 above.
int32_t GrownCapacity(int32_t oldCapacity, int64_t size)
{
    int64_t target = size;
    if (oldCapacity > 0 && oldCapacity < size) {
        const int64_t c = oldCapacity;
        const int64_t growth = c < 16 ? 16 : c < 0x4000 ? 2 * c : c + c / 2;
        target = std::max(size, growth);
    }
    target = (target + 4) / 4 * 4;
    if (target > std::numeric_limits<int32_t>::max())
        throw EOutOfMemory();
    return static_cast<int32_t>(target);
}

bool ExpansionFits(int count, int32_t capacity)
{
    return count >= 0 && count < capacity - 1;
}

} // namespace

String::String()
{
    Reserve(0, false);
}

String::String(const char* text)
{
    const int32_t n = TextLength(text);
    Reserve(n + 1, false);
    AppendRaw(text, n);
}

String::String(const char* bytes, int32_t n)
{
    n = BoundedLength(bytes, n);
    Reserve(n + 1, false);
    AppendRaw(bytes, n);
}

String::String(char character)
{
    Reserve(2, false);
    AppendRaw(&character, character ? 1 : 0);
}

String::String(const String& other)
{
    JoinChainAfter(other);
}

String& String::operator=(const String& other)
{
    Assign(other);
    return *this;
}

String::~String()
{
    ReleaseBuffer();
}

void String::JoinChainAfter(const String& other)
{
    buffer = other.buffer;
    capacity = other.capacity;
    length = other.length;
    previousSharer = const_cast<String*>(&other);
    nextSharer = other.nextSharer;
    if (nextSharer)
        nextSharer->previousSharer = this;
    other.nextSharer = this;
}

void String::LeaveChain()
{
    if (previousSharer)
        previousSharer->nextSharer = nextSharer;
    if (nextSharer)
        nextSharer->previousSharer = previousSharer;
    previousSharer = nullptr;
    nextSharer = nullptr;
}

void String::ReleaseBuffer()
{
    if (!IsShared())
        std::free(buffer);
    LeaveChain();
    buffer = nullptr;
    capacity = 0;
    length = 0;
}

void String::Assign(const String& other)
{
    if (buffer == other.buffer)
        return;
    ReleaseBuffer();
    JoinChainAfter(other);
}

void String::Assign(const char* text)
{
    const int32_t n = TextLength(text);
    // A text inside this string's own buffer survives: a private buffer with room is reused
    // (memmove), a reallocation hands the old buffer back only after the copy.
    if (!IsShared() && capacity >= n + 1) {
        if (n > 0)
            std::memmove(buffer, text, static_cast<std::size_t>(n));
        buffer[n] = '\0';
        length = n;
        return;
    }
    char* old = ReserveDeferred(n + 1, false);
    AppendRaw(text, n);
    std::free(old);
}

String* String::Clone() const
{
    return new String(*this);
}

int32_t String::Length() const
{
    if (length < 0)
        length = static_cast<int32_t>(std::strlen(buffer));
    return length;
}

bool String::Equals(const char* text) const
{
    return std::strcmp(buffer, text ? text : "") == 0;
}

void String::Reserve(int32_t size, bool keep)
{
    std::free(ReserveDeferred(size, keep));
}

char* String::ReserveDeferred(int64_t size, bool keep)
{
    size = std::max<int64_t>(size, 0);
    if (buffer && !IsShared() && capacity >= size)
        return nullptr;

    const int32_t newCapacity = GrownCapacity(capacity, size);
    char* fresh = static_cast<char*>(AllocateOrThrow(static_cast<std::size_t>(newCapacity)));
    // Nothing changes before the allocation succeeded: the string keeps its buffer on failure.
    if (buffer && keep) {
        const int32_t kept = static_cast<int32_t>(std::min<int64_t>(size, capacity));
        std::memcpy(fresh, buffer, static_cast<std::size_t>(kept));
        if (Length() >= size) { // the request cut the text short
            fresh[size] = '\0';
            length = static_cast<int32_t>(size);
        }
    } else {
        fresh[0] = '\0';
        length = 0;
    }
    const bool shared = IsShared();
    LeaveChain();
    char* old = shared ? nullptr : buffer;
    buffer = fresh;
    capacity = newCapacity;
    return old;
}

void String::AppendRaw(const char* bytes, int32_t n)
{
    const int32_t at = Length();
    if (n > 0)
        std::memcpy(buffer + at, bytes, static_cast<std::size_t>(n));
    buffer[at + n] = '\0';
    length = at + n;
}

void String::Append(const char* text)
{
    AppendBytes(text, TextLength(text));
}

void String::AppendBytes(const char* bytes, int32_t n)
{
    n = BoundedLength(bytes, n);
    char* old = ReserveDeferred(static_cast<int64_t>(Length()) + n + 1, true);
    AppendRaw(bytes, n);
    std::free(old);
}

void String::AppendChar(char character)
{
    AppendBytes(&character, 1);
}

void String::AppendInt(int32_t value)
{
    const int32_t at = Length();
    std::free(ReserveDeferred(static_cast<int64_t>(at) + 12, true));
    std::snprintf(buffer + at, 12, "%d", static_cast<int>(value));
    length = -1;
}

void String::Truncate(int32_t position)
{
    position = std::max(position, 0);
    if (position >= Length())
        return;
    Reserve(position + 1, true);
    buffer[position] = '\0';
    length = position;
}

void String::DropTail(int32_t n)
{
    if (n < 0)
        return;
    Truncate(n >= Length() ? 0 : Length() - n);
}

bool String::EndsWith(const char* text) const
{
    const int32_t n = TextLength(text);
    if (n == 0)
        return true;
    if (n > Length())
        return false;
    return std::memcmp(buffer + Length() - n, text, static_cast<std::size_t>(n)) == 0;
}

int32_t String::IndexOf(char character) const
{
    const void* found = std::memchr(buffer, character, static_cast<std::size_t>(Length()));
    return found ? static_cast<int32_t>(static_cast<const char*>(found) - buffer) : -1;
}

int32_t String::Find(const char* text, int32_t start) const
{
    start = std::max(start, 0);
    if (start > Length())
        return -1;
    const char* found = std::strstr(buffer + start, text ? text : "");
    return found ? static_cast<int32_t>(found - buffer) : -1;
}

void String::ToLower()
{
    Reserve(Length() + 1, true);
    for (char* p = buffer; *p; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
            *p = static_cast<char>(byte + 0x20);
    }
}

void String::Format(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    try {
        FormatFromVargs(format, arguments);
    } catch (...) {
        va_end(arguments);
        throw;
    }
    va_end(arguments);
}

void String::FormatFromVargs(const char* format, va_list arguments)
{
    // The formatter reports the full length whatever the buffer, so the capacity the doubling would
    // end at is worked out first and the text is expanded once, into a fresh buffer: the arguments
    // may point into the old one.
    va_list measuring;
    va_copy(measuring, arguments);
    const int count = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);

    const int64_t first = static_cast<int64_t>(TextLength(format)) * 4 / 3;
    int32_t target = !IsShared() && capacity >= first ? capacity : GrownCapacity(capacity, first);
    while (!ExpansionFits(count, target) && target < kFormatLimit)
        target = GrownCapacity(target, static_cast<int64_t>(target) * 2);
    // A buffer at the limit fails even when the expansion would fit it.
    if (target >= kFormatLimit) {
        Reserve(0, false);
        buffer[0] = '\0';
        length = 0;
        throw EIllegalArgument(
            "Formatted string requires too much space (>512MB)", "haspel::String::FormatFromVargs", 1147);
    }

    char* fresh = static_cast<char*>(AllocateOrThrow(static_cast<std::size_t>(target)));
    std::vsnprintf(fresh, static_cast<std::size_t>(target), format, arguments);
    ReleaseBuffer();
    buffer = fresh;
    capacity = target;
    length = -1;
}

} // namespace haspel
