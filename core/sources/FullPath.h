// The full path under which a log is known: absolute and lexically normal, symbolic links kept.
#pragma once

#include "foundation/String.h"

namespace kestrano {

// Joins a relative path to the current folder, then drops empty and "." components and resolves ".."
// against the component before it ("/.." stays "/"). An empty path stays empty.
haspel::String makeFullPath(const char* path);

} // namespace kestrano
