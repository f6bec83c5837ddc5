// What kestrano-tail writes where: messages alone on standard output, its notices and configuration
// problems on standard error with their reasons, and control characters of a log made visible on a
// terminal (--raw passes them).
#include "tests/support/TempDir.h"
#include "tests/tail/TailProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kestrano::test {
namespace {

namespace fs = std::filesystem;

class TailStreamsTest : public testing::Test {
protected:
    TempDir folder;
    const std::string path = folder.file("app.log");
};

std::string desktopConfigurationFile()
{
    return std::string(std::getenv("XDG_CONFIG_HOME")) + "/Tormalind/Kestrano/kestrano.cfg";
}

TEST_F(TailStreamsTest, AReadFailureWhileFollowingIsANoticeWithItsReason)
{
    writeFile(path, "info one\n");
    TailLaunch launch;
    // Root reads everything: it runs as nobody then, in a folder it may pass through.
    if (geteuid() == 0) {
        ASSERT_EQ(chmod(folder.path().c_str(), 0711), 0);
        launch.wrapper = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "env",
            "XDG_CONFIG_HOME=" + folder.file("none")};
    }
    TailProcess tail({"-i", "20", path}, launch);
    ASSERT_TRUE(tail.waitForOutput("INFO\tinfo one\n"));

    // Replaced by a file it may not read, which later becomes readable and grows.
    const std::string replacement = folder.file("app.log.new");
    writeFile(replacement, "info two\n");
    ASSERT_EQ(chmod(replacement.c_str(), 0), 0);
    fs::rename(replacement, path);
    ASSERT_TRUE(tail.waitForError(
        "--- " + path + ": Error: Cannot read from log file (Permission denied). Still trying...\n"));
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    appendFile(path, "info three\n");
    ASSERT_TRUE(tail.waitForOutput("INFO\tinfo three\n"));
    EXPECT_EQ(tail.stop(SIGTERM), 0);
    EXPECT_EQ(tail.out().find("Cannot read"), std::string::npos);
    EXPECT_EQ(tail.out().rfind("INFO\tinfo one\n", 0), 0u);
}

TEST_F(TailStreamsTest, OnATerminalControlCharactersAreShownAsALinePagerShowsThem)
{
    const std::string line = "login user=\x1B]0;owned\x07\x1B[2J \xE2\x80\xAE"
                             "evil\x9B"
                             "31m\tend";
    writeFile(path, line + "\n");
    TailLaunch terminal;
    terminal.terminal = true;
    const TailResult shown = runTail({"--once", "--color=never", path}, terminal);
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.out, "?\tlogin user=^[]0;owned^G^[[2J <U+202E>evil<9B>31m\tend\n");

    // --raw passes the bytes as they are, as does a pipe.
    const TailResult raw = runTail({"--once", "--raw", "--color=never", path}, terminal);
    EXPECT_EQ(raw.out, "?\t" + line + "\n");
    EXPECT_EQ(runTail({"--once", path}).out, "?\t" + line + "\n");
}

TEST_F(TailStreamsTest, AConfigurationThatCannotBeUsedIsToldOnceWithItsPlace)
{
    writeFile(path, "info one\n");
    const std::string damaged = folder.file("damaged.cfg");
    writeFile(damaged, "<Sizes>\n\t<KeepLines>10</>\n</Size>\n");
    const TailResult named = runTail({"--once", "--config", damaged, path});
    EXPECT_EQ(named.status, 2);
    EXPECT_EQ(named.out, "");
    EXPECT_EQ(named.err,
        "kestrano-tail: the configuration file '" + damaged
            + "' does not parse: line 3: a closing tag names another section than the open one\n");

    const TailResult folderNamed = runTail({"--once", "--config", folder.path(), path});
    EXPECT_EQ(folderNamed.status, 2);
    EXPECT_EQ(folderNamed.err,
        "kestrano-tail: cannot read the configuration file '" + folder.path() + "': Is a directory\n");
    EXPECT_EQ(runTail({"--once", "--config", folder.file("missing.cfg"), path}).err,
        "kestrano-tail: cannot read the configuration file '" + folder.file("missing.cfg")
            + "': No such file or directory\n");

    // The desktop program's file: said, and the defaults taken.
    fs::create_directories(fs::path(desktopConfigurationFile()).parent_path());
    writeFile(desktopConfigurationFile(), "<Sizes>\n\t<KeepLines>10</>\n</Sizes>\nstray\n");
    const TailResult desktop = runTail({"--once", path});
    EXPECT_EQ(desktop.status, 0);
    EXPECT_EQ(desktop.out, "INFO\tinfo one\n");
    EXPECT_EQ(desktop.err,
        "kestrano-tail: the configuration file '" + desktopConfigurationFile()
            + "' does not parse: line 4: a value outside any section\n");
}

TEST_F(TailStreamsTest, ATerminationSignalEndsItWhileTheConfigurationLoads)
{
    // About 8 MB in one section, each name differing only in its digits.
    std::string text = "<Big>\n";
    for (int i = 0; i < 400000; ++i)
        text += "\t<Parameter" + std::to_string(i) + ">value</>\n";
    text += "</Big>\n";
    const std::string big = folder.file("big.cfg");
    writeFile(big, text);
    writeFile(path, "info one\n");
    TailProcess tail({"--config", big, path});
    // Ended by the signal while loading, or by its handler once following: either way it ends.
    const int status = tail.stopWithoutReading(SIGTERM);
    EXPECT_TRUE(status == 0 || status == 128 + SIGTERM) << status;
}

} // namespace
} // namespace kestrano::test
