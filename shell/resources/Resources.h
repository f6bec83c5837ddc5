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

// The program icon.
QIcon programIcon();

} // namespace kestrano
