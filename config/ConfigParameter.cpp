#include "config/ConfigParameter.h"

#include "foundation/Exception.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace haspel {

int32_t DecimalValue(const char* text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (magnitude <= std::numeric_limits<int32_t>::max())
            magnitude = magnitude * 10 + (*text - '0');
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (signedValue < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(signedValue);
}

ConfigParameter::~ConfigParameter()
{
    Release();
}

void ConfigParameter::Release()
{
    if (type == ValueType::String)
        std::free(value.text);
    type = ValueType::None;
}

void ConfigParameter::SetBool(bool newValue)
{
    Release();
    value.boolean = newValue;
    type = ValueType::Bool;
}

void ConfigParameter::SetDouble(double newValue)
{
    Release();
    value.real = newValue;
    type = ValueType::Double;
}

void ConfigParameter::SetInt(int32_t newValue)
{
    Release();
    value.integer = newValue;
    type = ValueType::Int;
}

void ConfigParameter::SetString(const char* newText)
{
    // Copy before releasing: newText may be the current value.
    const std::size_t size = std::strlen(newText) + 1;
    char* copy = static_cast<char*>(AllocateOrThrow(size));
    std::memcpy(copy, newText, size);
    Release();
    value.text = copy;
    type = ValueType::String;
}

void ConfigParameter::SetChar(char newValue)
{
    Release();
    value.character = newValue;
    type = ValueType::Char;
}

bool ConfigParameter::ToBool() const
{
    switch (type) {
    case ValueType::Bool:
        return value.boolean;
    case ValueType::Double:
        return value.real != 0.0; // NaN too
    case ValueType::Int:
        return value.integer != 0;
    case ValueType::String:
        return DecimalValue(value.text) != 0;
    case ValueType::Char:
        return value.character != '\0' && std::strchr("1yYtT", value.character) != nullptr;
    case ValueType::None:
        break;
    }
    return false;
}

int32_t ConfigParameter::ToInt() const
{
    switch (type) {
    case ValueType::Bool:
        return value.boolean ? 1 : 0;
    case ValueType::Double:
        // Truncated toward zero; NaN gives 0 and values beyond 32 bits saturate.
        if (std::isnan(value.real))
            return 0;
        if (value.real >= 2147483647.0)
            return std::numeric_limits<int32_t>::max();
        if (value.real <= -2147483648.0)
            return std::numeric_limits<int32_t>::min();
        return static_cast<int32_t>(value.real);
    case ValueType::Int:
        return value.integer;
    case ValueType::String:
        return DecimalValue(value.text);
    case ValueType::Char:
        return value.character >= '0' && value.character <= '9' ? value.character - '0' : 0;
    case ValueType::None:
        break;
    }
    return 0;
}

const char* ConfigParameter::ToString() const
{
    if (type == ValueType::String)
        return value.text;
    if (type == ValueType::Bool)
        return value.boolean ? "1" : "0";
    return "";
}

bool ConfigParameter::Write(ConfigWriter& writer) const
{
    char text[32];
    switch (type) {
    case ValueType::Double:
        std::snprintf(text, sizeof text, "%g", value.real);
        return WriteEscaped(writer, text);
    case ValueType::Int:
        std::snprintf(text, sizeof text, "%d", value.integer);
        return WriteEscaped(writer, text);
    case ValueType::Char:
        text[0] = value.character;
        text[1] = '\0';
        return WriteEscaped(writer, text);
    default:
        return WriteEscaped(writer, ToString());
    }
}

} // namespace haspel
