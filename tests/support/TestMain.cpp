// Test main: HOME and the XDG folders point at a temporary folder, so no test touches the real home.
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv)
{
    kestrano::test::TempDir home;
    const std::string config = home.file(".config");
    const std::string state = home.file(".local/state");
    std::filesystem::create_directories(config);
    std::filesystem::create_directories(state);
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
