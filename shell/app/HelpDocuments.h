// Finding and opening the documents shipped with the program (the help page and the Readme) and the
// web site, with the desktop's opener; what can't be opened is told in a box naming where it is.
#pragma once

#include <QString>

class QUrl;

namespace kestrano {

class MessageBox;

// The file at relativePath below "docs" beside the program, else below "kestrano" in the desktop's data
// folders (XDG_DATA_DIRS, such as /usr/share/kestrano), else in share/kestrano next to the program's bin
// folder; empty when none exists.
QString findDocument(const QString& programDirectory, const QString& relativePath);

// Opens the address with xdg-open, without waiting for it. When xdg-open can't be started or reports a
// failure (no browser, say), a box names the address, or the file's path, so the user can open it.
void openWithDesktop(const QUrl& address, MessageBox& boxes);
// Opens the document so; a document that is not installed is told in a box.
void openDocument(const QString& relativePath, MessageBox& boxes);

} // namespace kestrano
