// Helper processes started for the core (the ssh client of a remote log): each in a process group of
// its own, ended with its group when its owner lets it go, and by the kernel when this program dies.
#pragma once

#include "core/ports/ProcessStarter.h"

namespace kestrano {

class ChildProcessStarter : public ProcessStarter {
public:
    std::unique_ptr<RunningProcess> start(
        const std::vector<std::string>& arguments, std::string& reason) override;
};

// The process's one ChildProcessStarter.
ProcessStarter& systemProcessStarter();

} // namespace kestrano
