// A layout the user wrote in the configuration file: a PCRE2 expression matched at the start of each
// line, whose named groups time, level and message say where the header's parts stand.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kestrano {

class UserLayout {
public:
    // Compiles the expression; isValid tells whether it compiled and names at least one of the groups.
    explicit UserLayout(const std::string& expression);
    ~UserLayout();
    UserLayout(const UserLayout&) = delete;
    UserLayout& operator=(const UserLayout&) = delete;

    bool isValid() const { return compiled != nullptr; }
    const std::string& getExpression() const { return expression; }

    struct Match {
        const char* time = nullptr; // nullptr: the group did not take part
        int32_t timeLength = 0;
        const char* level = nullptr;
        int32_t levelLength = 0;
    };
    // Whether the line matches from its start; fills the groups. One thread at a time.
    bool match(const char* line, int32_t length, Match& groups) const;

private:
    std::string expression;
    struct Compiled;
    std::unique_ptr<Compiled> compiled;
};

} // namespace kestrano
