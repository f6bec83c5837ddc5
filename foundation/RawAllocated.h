// Base for library classes created with new: their storage comes from malloc, so a failed
// allocation throws EOutOfMemory like every other allocation of the library.
#pragma once

#include "foundation/Exception.h"

#include <cstddef>
#include <cstdlib>

namespace haspel {

class RawAllocated {
public:
    static void* operator new(std::size_t size) { return AllocateOrThrow(size); }
    static void operator delete(void* block) noexcept { std::free(block); }
};

} // namespace haspel
