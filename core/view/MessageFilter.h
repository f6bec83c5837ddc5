// Whether a view's switches and text filter show a message: one rule for a log's view and the merged one.
#pragma once

#include "core/search/TextMatcher.h"
#include "core/settings/WorkspaceStore.h"
#include "core/text/Message.h"
#include "core/text/Severity.h"

namespace kestrano {

// matcher nullptr: no text filter; hides: the matches are hidden instead of shown alone.
inline bool passesFilter(
    const Message& message, const LogSwitches& switches, const TextMatcher* matcher, bool hides)
{
    const int32_t severity = message.getSeverity();
    if (!(severity == Severity::Unknown ? switches.showUnknown : severity >= switches.minimumSeverity))
        return false;
    return !matcher || matcher->matches(message) != hides;
}

} // namespace kestrano
