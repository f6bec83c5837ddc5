// The font of the log lists and the message details: the desktop's fixed-width font, so that the
// columns of a log line up, or the font the user chose instead.
#pragma once

#include <QFont>
#include <QString>

namespace kestrano {

QFont logFont();
// The font as QFont::toString describes it; an empty or unreadable description is the desktop's font.
void setLogFont(const QString& description);
// The description of the chosen font, empty while it is the desktop's.
QString logFontDescription();

} // namespace kestrano
