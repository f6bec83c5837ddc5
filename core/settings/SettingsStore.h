// Moves the settings between a configuration tree and their holders, row by row of the settings
// table: the MonitorSettings record (sections "Analyze", "Sizes" and "Notifications" under the root)
// and single rows the desktop program holds itself. The desktop program loads at start and stores at
// exit; kestrano-tail only loads, its options written into the tree first.
#pragma once

#include <cstdint>

namespace haspel {
class ConfigSection;
}

namespace kestrano {

class MonitorSettings;
struct Setting;

// The configuration key of a severity's keyword list, 0 to 4: its name in Severity::Table.
const char* severityKey(int32_t severity);

// The section of the user's layouts: each key names a layout, its value is a PCRE2 expression with the
// named groups time, level and message. Only loaded; the tree keeps what the user wrote.
inline constexpr const char* LayoutsSection = "Layouts";
void loadLayouts(MonitorSettings& settings, const haspel::ConfigSection& root);

// Fills settings from the tree. A missing key is created holding its default; stored values are
// taken as they stand (the bounds do not apply). Throws haspel::EOutOfMemory.
void loadMonitorSettings(MonitorSettings& settings, haspel::ConfigSection& root);

// Writes every setting the record holds into the tree, keywords as their normalised text.
void storeMonitorSettings(const MonitorSettings& settings, haspel::ConfigSection& root);

// One row's value, loaded as loadMonitorSettings loads (a Flag's, a Number's or Threshold's, a Text's
// or Keywords' text), and stored.
bool loadFlag(haspel::ConfigSection& root, const Setting& row);
int32_t loadNumber(haspel::ConfigSection& root, const Setting& row);
const char* loadText(haspel::ConfigSection& root, const Setting& row);
void storeFlag(haspel::ConfigSection& root, const Setting& row, bool value);
void storeNumber(haspel::ConfigSection& root, const Setting& row, int32_t value);
void storeText(haspel::ConfigSection& root, const Setting& row, const char* text);

} // namespace kestrano
