#include "core/sources/RotatedSiblings.h"

#include <dirent.h>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace kestrano {
namespace {

struct Sibling {
    bool dated = false;
    uint64_t number = 0; // of a numbered one
    std::string date; // of a dated one: its digits and separators as written
    bool compressed = false;
    std::string name;
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The name's end without ".gz" or ".xz", noting whether it had one.
std::string withoutCompression(const std::string& name, bool& compressed)
{
    compressed = name.size() > 3
        && (name.compare(name.size() - 3, 3, ".gz") == 0 || name.compare(name.size() - 3, 3, ".xz") == 0);
    return compressed ? name.substr(0, name.size() - 3) : name;
}

// Reads a sibling's name: the log's name, then ".N" or "-DATE" (digits, at least 8, with '-' or '_'
// between groups), then maybe ".gz" or ".xz".
bool readSibling(const std::string& logName, const std::string& name, Sibling& sibling)
{
    if (name.size() <= logName.size() + 1 || name.compare(0, logName.size(), logName) != 0)
        return false;
    const std::string rest = withoutCompression(name.substr(logName.size() + 1), sibling.compressed);
    const char separator = name[logName.size()];
    if (rest.empty() || !isDigit(rest.front()) || !isDigit(rest.back()))
        return false;
    if (separator == '.') {
        if (rest.size() > 9 || !std::all_of(rest.begin(), rest.end(), isDigit))
            return false;
        sibling.number = std::stoull(rest);
        sibling.dated = false;
    } else if (separator == '-') {
        const auto digits = std::count_if(rest.begin(), rest.end(), isDigit);
        for (size_t i = 0; i < rest.size(); ++i) {
            if (!isDigit(rest[i]) && !((rest[i] == '-' || rest[i] == '_') && isDigit(rest[i - 1])))
                return false;
        }
        if (digits < 8)
            return false;
        sibling.date = rest;
        sibling.dated = true;
    } else {
        return false;
    }
    sibling.name = name;
    return true;
}

} // namespace

std::vector<std::string> listRotatedSiblings(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const std::string logName = slash == std::string::npos ? path : path.substr(slash + 1);
    std::vector<Sibling> siblings;
    {
        const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
        if (!dir)
            return {};
        while (const dirent* entry = readdir(dir.get())) {
            Sibling sibling;
            if (readSibling(logName, entry->d_name, sibling))
                siblings.push_back(std::move(sibling));
        }
    }
    std::sort(siblings.begin(), siblings.end(), [](const Sibling& a, const Sibling& b) {
        if (a.dated != b.dated)
            return !a.dated;
        if (a.dated ? a.date != b.date : a.number != b.number)
            return a.dated ? a.date > b.date : a.number < b.number;
        return !a.compressed && b.compressed;
    });
    std::vector<std::string> paths;
    for (size_t i = 0; i < siblings.size(); ++i) {
        const Sibling& s = siblings[i];
        const bool sameAsBefore = i > 0 && siblings[i - 1].dated == s.dated
            && (s.dated ? siblings[i - 1].date == s.date : siblings[i - 1].number == s.number);
        if (!sameAsBefore)
            paths.push_back(folder + (folder == "/" ? "" : "/") + s.name);
    }
    return paths;
}

} // namespace kestrano
