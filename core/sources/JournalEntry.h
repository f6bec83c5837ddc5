// One journal entry as a log message, from the local journal or journalctl's export form: the text
// "TIME HOST IDENT[PID]: MESSAGE" (later lines of the message indented) and the severity of its
// PRIORITY.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrano {

// The value of a field of the entry (without "NAME="); false when the entry has none.
using JournalFieldLookup = std::function<bool(const char* name, std::string_view& value)>;

// The entry's text into entry and the least severity of its message; false when it has no MESSAGE
// (nothing to show, as journalctl shows nothing). realtime: the entry's time in microseconds, used
// without a _SOURCE_REALTIME_TIMESTAMP.
bool formatJournalEntry(
    const JournalFieldLookup& field, uint64_t realtime, std::string& entry, int32_t& severity);

// Entries in journalctl's export form, read as they arrive.
class JournalExportReader {
public:
    using Fields = std::vector<std::pair<std::string, std::string>>;
    // Reads bytes; each complete entry goes to entryDone. Throws nothing of its own; a field that
    // claims more than MaxFieldBytes ends the reading (broken() says so).
    void feed(const char* bytes, size_t n, const std::function<void(const Fields&)>& entryDone);
    // Forgets a partial entry (a new run's output follows).
    void reset();
    bool broken() const { return failed; }
    static bool find(const Fields& fields, const char* name, std::string_view& value);

    static constexpr uint64_t MaxFieldBytes = 64u << 20;

private:
    std::string pending;
    Fields fields;
    bool failed = false;
};

} // namespace kestrano
