// The text of a log as the desktop shows it: the bytes decoded in the locale's encoding, each byte that
// is not valid there taken as Latin-1 (so it shows as itself, never as a replacement character).
#pragma once

#include <QString>

namespace kestrano {

QString logText(const char* bytes, qsizetype length);
QString logText(const char* text); // NUL-terminated
// logText of the bytes with their control and bidirectional formatting characters made visible
// (visibleText).
QString visibleLogText(const char* bytes, qsizetype length);

} // namespace kestrano
