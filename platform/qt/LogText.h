// The text of a log as the desktop shows it: the bytes decoded in the locale's encoding, each byte that
// is not valid there taken as Latin-1 (so it shows as itself, never as a replacement character).
#pragma once

#include <QString>

namespace kestrano {

QString logText(const char* bytes, qsizetype length);
QString logText(const char* text); // NUL-terminated

} // namespace kestrano
