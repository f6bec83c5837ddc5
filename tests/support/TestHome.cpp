#include "tests/support/TestHome.h"

#include <cstdlib>
#include <filesystem>

namespace kestrano::test {

TestHome::TestHome()
{
    const std::string config = home.file(".config");
    const std::string state = home.file(".local/state");
    const std::string runtime = home.file("run");
    const std::string data = home.file(".local/share");
    std::filesystem::create_directories(config);
    std::filesystem::create_directories(state);
    std::filesystem::create_directories(runtime);
    std::filesystem::create_directories(data);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    // Nor the machine's installed data (an installed package's help and documents).
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    setenv("XDG_DATA_DIRS", home.file("no-data-dirs").c_str(), 1);
    // Nor the desktop's session bus: notifications reach no one unless a test starts a bus of its own.
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + home.file("no-session-bus")).c_str(), 1);
}

} // namespace kestrano::test
