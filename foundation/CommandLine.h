// haspel::CommandLine: splits an argument vector into registered switches with their values,
// switches met without registration, and plain arguments.
#pragma once

#include "foundation/ArrayList.h"
#include "foundation/HashMap.h"
#include "foundation/RawAllocated.h"
#include "foundation/String.h"

#include <cstdint>

namespace haspel {

class CommandLine {
public:
    // One switch: how many arguments follow it as values, its text, and the values of the last parse.
    class Option : public RawAllocated {
    public:
        Option(const char* name, int32_t valueCount);
        virtual ~Option() = default;
        Option(const Option&) = delete;
        Option& operator=(const Option&) = delete;

        int32_t GetValueCount() const { return valueCount; }
        const String& GetName() const { return name; }
        ArrayList<String>& GetValues() { return values; }
        const ArrayList<String>& GetValues() const { return values; }

    private:
        int32_t valueCount;
        String name;
        ArrayList<String> values;
    };

    CommandLine() = default;
    virtual ~CommandLine() = default;
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    // Registers a switch by its full text ("/log"), replacing an earlier one of that name.
    // A negative value count counts as 0.
    void AddOption(const char* name, int32_t valueCount);
    void Parse(int32_t argumentCount, const char* const* arguments);

    // The values of the switch stored under exactly this name; nullptr when there is none.
    const ArrayList<String>* GetOptionValues(const char* name) const;
    const ArrayList<String>& GetArguments() const { return arguments; }
    const String& GetProgram() const { return program; }

private:
    StringKeyHashMap<Option> switches;
    ArrayList<String> arguments;
    String program;
};

} // namespace haspel
