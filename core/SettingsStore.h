// Moves the monitoring settings between a configuration tree and the MonitorSettings record: the
// sections "Analyze", "Sizes" and "Notifications" under the root. The desktop program loads at start
// and stores at exit; kestrano-tail only loads.
#pragma once

#include <cstdint>

namespace haspel {
class ConfigSection;
}

namespace kestrano {

class MonitorSettings;

// The configuration key of a severity's keyword list, 0 to 4: its name in Severity::Table.
const char* severityKey(int32_t severity);

// Fills settings from the tree. A missing key is created holding its default; stored values are
// taken as they stand (the setters' limits do not apply). Throws haspel::EOutOfMemory.
void loadMonitorSettings(MonitorSettings& settings, haspel::ConfigSection& root);

// Writes every setting into the tree, keywords as their normalised text.
void storeMonitorSettings(const MonitorSettings& settings, haspel::ConfigSection& root);

} // namespace kestrano
