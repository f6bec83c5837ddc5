// The texts the monitoring core writes for the user (its boxes, its notice in a log), in the user's
// language; any other text comes back as it is.
#pragma once

#include <QString>

namespace kestrano {

// A question or error the core asks its message box to show.
QString translatedBoxText(const QString& text);
// The text of a row of a log list: the core's notice translated, any line of the log as it is.
QString translatedRowText(const QString& text);

} // namespace kestrano
