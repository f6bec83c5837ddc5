#include "core/sources/JournalSource.h"

#include "core/settings/MonitorSettings.h"
#include "core/sources/JournalEntry.h"
#include "core/text/LevelWord.h"
#include "core/text/Severity.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <grp.h>
#include <systemd/sd-journal.h>
#include <unistd.h>

namespace kestrano {
namespace {

// The value of a field of the current entry, without the "NAME=" before it; false when it has none.
bool field(sd_journal* journal, const char* name, const char*& value, size_t& length)
{
    const void* data;
    size_t size;
    if (sd_journal_get_data(journal, name, &data, &size) < 0)
        return false;
    const size_t prefix = std::strlen(name) + 1;
    if (size < prefix)
        return false;
    value = static_cast<const char*>(data) + prefix;
    length = size - prefix;
    return true;
}

bool inGroup(const char* name)
{
    const struct group* entry = getgrnam(name);
    if (!entry)
        return false;
    if (getegid() == entry->gr_gid)
        return true;
    gid_t groups[256];
    const int count = getgroups(256, groups);
    return std::find(groups, groups + std::max(count, 0), entry->gr_gid) != groups + std::max(count, 0);
}

} // namespace

JournalSource::JournalSource(std::string unit, std::vector<std::string> files, bool ownOnly)
    : unit(std::move(unit))
    , files(std::move(files))
    , ownOnly(ownOnly)
{ }

JournalSource::~JournalSource()
{
    close();
}

void JournalSource::close()
{
    if (journal)
        sd_journal_close(journal);
    journal = nullptr;
    watched = positioned = behind = false;
}

void JournalSource::restart()
{
    close();
}

bool JournalSource::open()
{
    int result;
    if (files.empty()) {
        // Without journal folders (a container without journald) there is nothing to follow.
        if (access("/var/log/journal", F_OK) != 0 && access("/run/log/journal", F_OK) != 0) {
            reason = "no journal on this system";
            return false;
        }
        result = sd_journal_open(&journal, SD_JOURNAL_LOCAL_ONLY);
    } else {
        std::vector<const char*> paths;
        for (const std::string& file : files)
            paths.push_back(file.c_str());
        paths.push_back(nullptr);
        result = sd_journal_open_files(&journal, paths.data(), 0);
    }
    if (result >= 0 && !unit.empty()) {
        // As journalctl -u: the unit's own entries and what systemd says about it.
        const std::string name = unitName(unit);
        const std::string own = "_SYSTEMD_UNIT=" + name;
        const std::string about = "UNIT=" + name;
        result = sd_journal_add_match(journal, own.c_str(), 0);
        if (result >= 0)
            result = sd_journal_add_disjunction(journal);
        if (result >= 0)
            result = sd_journal_add_match(journal, about.c_str(), 0);
        if (result >= 0)
            result = sd_journal_add_match(journal, "_PID=1", 0);
    }
    if (result < 0) {
        reason = std::strerror(-result);
        if (journal)
            sd_journal_close(journal);
        journal = nullptr;
        return false;
    }
    // Sets up the change detection that sd_journal_process answers from.
    watched = sd_journal_get_fd(journal) >= 0;
    return true;
}

LogSource::Result JournalSource::readNew(LogSink& sink, const ReadRequest& request)
{
    if (!journal && !open())
        return Result::Failed;
    int result;
    if (!positioned) {
        sink.startOver(false);
        if (ownOnly)
            sink.appendNotice({CoreText::OwnJournalEntriesOnly, {}});
        positioned = true;
        result = sd_journal_seek_tail(journal);
        const int32_t keep = request.settings.GetKeepLines();
        if (result >= 0 && keep > 0) {
            result = sd_journal_previous_skip(journal, static_cast<uint64_t>(keep));
            if (result > 0)
                appendEntry(sink);
        }
    } else if (watched && !behind) {
        result = sd_journal_process(journal);
        if (result == SD_JOURNAL_NOP)
            return Result::Unchanged;
    }
    behind = false;
    while ((result = sd_journal_next(journal)) > 0) {
        appendEntry(sink);
        if (std::chrono::steady_clock::now() >= request.deadline) {
            behind = true;
            return Result::Behind;
        }
    }
    if (result < 0) {
        reason = std::strerror(-result);
        close();
        return Result::Failed;
    }
    return Result::Read;
}

void JournalSource::appendEntry(LogSink& sink)
{
    uint64_t realtime = 0;
    sd_journal_get_realtime_usec(journal, &realtime);
    int32_t severity = Severity::None;
    const bool shown = formatJournalEntry(
        [this](const char* name, std::string_view& value) {
            const char* data;
            size_t length;
            if (!field(journal, name, data, length))
                return false;
            value = std::string_view(data, length);
            return true;
        },
        realtime, entry, severity);
    if (shown)
        sink.appendEntry(entry.data(), static_cast<int32_t>(entry.size()), severity);
}

int32_t JournalSource::severityOfPriority(const char* value, size_t length)
{
    if (length != 1 || value[0] < '0' || value[0] > '7')
        return Severity::None;
    return kestrano::severityOfPriority(value[0] - '0');
}

std::string JournalSource::unitName(const std::string& name)
{
    // A name with a unit type (".service", ".socket", ...) or a pattern is taken as it is.
    if (name.find('.') != std::string::npos || name.find_first_of("*?[") != std::string::npos)
        return name;
    return name + ".service";
}

bool JournalSource::readsOnlyOwnEntries()
{
    return geteuid() != 0 && !inGroup("systemd-journal") && !inGroup("adm") && !inGroup("wheel");
}

std::vector<std::string> JournalSource::units()
{
    std::vector<std::string> names;
    sd_journal* journal = nullptr;
    if (sd_journal_open(&journal, SD_JOURNAL_LOCAL_ONLY) < 0)
        return names;
    if (sd_journal_query_unique(journal, "_SYSTEMD_UNIT") >= 0) {
        const void* data;
        size_t length;
        SD_JOURNAL_FOREACH_UNIQUE(journal, data, length)
        {
            const size_t prefix = std::strlen("_SYSTEMD_UNIT=");
            if (length > prefix)
                names.emplace_back(static_cast<const char*>(data) + prefix, length - prefix);
        }
    }
    sd_journal_close(journal);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

} // namespace kestrano
