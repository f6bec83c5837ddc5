// The colours of the logs' rows in a merged window: a few hues far apart, translucent so that they stay
// readable on light and dark themes; a log's own hue comes from a hash of its name, the same at every start.
#pragma once

#include <QColor>

namespace kestrano {

inline constexpr int LogHueCount = 8;

// 0 to LogHueCount - 1.
int logHue(const char* logName);
QColor logHueColour(int hue);

} // namespace kestrano
