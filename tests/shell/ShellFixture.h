// Runs the real program in a test: the application object over the real configuration file in the test's
// temporary home, real log files, real windows (offscreen) and timers. Only the alert sound is recorded.
#pragma once

#include "platform/LinuxFileSystem.h"
#include "platform/qt/AlertSound.h"
#include "shell/app/Kestrano.h"
#include "tests/core/ViewDoubles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QMenu;

namespace haspel {
class ConfigSection;
}

namespace kestrano {
class MainFrame;
}

namespace kestrano::test {

class RecordingAlertSound : public AlertSound {
public:
    explicit RecordingAlertSound(int& plays)
        : plays(plays)
    { }
    void play() override { ++plays; }

private:
    int& plays;
};

// The real file system, with a record of the files read (a file stays open between polls).
class RecordingFileSystem : public LinuxFileSystem {
public:
    Handle openForReading(const char* path) override;
    int32_t readAt(Handle file, char* buffer, int32_t n, uint64_t offset) override;
    void close(Handle file) override;

    // The files read, in order: a file once per run of reads of it.
    std::vector<std::string> read;
    // Called when a run of reads of a file begins.
    std::function<void()> onRead;

private:
    std::map<Handle, std::string> paths;
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Edits the configuration file as a user might between two runs.
    void editConfiguration(const std::function<void(haspel::ConfigSection& root)>& edit);
    // Starts the program as from the command line; its boxes are shown on the screen, or recorded and
    // answered by scriptedBoxes when the test asks for that before.
    Kestrano& start(const std::vector<std::string>& files = {});
    // Ends the running program; its configuration is saved.
    void exit();
    // The saved configuration file, loaded without creating anything.
    std::unique_ptr<haspel::Config> savedConfiguration() const;
    std::string configurationFile() const;

    std::string log(const std::string& name, const std::string& content = "");

    TempDir logs;
    int soundPlays = 0;
    RecordingFileSystem files;
    ScriptedMessageBox scriptedBoxes;
    bool useScriptedBoxes = false;
    std::unique_ptr<Kestrano> app;
};

inline const std::string Missing = "<missing>";

// The value of a parameter of the section path below root as text (found without creating anything), or
// Missing.
std::string stored(haspel::ConfigSection& root, std::initializer_list<const char*> sections, const char* key);

// The menu of the main window's menu bar with this title (as the table writes it), or nullptr.
QMenu* menuNamed(MainFrame& frame, const char* title);

} // namespace kestrano::test
