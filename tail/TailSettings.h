// The settings kestrano-tail runs with: those of Kestrano's configuration file (or of --config), with
// Kestrano's defaults for anything missing, overridden by the options. The file is only read.
#pragma once

#include "tail/TailOptions.h"

namespace haspel {
class Config;
}

namespace kestrano {
class MonitorSettings;
}

namespace kestrano::tail {

// The desktop program's configuration file: $XDG_CONFIG_HOME/Tormalind/Kestrano/kestrano.cfg.
std::string desktopConfigurationFile();

// Loads config and fills settings. False, with a message on standard error, when the file named by
// --config can't be read.
bool loadTailSettings(const TailOptions& options, haspel::Config& config, MonitorSettings& settings);

} // namespace kestrano::tail
