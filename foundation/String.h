// haspel::String: a zero-terminated 8-bit byte string whose copies share one buffer
// (chained through next/previous sharer links) until one of them changes.
#pragma once

#include "foundation/RawAllocated.h"

#include <cstdarg>
#include <cstdint>

namespace haspel {

class String : public RawAllocated {
public:
    String(); // empty: capacity 4, length 0
    String(const char* text); // NOLINT: implicit, like a text literal
    String(const char* bytes, int32_t n); // the first n bytes (no NUL inside expected)
    explicit String(char character);
    String(const String& other); // shares other's buffer
    String& operator=(const String& other); // Assign(other)
    ~String();

    void Assign(const String& other); // share; nothing when the buffer is already the same
    void Assign(const char* text); // private copy
    String* Clone() const; // new heap String sharing this buffer; caller owns it

    int32_t Length() const; // recomputed when marked -1
    const char* GetText() const { return buffer; }
    int32_t GetCapacity() const { return capacity; }
    bool IsEmpty() const { return buffer[0] == '\0'; }
    bool SharesBufferWith(const String& other) const { return buffer == other.buffer; }
    bool Equals(const char* text) const; // byte-wise

    void Append(const char* text);
    void AppendBytes(const char* bytes, int32_t n);
    void AppendChar(char character);
    void AppendInt(int32_t value);
    void Truncate(int32_t position);
    void DropTail(int32_t n);
    bool EndsWith(const char* text) const;
    int32_t IndexOf(char character) const;
    int32_t Find(const char* text, int32_t start) const;
    void ToLower(); // A-Z and Latin-1 capitals 0xC0-0xD6, 0xD8-0xDE

    // Replace the text by the printf-style expansion; an expansion that would need a buffer of
    // 512 MiB or more empties the string and throws EIllegalArgument. The arguments may point
    // into this string's own text.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatFromVargs(const char* format, va_list arguments) __attribute__((format(printf, 2, 0)));

    // Makes the buffer private and at least size bytes large; keep copies the old text.
    void Reserve(int32_t size, bool keep);

private:
    bool IsShared() const { return nextSharer || previousSharer; }
    void JoinChainAfter(const String& other);
    void LeaveChain();
    void ReleaseBuffer(); // leaves the chain; frees the buffer when this was its last user
    // Reserve that hands back the old buffer (or nullptr) for the caller to free once it has
    // finished reading from it, so a text taken from this string's own buffer stays valid.
    char* ReserveDeferred(int64_t size, bool keep);
    void AppendRaw(const char* bytes, int32_t n);

    char* buffer = nullptr;
    mutable int32_t length = 0;
    mutable String* nextSharer = nullptr; // chain links change when another joins or leaves
    mutable String* previousSharer = nullptr;
    int32_t capacity = 0;
};

} // namespace haspel
