// The watches an inotify instance holds in the kernel, as /proc/self/fdinfo lists them.
#pragma once

#include <fstream>
#include <string>

namespace kestrano::test {

inline int kernelWatches(int inotifyDescriptor)
{
    std::ifstream info("/proc/self/fdinfo/" + std::to_string(inotifyDescriptor));
    int count = 0;
    for (std::string line; std::getline(info, line);)
        count += line.rfind("inotify wd:", 0) == 0;
    return count;
}

} // namespace kestrano::test
