// Starting a helper program whose output a source reads (the ssh client of a remote log). The process
// never outlives its owner, nor the program.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kestrano {

// A started process: its standard output and standard error as non-blocking descriptors, its standard
// input empty. Destroying it ends the process (and what it started) and reaps it.
class RunningProcess {
public:
    virtual ~RunningProcess() = default;
    virtual int getOutput() const = 0;
    virtual int getErrors() const = 0;
    // Whether the process has ended, without waiting; status gets its exit status (128 + signal when
    // a signal ended it).
    virtual bool hasEnded(int& status) = 0;
};

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // Starts arguments[0], looked up in PATH, with the arguments; nullptr (reason set) when it can't.
    virtual std::unique_ptr<RunningProcess> start(
        const std::vector<std::string>& arguments, std::string& reason)
        = 0;
};

} // namespace kestrano
