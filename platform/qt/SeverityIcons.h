// The five severity icons (debug information to fatal), shared by the log lists and the details dialog,
// and the severities' names that assistive technology reads in their place.
#pragma once

#include <QIcon>

#include <cstdint>

namespace kestrano {

// The icon of a named severity (0 to 4); an empty icon for unknown (-1) or any other value.
const QIcon& severityIcon(int32_t severity);
// The colour a severity stands for where an icon does not fit (the timeline's bars): each icon's own, fatal's
// dark rim (its fill is error's red); grey for unknown.
QColor severityColour(int32_t severity);
// "Debug", "Information", "Warning", "Error", "Fatal", or "Unknown", in the user's language.
QString severityName(int32_t severity);

} // namespace kestrano
