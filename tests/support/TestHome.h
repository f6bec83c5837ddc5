// Points HOME, XDG_CONFIG_HOME and XDG_STATE_HOME at a fresh temporary folder for the whole test process,
// and the session bus at nothing.
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
