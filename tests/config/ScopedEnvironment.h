// Test helpers that change process-wide state for one test and put it back afterwards.
#pragma once

#include "config/ApplicationPath.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace kestrano::test {

// Sets (or, with nullopt, unsets) one environment variable for the lifetime of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (old_)
            setenv(name_.c_str(), old_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// Makes programPath the program's argv[0] for the lifetime of the object.
class ScopedProgramPath {
public:
    explicit ScopedProgramPath(const std::string& programPath)
    {
        const char* argv[] = {programPath.c_str()};
        haspel::SetApplicationArguments(1, argv);
    }
    ~ScopedProgramPath() { haspel::SetApplicationArguments(0, nullptr); }
    ScopedProgramPath(const ScopedProgramPath&) = delete;
    ScopedProgramPath& operator=(const ScopedProgramPath&) = delete;
};

} // namespace kestrano::test
