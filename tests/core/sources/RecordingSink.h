// A LogSink that records what a source hands over, for the tests that read a source directly.
#pragma once

#include "core/sources/LogSource.h"

#include <string>
#include <vector>

namespace kestrano::test {

// Records what a source hands over: "restart", "restart skipping" (with " after NOTICE" when a new file
// follows), "notice TEXT" and the text taken, each cut.
class RecordingSink : public LogSink {
public:
    std::vector<std::string> events;
    std::string pending;

    void startOver(bool skipFirstLine) override
    {
        events.push_back(skipFirstLine ? "restart skipping" : "restart");
    }
    void followNewFile(const ShownText& notice, bool skipFirstLine) override
    {
        events.push_back(
            std::string(skipFirstLine ? "restart skipping" : "restart") + " after " + notice.english());
    }
    void takeText(const char* bytes, int32_t n) override { pending.append(bytes, static_cast<size_t>(n)); }
    void cutText() override
    {
        if (!pending.empty())
            events.push_back(pending);
        pending.clear();
    }
    void appendEntry(const char* bytes, int32_t n, int32_t) override { appendText(bytes, n); }
    void appendNotice(const ShownText& notice) override { events.push_back("notice " + notice.english()); }
    // The text handed over, without the restarts and notices.
    std::string text() const
    {
        std::string all;
        for (const std::string& event : events)
            if (event.rfind("restart", 0) != 0 && event.rfind("notice ", 0) != 0)
                all += event;
        return all;
    }
};

} // namespace kestrano::test
