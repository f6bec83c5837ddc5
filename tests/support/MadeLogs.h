// Logs made by the real tools: journal files written by systemd-journal-remote from journal export
// text, and files compressed by gzip and xz.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kestrano::test {

// One journal entry: its fields in order (values may hold line ends).
using JournalEntry = std::vector<std::pair<std::string, std::string>>;

// An entry at seconds after 2026-12-08T04:00:00Z on host "host1", with these fields added.
JournalEntry journalEntry(int seconds, const std::string& message, const JournalEntry& fields = {});

// Writes the entries into the journal file (its name ends in ".journal"); an existing file gets them
// appended. Throws std::runtime_error when systemd-journal-remote fails.
void writeJournal(const std::string& path, const std::vector<JournalEntry>& entries);

// Runs the command (argv) with standard input from the file in and output into the file out;
// throws when it fails.
void runFilter(const std::vector<std::string>& command, const std::string& in, const std::string& out);
// Writes text compressed by "gzip" or "xz" to path.
void writeCompressed(const std::string& path, const std::string& program, const std::string& text);

} // namespace kestrano::test
