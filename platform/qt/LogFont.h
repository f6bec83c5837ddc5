// The font of the log lists and the message details: the desktop's fixed-width font (a fixed-pitch one
// in its place when the desktop names a proportional one), so that the columns of a log line up, or
// the font the user chose instead.
#pragma once

#include <QFont>
#include <QString>

namespace kestrano {

QFont logFont();
// The font when it is fixed-pitch; else a fixed-pitch family of the same size (the "monospace" alias,
// else the first installed fixed-pitch family), or the font itself when the system has none.
QFont fixedPitchFont(const QFont& font);
// The font as QFont::toString describes it; an empty or unreadable description is the desktop's font.
void setLogFont(const QString& description);
// The description of the chosen font, empty while it is the desktop's.
QString logFontDescription();

} // namespace kestrano
