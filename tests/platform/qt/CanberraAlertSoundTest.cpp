// The alert sound on a machine without a sound output: found out once, then only the display's beep,
// with nothing written to standard error.
#include "platform/qt/CanberraAlertSound.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace kestrano::test {
namespace {

TEST(CanberraAlertSoundTest, FindsASoundServerOrAPlaybackDevice)
{
    unsetenv("PULSE_SERVER");
    TempDir runtime;
    TempDir devices;
    EXPECT_FALSE(hasSoundOutput(runtime.path().c_str(), devices.path().c_str()));
    EXPECT_FALSE(hasSoundOutput(nullptr, (devices.path() + "/missing").c_str()));

    writeFile(devices.file("pcmC0D0c"), ""); // capture only
    writeFile(devices.file("controlC0"), "");
    EXPECT_FALSE(hasSoundOutput(runtime.path().c_str(), devices.path().c_str()));
    writeFile(devices.file("pcmC0D0p"), "");
    EXPECT_TRUE(hasSoundOutput(runtime.path().c_str(), devices.path().c_str()));

    TempDir none;
    std::filesystem::create_directories(runtime.file("pulse"));
    EXPECT_FALSE(hasSoundOutput(runtime.path().c_str(), none.path().c_str()));
    writeFile(runtime.file("pulse/native"), "");
    EXPECT_TRUE(hasSoundOutput(runtime.path().c_str(), none.path().c_str()));
    TempDir pipewire;
    writeFile(pipewire.file("pipewire-0"), "");
    EXPECT_TRUE(hasSoundOutput(pipewire.path().c_str(), none.path().c_str()));

    setenv("PULSE_SERVER", "tcp:localhost", 1);
    EXPECT_TRUE(hasSoundOutput(nullptr, none.path().c_str()));
    unsetenv("PULSE_SERVER");
}

TEST(CanberraAlertSoundTest, WithoutASoundOutputAlertsStayQuiet)
{
    unsetenv("PULSE_SERVER");
    TempDir runtime;
    TempDir devices;
    // Standard error into a file while the alerts play.
    const std::string captured = runtime.file("stderr.txt");
    std::fflush(stderr);
    const int saved = dup(2);
    ASSERT_NE(std::freopen(captured.c_str(), "w", stderr), nullptr);
    {
        CanberraAlertSound sound(runtime.path().c_str(), devices.path().c_str());
        EXPECT_FALSE(sound.usesSoundTheme());
        for (int i = 0; i < 20; ++i)
            sound.play();
    }
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    EXPECT_EQ(readFile(captured), "");
}

} // namespace
} // namespace kestrano::test
