// Switches LC_CTYPE for the life of the object and back; active tells whether the locale exists.
#pragma once

#include <clocale>
#include <string>

namespace kestrano::test {

class LocaleScope {
public:
    explicit LocaleScope(const char* name)
        : previous(std::setlocale(LC_CTYPE, nullptr))
    {
        active = std::setlocale(LC_CTYPE, name) != nullptr;
    }
    ~LocaleScope() { std::setlocale(LC_CTYPE, previous.c_str()); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

    bool active = false;

private:
    std::string previous;
};

} // namespace kestrano::test
