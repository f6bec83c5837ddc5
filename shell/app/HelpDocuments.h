// Finding and opening the documents shipped with the program: the help page and the Readme.
#pragma once

#include <QString>

namespace kestrano {

// The file at relativePath below "docs" beside the program, else below "kestrano" in the desktop's data
// folders (XDG_DATA_DIRS, such as /usr/share/kestrano), else in share/kestrano next to the program's bin
// folder; empty when none exists.
QString findDocument(const QString& programDirectory, const QString& relativePath);

// Opens the document with the desktop's viewer; a missing document is silently ignored.
void openDocument(const QString& relativePath);

} // namespace kestrano
