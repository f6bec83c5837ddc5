#include "foundation/CommandLine.h"

#include <memory>

namespace haspel {

namespace {

bool IsSwitch(const char* argument)
{
    return argument[0] == '/' || argument[0] == '-';
}

// The list owns the copy once Add returns; until then the unique_ptr does.
void AddCopy(ArrayList<String>& list, const char* text)
{
    std::unique_ptr<String> copy(new String(text));
    list.Add(copy.get());
    copy.release();
}

void PutOption(StringKeyHashMap<CommandLine::Option>& switches, const char* name, int32_t valueCount)
{
    std::unique_ptr<CommandLine::Option> option(new CommandLine::Option(name, valueCount));
    switches.Put(name, option.get());
    option.release();
}

} // namespace

CommandLine::Option::Option(const char* name, int32_t valueCount)
    : valueCount(valueCount < 0 ? 0 : valueCount)
    , name(name)
{ }

void CommandLine::AddOption(const char* name, int32_t valueCount)
{
    switches.Remove(name);
    PutOption(switches, name, valueCount);
}

void CommandLine::Parse(int32_t argumentCount, const char* const* argumentVector)
{
    if (argumentCount >= 1)
        program.Assign(argumentVector[0]);

    for (int32_t index = 1; index < argumentCount; ++index) {
        const char* argument = argumentVector[index];
        if (!IsSwitch(argument)) {
            AddCopy(arguments, argument);
            continue;
        }
        Option* option = switches.Get(argument);
        if (!option) {
            PutOption(switches, argument, 0);
            continue;
        }
        ArrayList<String>& values = option->GetValues();
        values.Clear();
        const int32_t valueCount = option->GetValueCount();
        // 64-bit so that a huge value count cannot overflow the comparison.
        if (int64_t(index) + valueCount >= argumentCount)
            return;
        for (int32_t taken = 1; taken <= valueCount; ++taken)
            AddCopy(values, argumentVector[index + taken]);
        index += valueCount;
    }
}

const ArrayList<String>* CommandLine::GetOptionValues(const char* name) const
{
    const Option* option = switches.Get(name);
    return option ? &option->GetValues() : nullptr;
}

} // namespace haspel
