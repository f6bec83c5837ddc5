// Turns UTF-16 text (little or big endian) into UTF-8 as a log is read in pieces: a byte or a high
// surrogate left at the end of a piece waits for the next. NUL characters are dropped, as in any log;
// an unpaired surrogate becomes U+FFFD.
#pragma once

#include <cstdint>
#include <string>

namespace kestrano {

class Utf16Decoder {
public:
    enum class Order { None, Little, Big };

    // The bytes at a file's start that orderOfStart looks at.
    static constexpr int32_t StartSample = 512;

    // The byte order a byte-order mark at the start of a file tells; None without a mark.
    static Order orderOfMark(const char* bytes, int32_t n);
    // The byte order of a file starting with these n bytes (at most StartSample of them): that of its
    // mark when a character of the ASCII range follows as UTF-16 puts it (its other byte zero, as in a
    // line end); None without a mark, or with 8-bit text after it (a line end or StartSample bytes
    // show no such character). decided is false while too little follows the mark to tell.
    static Order orderOfStart(const char* bytes, int32_t n, bool& decided);

    // Starts decoding in that order (None: nothing to decode), forgetting what waits.
    void start(Order byteOrder);
    Order getOrder() const { return byteOrder; }
    // Appends the UTF-8 of the bytes to out.
    void decode(const char* bytes, int32_t n, std::string& out);

private:
    void append(char32_t code, std::string& out);

    Order byteOrder = Order::None;
    int leftByte = -1; // the first byte of a code unit split between pieces
    char32_t highSurrogate = 0;
};

} // namespace kestrano
