#include "core/FullPath.h"

#include <string>
#include <unistd.h>
#include <vector>

namespace kestrano {

static std::string currentFolder()
{
    std::vector<char> buffer(256);
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (buffer.size() > (1u << 20))
            return "/";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

haspel::String makeFullPath(const char* path)
{
    if (*path == '\0')
        return haspel::String();
    std::string text = *path == '/' ? std::string(path) : currentFolder() + "/" + path;

    std::vector<std::string> components;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('/', start);
        if (end == std::string::npos)
            end = text.size();
        std::string component = text.substr(start, end - start);
        if (component == "..") {
            if (!components.empty())
                components.pop_back();
        } else if (!component.empty() && component != ".") {
            components.push_back(std::move(component));
        }
        start = end + 1;
    }

    std::string full;
    for (const std::string& component : components)
        full += "/" + component;
    if (full.empty())
        full = "/";
    return haspel::String(full.c_str(), static_cast<int32_t>(full.size()));
}

} // namespace kestrano
