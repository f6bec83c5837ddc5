#include "core/sources/JournalEntry.h"

#include "core/sources/JournalSource.h"
#include "core/text/Severity.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <ctime>

namespace kestrano {
namespace {

std::string fieldText(const JournalFieldLookup& field, const char* name)
{
    std::string_view value;
    return field(name, value) ? std::string(value) : std::string();
}

} // namespace

bool formatJournalEntry(
    const JournalFieldLookup& field, uint64_t realtime, std::string& entry, int32_t& severity)
{
    std::string_view message;
    if (!field("MESSAGE", message))
        return false;

    uint64_t microseconds = realtime;
    std::string_view source;
    if (field("_SOURCE_REALTIME_TIMESTAMP", source))
        std::from_chars(source.data(), source.data() + source.size(), microseconds);
    const time_t seconds = static_cast<time_t>(microseconds / 1000000);
    struct tm local { };
    localtime_r(&seconds, &local);
    char stamp[64];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S%z", &local);

    entry.assign(stamp);
    entry += ' ';
    entry += fieldText(field, "_HOSTNAME");
    std::string ident = fieldText(field, "SYSLOG_IDENTIFIER");
    if (ident.empty())
        ident = fieldText(field, "_COMM");
    std::string pid = fieldText(field, "_PID");
    if (pid.empty())
        pid = fieldText(field, "SYSLOG_PID");
    if (!ident.empty()) {
        entry += ' ';
        entry += ident;
        if (!pid.empty())
            entry += '[' + pid + ']';
    }
    entry += ": ";
    // Each line of the message on a line of its own, the later ones indented: they continue it.
    const char* begin = message.data();
    const char* end = begin + message.size();
    while (end > begin && (end[-1] == '\n' || end[-1] == '\r'))
        --end;
    for (const char* line = begin; line <= end;) {
        const char* lineEnd = std::find(line, end, '\n');
        if (line != begin)
            entry += ' ';
        const size_t start = entry.size();
        entry.append(line, lineEnd);
        std::replace(entry.begin() + static_cast<std::ptrdiff_t>(start), entry.end(), '\r', ' ');
        entry += '\n';
        line = lineEnd + 1;
    }

    std::string_view priority;
    severity = field("PRIORITY", priority)
        ? JournalSource::severityOfPriority(priority.data(), priority.size())
        : Severity::None;
    return true;
}

void JournalExportReader::feed(
    const char* bytes, size_t n, const std::function<void(const Fields&)>& entryDone)
{
    if (failed)
        return;
    pending.append(bytes, n);
    size_t position = 0;
    while (position < pending.size()) {
        const size_t lineEnd = pending.find('\n', position);
        if (lineEnd == std::string::npos)
            break;
        if (lineEnd == position) { // an empty line ends the entry
            if (!fields.empty())
                entryDone(fields);
            fields.clear();
            position = lineEnd + 1;
            continue;
        }
        const size_t equals = pending.find('=', position);
        if (equals != std::string::npos && equals < lineEnd) {
            fields.emplace_back(pending.substr(position, equals - position),
                pending.substr(equals + 1, lineEnd - equals - 1));
            position = lineEnd + 1;
            continue;
        }
        // NAME, a line end, the size as 64-bit little-endian, the value, a line end.
        if (pending.size() - (lineEnd + 1) < 8)
            break;
        uint64_t size = 0;
        for (int i = 7; i >= 0; --i)
            size = (size << 8) | static_cast<unsigned char>(pending[lineEnd + 1 + static_cast<size_t>(i)]);
        if (size > MaxFieldBytes) {
            failed = true;
            pending.clear();
            fields.clear();
            return;
        }
        const size_t valueStart = lineEnd + 9;
        if (pending.size() < valueStart + size + 1)
            break;
        fields.emplace_back(pending.substr(position, lineEnd - position), pending.substr(valueStart, size));
        position = valueStart + size + 1;
    }
    pending.erase(0, position);
}

void JournalExportReader::reset()
{
    pending.clear();
    fields.clear();
    failed = false;
}

bool JournalExportReader::find(const Fields& fields, const char* name, std::string_view& value)
{
    for (const auto& [key, text] : fields) {
        if (key == name) {
            value = text;
            return true;
        }
    }
    return false;
}

} // namespace kestrano
