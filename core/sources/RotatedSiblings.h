// The rotated siblings of a log file: the files beside it that rotation made of it, numbered
// (app.log.1, app.log.2.gz, app.log.3.xz) or dated (app.log-20261208, app.log-20261207.gz).
#pragma once

#include <string>
#include <vector>

namespace kestrano {

// The full paths of the log's rotated siblings in its folder, newest first: the numbered ones by
// number, then the dated ones by date, newest first. Only plain, .gz and .xz files count; of a number
// or date present both plain and compressed (a compression under way), the plain one. Empty when the
// folder can't be read.
std::vector<std::string> listRotatedSiblings(const std::string& path);

} // namespace kestrano
