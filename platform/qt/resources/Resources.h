// The program's compiled-in resources: icons by name and the few texts kept beside them.
#pragma once

#include <QIcon>

namespace kestrano {

// The program's home page, opened by the Web Site command.
inline constexpr const char* WebSiteAddress = "https://example.org/kestrano/";
// The id of the desktop file, which is also the application's (WM_CLASS, Wayland app_id, notifications).
inline constexpr const char* DesktopFileId = "org.example.Kestrano";

// Makes the compiled-in files available under ":/icons/"; safe to call more than once.
void initResources();

// The icon of a file in ":/icons/", e.g. "open.svg".
QIcon resourceIcon(const char* name);

// The program icon (with a picture drawn for 16 x 16 pixels).
QIcon programIcon();

// The icon of a command's bundled file (e.g. "open.svg"): the desktop theme's icon for that job when the
// theme has one, else the bundled picture, drawn with light ink under a dark palette.
QIcon commandIcon(const char* name);

// Whether the application's palette has light text on a dark window.
bool darkPalette();

} // namespace kestrano
