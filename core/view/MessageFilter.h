// Which messages a view shows as rows, as its switches and text filter say: one rule for a log's view,
// its history and the merged view.
#pragma once

#include "core/search/TextMatcher.h"
#include "core/sources/FileHistory.h"
#include "core/text/Message.h"

namespace kestrano {

struct RowFilter {
    SeverityFilter severities;
    const TextMatcher* matcher = nullptr; // nullptr: no text filter
    bool hides = false; // the matches are hidden rather than the others

    bool passes(const Message& message) const
    {
        return severities.passes(message.getSeverity()) && (!matcher || matcher->matches(message) != hides);
    }
};

} // namespace kestrano
