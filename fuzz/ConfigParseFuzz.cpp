// libFuzzer entry: the configuration parser with any input, and the writer's output read back.
#include "tests/config/ParseProperties.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string failure = kestrano::test::CheckParseProperties(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
