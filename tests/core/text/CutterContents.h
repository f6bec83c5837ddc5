// What a line cutter holds, as plain strings for assertions.
#pragma once

#include "core/text/LineCutter.h"

#include <string>
#include <vector>

namespace kestrano::test {

using Texts = std::vector<std::string>;

// The texts of the cutter's messages, oldest first.
inline Texts messageTexts(const LineCutter& cutter)
{
    Texts result;
    for (const Message* m = cutter.getMessages().GetHead(); m; m = m->GetNext())
        result.emplace_back(m->getText());
    return result;
}

// The text not yet cut into messages.
inline std::string pendingText(const LineCutter& cutter)
{
    return std::string(cutter.getPendingText(), cutter.getPendingLength());
}

} // namespace kestrano::test
