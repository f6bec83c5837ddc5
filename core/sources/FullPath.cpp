#include "core/sources/FullPath.h"

#include <cstring>
#include <unistd.h>
#include <vector>

namespace kestrano {

// The current folder followed by a slash, or just "/" when it cannot be had.
static std::vector<char> currentFolder()
{
    std::vector<char> buffer(256);
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (buffer.size() > (1u << 20)) {
            buffer.assign(1, '\0');
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::strlen(buffer.data()));
    buffer.push_back('/');
    return buffer;
}

haspel::String makeFullPath(const char* path)
{
    if (*path == '\0')
        return haspel::String();
    std::vector<char> text;
    if (*path != '/')
        text = currentFolder();
    text.insert(text.end(), path, path + std::strlen(path));

    // Each kept component is written as "/name"; ends[i] is where component i's text ends in full.
    std::vector<char> full;
    std::vector<size_t> ends;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '/')
            ++end;
        const size_t length = end - start;
        if (length == 2 && text[start] == '.' && text[start + 1] == '.') {
            if (!ends.empty()) {
                ends.pop_back();
                full.resize(ends.empty() ? 0 : ends.back());
            }
        } else if (length > 0 && !(length == 1 && text[start] == '.')) {
            full.push_back('/');
            full.insert(
                full.end(), text.begin() + static_cast<long>(start), text.begin() + static_cast<long>(end));
            ends.push_back(full.size());
        }
        start = end + 1;
    }
    if (full.empty())
        full.push_back('/');
    return haspel::String(full.data(), static_cast<int32_t>(full.size()));
}

} // namespace kestrano
