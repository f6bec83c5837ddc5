// The remote logs opened last, newest first, offered by the Open Remote Log dialog: under
// "RemoteLogs" as "Recent1" to "Recent10".
#pragma once

#include "config/ConfigSection.h"

#include <string>
#include <vector>

namespace kestrano {

inline constexpr int MostRecentRemoteLogs = 10;

std::vector<std::string> loadRecentRemoteLogs(haspel::ConfigSection& root);
// Puts the name first (once), keeping at most MostRecentRemoteLogs. Throws haspel::EOutOfMemory.
void noteRecentRemoteLog(haspel::ConfigSection& root, const std::string& name);

} // namespace kestrano
