// The properties every input of the configuration parser must keep, shared by the fuzz target and
// the replay of its seed corpus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrano::test {

// Parses data as a configuration text, then writes and reads back what it gave; also builds a tree from
// data, writes it and reads it back. Returns a description of the first broken property, or "".
std::string CheckParseProperties(const uint8_t* data, std::size_t size);

} // namespace kestrano::test
