// Test helpers for the configuration tree: a canonical text of a tree (names in byte order, names and
// written values length-prefixed) so two trees compare as two strings, and a writer into memory.
#pragma once

#include "config/ConfigSection.h"
#include "config/ConfigWriter.h"

#include <string>

namespace kestrano::test {

std::string DumpTree(const haspel::ConfigSection& section);

// Collects what is written; with a budget, every write after that many bytes fails.
class StringWriter : public haspel::ConfigWriter {
public:
    explicit StringWriter(long budget = -1)
        : budget_(budget)
    { }
    bool WriteString(const char* text) override;
    bool WriteChar(char c) override;

    const std::string& text() const { return text_; }
    int writesAfterFailure() const { return writesAfterFailure_; }

private:
    long budget_;
    bool failed_ = false;
    int writesAfterFailure_ = 0;
    std::string text_;
};

// The tree written at depth 0 into a string.
std::string WriteTree(const haspel::ConfigSection& section);

} // namespace kestrano::test
