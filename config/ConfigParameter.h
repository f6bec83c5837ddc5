// haspel::ConfigParameter: one typed value of the configuration tree.
#pragma once

#include "config/ConfigWriter.h"
#include "foundation/RawAllocated.h"

#include <cstdint>

namespace haspel {

enum class ValueType : int32_t {
    None = 0, // created by GetParameter, no setter run yet
    Bool = 1,
    Double = 2,
    Int = 3,
    String = 4,
    Char = 5,
};

class ConfigParameter : public RawAllocated {
public:
    ConfigParameter() = default;
    ~ConfigParameter();
    ConfigParameter(const ConfigParameter&) = delete;
    ConfigParameter& operator=(const ConfigParameter&) = delete;

    void SetBool(bool value);
    void SetDouble(double value);
    void SetInt(int32_t value);
    // Stores a copy of text (which may be this parameter's own text); out of memory throws
    // EOutOfMemory and keeps the old value.
    void SetString(const char* text);
    void SetChar(char value);

    ValueType GetType() const { return type; }
    bool ToBool() const;
    int32_t ToInt() const;
    // Only Bool ("1" or "0") and String values have a text; the others give "". The text stays
    // valid until the parameter is set again or destroyed.
    const char* ToString() const;

    // Writes the value's text, escaped.
    bool Write(ConfigWriter& writer) const;

private:
    void Release();

    union {
        bool boolean;
        double real;
        int32_t integer;
        char* text;
        char character;
    } value {};
    ValueType type = ValueType::None;
};

// The value of a decimal text read like the C library's atol: white space, an optional sign, digits up
// to the first other byte, 0 without digits. Values beyond 32 bits saturate.
int32_t DecimalValue(const char* text);

} // namespace haspel
