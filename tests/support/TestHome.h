// Points HOME, XDG_CONFIG_HOME, XDG_STATE_HOME and XDG_RUNTIME_DIR at a fresh temporary folder for the
// whole test process, and the session bus at nothing.
#pragma once

#include "tests/support/TempDir.h"

namespace kestrano::test {

class TestHome {
public:
    TestHome();
    const TempDir& folder() const { return home; }

private:
    TempDir home;
};

} // namespace kestrano::test
