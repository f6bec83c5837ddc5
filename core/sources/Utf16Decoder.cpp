#include "core/sources/Utf16Decoder.h"

namespace kestrano {

Utf16Decoder::Order Utf16Decoder::orderOfMark(const char* bytes, int32_t n)
{
    if (n < 2)
        return Order::None;
    const auto first = static_cast<unsigned char>(bytes[0]);
    const auto second = static_cast<unsigned char>(bytes[1]);
    if (first == 0xff && second == 0xfe)
        return Order::Little;
    if (first == 0xfe && second == 0xff)
        return Order::Big;
    return Order::None;
}

Utf16Decoder::Order Utf16Decoder::orderOfStart(const char* bytes, int32_t n, bool& decided)
{
    decided = true;
    const Order order = orderOfMark(bytes, n);
    if (order == Order::None)
        return Order::None;
    const int low = order == Order::Little ? 0 : 1;
    bool lineEnd = false;
    for (int32_t i = 2; i + 1 < n; i += 2) {
        if (bytes[i + low] != 0 && bytes[i + 1 - low] == 0)
            return order;
        lineEnd |= bytes[i] == '\n' || bytes[i + 1] == '\n';
    }
    decided = lineEnd || n >= StartSample;
    return Order::None;
}

void Utf16Decoder::start(Order order)
{
    byteOrder = order;
    leftByte = -1;
    highSurrogate = 0;
}

void Utf16Decoder::decode(const char* bytes, int32_t n, std::string& out)
{
    for (int32_t i = 0; i < n; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (leftByte < 0) {
            leftByte = byte;
            continue;
        }
        const char32_t unit = byteOrder == Order::Little ? char32_t(leftByte | (byte << 8))
                                                         : char32_t((leftByte << 8) | byte);
        leftByte = -1;
        if (unit >= 0xd800 && unit <= 0xdbff) {
            if (highSurrogate)
                append(0xfffd, out);
            highSurrogate = unit;
            continue;
        }
        if (unit >= 0xdc00 && unit <= 0xdfff) {
            append(
                highSurrogate ? 0x10000 + ((highSurrogate - 0xd800) << 10) + (unit - 0xdc00) : 0xfffd, out);
            highSurrogate = 0;
            continue;
        }
        if (highSurrogate) {
            append(0xfffd, out);
            highSurrogate = 0;
        }
        if (unit != 0)
            append(unit, out);
    }
}

void Utf16Decoder::append(char32_t code, std::string& out)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xc0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xe0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    }
}

} // namespace kestrano
