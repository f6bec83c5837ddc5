// The texts the core gives the user (notices in a log, the texts of its boxes, window titles) by
// identity with their argument: the desktop translates them, kestrano-tail prints the English.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace kestrano {

enum class CoreText : uint8_t {
    None, // no text of the core's own: the argument as it stands (a file's name)
    ReadError, // "Error: Cannot read from log file. Still trying..."
    ReadErrorBecause, // "Error: Cannot read from log file (%1). Still trying..."
    EndOfInput, // "End of input."
    OwnJournalEntriesOnly, // "Only your own journal entries are readable: ..."
    DeleteQuestion, // "Sure to delete the log file?", the path beneath
    CannotDelete, // "Error: Cannot delete %1."
    JournalTitle, // "Journal"
    UnitJournalTitle, // "Journal: %1"
    StandardInputTitle, // "Standard Input"
    RemoteLost, // "Connection to %1 lost: %2. Reconnecting…"
    RemoteUnreachable, // "Error: Cannot reach %1 (%2). Still trying..."
    RemoteKeyRefused, // "Error: %1 refused the login (%2): set up a key or an agent for it. Still trying..."
    RemoteMissing, // "Error: %1 does not exist on %2. Still trying..."
    RemotePermission, // "Error: No permission to read %1 on %2. Still trying..."
    RemoteJournalTitle, // "%1: Journal %2"
    Rotated, // "%1 was rotated; following the new file"
    ContentSkipped, // "Skipped the first %1 bytes of the new content."
    OpenedForEachRead, // "Too many open files: ..."
};
inline constexpr CoreText LastCoreText = CoreText::OpenedForEachRead;

// The English of a text; "%1" stands for its argument, "%2" for its detail (after "%1", and "%1" never
// holds the text between them).
constexpr const char* englishOf(CoreText id)
{
    switch (id) {
    case CoreText::None:
        break;
    case CoreText::ReadError:
        return "Error: Cannot read from log file. Still trying...";
    case CoreText::ReadErrorBecause:
        return "Error: Cannot read from log file (%1). Still trying...";
    case CoreText::EndOfInput:
        return "End of input.";
    case CoreText::OwnJournalEntriesOnly:
        return "Only your own journal entries are readable: members of the group systemd-journal see all.";
    case CoreText::DeleteQuestion:
        return "Sure to delete the log file?\n\n%1";
    case CoreText::CannotDelete:
        return "Error: Cannot delete %1.";
    case CoreText::JournalTitle:
        return "Journal";
    case CoreText::UnitJournalTitle:
        return "Journal: %1";
    case CoreText::StandardInputTitle:
        return "Standard Input";
    case CoreText::RemoteLost:
        return "Connection to %1 lost: %2. Reconnecting…";
    case CoreText::RemoteUnreachable:
        return "Error: Cannot reach %1 (%2). Still trying...";
    case CoreText::RemoteKeyRefused:
        return "Error: %1 refused the login (%2): set up a key or an agent for it. Still trying...";
    case CoreText::RemoteMissing:
        return "Error: %1 does not exist on %2. Still trying...";
    case CoreText::RemotePermission:
        return "Error: No permission to read %1 on %2. Still trying...";
    case CoreText::RemoteJournalTitle:
        return "%1: Journal %2";
    case CoreText::Rotated:
        return "%1 was rotated; following the new file";
    case CoreText::ContentSkipped:
        return "Skipped the first %1 bytes of the new content.";
    case CoreText::OpenedForEachRead:
        return "Too many open files: this log is opened for each read and may miss lines at a rotation.";
    }
    return "%1";
}

// A text of the core and its argument.
struct ShownText {
    ShownText() = default;
    ShownText(CoreText id, std::string argument, std::string detail = {})
        : id(id)
        , argument(std::move(argument))
        , detail(std::move(detail))
    { }

    CoreText id = CoreText::None;
    std::string argument;
    std::string detail;

    // The English, the argument put in.
    std::string english() const;
    bool operator==(const ShownText&) const = default;
};

} // namespace kestrano
