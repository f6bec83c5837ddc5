// kestrano-tail --once: what is printed of each file, with settings from the configuration and the
// options, and how the command line is checked.
#include "tests/support/TempDir.h"
#include "tests/tail/TailProcess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrano::test {
namespace {

class TailOnceTest : public testing::Test {
protected:
    TempDir folder;
    std::string log(const std::string& name, const std::string& bytes)
    {
        const std::string path = folder.file(name);
        writeFile(path, bytes);
        return path;
    }
};

std::string desktopConfigurationFile()
{
    return std::string(std::getenv("XDG_CONFIG_HOME")) + "/Tormalind/Kestrano/kestrano.cfg";
}

void writeDesktopConfiguration(const std::string& text)
{
    std::filesystem::create_directories(std::filesystem::path(desktopConfigurationFile()).parent_path());
    writeFile(desktopConfigurationFile(), text);
}

TEST_F(TailOnceTest, PrintsTheTailAsALogWindowReadsIt)
{
    // 70,000 bytes: the default 65,536 start inside a line, which is dropped.
    std::string bytes;
    for (int i = 0; bytes.size() < 70000; ++i)
        bytes += "line " + std::to_string(100000 + i) + " info\n";
    const std::string path = log("big.log", bytes);
    const TailResult result = runTail({"-n", path});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string tail = bytes.substr(bytes.size() - 65536);
    std::string expected;
    for (size_t start = tail.find('\n') + 1; start < tail.size();) {
        const size_t end = tail.find('\n', start);
        expected += "INFO\t" + tail.substr(start, end - start) + "\n";
        start = end + 1;
    }
    EXPECT_EQ(result.out, expected);

    // -c -1: the whole file; -c 20 starts inside the last line but one and drops it.
    EXPECT_EQ(runTail({"-n", "-c", "-1", path}).out.substr(0, 22), "INFO\tline 100000 info\n");
    const std::string lastLine = bytes.substr(bytes.rfind('\n', bytes.size() - 2) + 1);
    EXPECT_EQ(runTail({"--once", "--bytes", "20", path}).out, "INFO\t" + lastLine);
}

TEST_F(TailOnceTest, MultiLineMessagesAndTheLastLineWithoutLineEnd)
{
    const std::string path = log("app.log",
        "Starting\r\nERROR  disk   full\r\n   at write()\r\n\tat main()\n  \nWARN retry\n  \tdetail "
        "fatal\nlast fatal line");
    EXPECT_EQ(runTail({"-n", path}).out,
        "?\tStarting\n"
        "ERROR\tERROR  disk   full\n"
        "\tat write()\n"
        "\tat main()\n"
        "\t\n"
        "WARN\tWARN retry\n"
        "\tdetail fatal\n"
        "FATAL\tlast fatal line\n");
    EXPECT_EQ(runTail({"-n", "--no-multiline", path}).out,
        "?\tStarting\n"
        "ERROR\tERROR  disk   full\n"
        "?\tat write()\n"
        "?\tat main()\n"
        "WARN\tWARN retry\n"
        "FATAL\tdetail fatal\n"
        "FATAL\tlast fatal line\n");
}

TEST_F(TailOnceTest, FiltersHideMessagesWithTheirContinuations)
{
    const std::string path
        = log("app.log", "debug a\ninfo b\n  more b\nwarn c\nplain d\nerror e\n  more e\nfatal f\n");
    EXPECT_EQ(runTail({"-n", "-s", "warn", path}).out,
        "WARN\twarn c\n?\tplain d\nERROR\terror e\n\tmore e\nFATAL\tfatal f\n");
    EXPECT_EQ(runTail({"-n", "-u", "--min-severity=ERROR", path}).out,
        "ERROR\terror e\n\tmore e\nFATAL\tfatal f\n");
    EXPECT_EQ(runTail({"-nu", path}).out,
        "DEBUG\tdebug a\nINFO\tinfo b\n\tmore b\nWARN\twarn c\nERROR\terror e\n\tmore e\nFATAL\tfatal f\n");
}

TEST_F(TailOnceTest, TwoFilesHaveHeadersAndAMissingOneFailsAtTheEnd)
{
    const std::string first = log("first.log", "info one\nwarn two\n");
    const std::string second = log("second.log", "error three\n");
    const std::string missing = folder.file("missing.log");
    const TailResult result = runTail({"-n", first, missing, second});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out,
        "==> " + first + " <==\nINFO\tinfo one\nWARN\twarn two\n==> " + second
            + " <==\nERROR\terror three\n");
    EXPECT_EQ(result.err, "kestrano-tail: cannot read '" + missing + "': No such file or directory\n");
    EXPECT_EQ(runTail({"-n", "-s", "fatal", first}).out, "");
}

// Read once, nothing is tried again: no "Still trying..." notice, the reason as tail gives it.
TEST_F(TailOnceTest, AFileThatCantBeReadIsNamedWithTheReason)
{
    const TailResult folderResult = runTail({"-n", folder.path()});
    EXPECT_EQ(folderResult.status, 1);
    EXPECT_EQ(folderResult.out, "");
    EXPECT_EQ(folderResult.err, "kestrano-tail: cannot read '" + folder.path() + "': Is a directory\n");

    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const TailResult fifoResult = runTail({"-n", fifo});
    EXPECT_EQ(fifoResult.status, 1);
    EXPECT_EQ(fifoResult.out, "");
    EXPECT_EQ(fifoResult.err, "kestrano-tail: cannot read '" + fifo + "': not a regular file\n");

    // Root reads everything: it runs as nobody then (the temporary folder is closed to others).
    const std::string secret = log("secret.log", "info hidden\n");
    ASSERT_EQ(chmod(secret.c_str(), 0), 0);
    TailLaunch launch;
    if (geteuid() == 0)
        launch.wrapper = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    const TailResult denied = runTail({"-n", secret}, launch);
    EXPECT_EQ(denied.status, 1);
    EXPECT_EQ(denied.out, "");
    EXPECT_EQ(denied.err, "kestrano-tail: cannot read '" + secret + "': Permission denied\n");
}

TEST_F(TailOnceTest, SettingsComeFromTheDesktopConfigurationWhichStaysUntouched)
{
    const std::string path = log("app.log", "boom here\n  and here\ninfo x\n");
    const TailResult defaults = runTail({"-n", path});
    EXPECT_EQ(defaults.out, "?\tboom here\n\tand here\nINFO\tinfo x\n");
    EXPECT_FALSE(std::filesystem::exists(desktopConfigurationFile())); // nothing created

    const std::string text = "<Analyze>\n\t<Fatal>  BOOM </>\n\t<MultiLine>0</>\n</Analyze>\n";
    writeDesktopConfiguration(text);
    EXPECT_EQ(runTail({"-n", path}).out, "FATAL\tboom here\n?\tand here\nINFO\tinfo x\n");
    EXPECT_EQ(readFile(desktopConfigurationFile()), text);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(
                                std::filesystem::path(desktopConfigurationFile()).parent_path()),
                  std::filesystem::directory_iterator()),
        1);

    // --config replaces the desktop's file; the options override either.
    const std::string own = folder.file("own.cfg");
    writeFile(own,
        "<Analyze>\n\t<Information>here</>\n</Analyze>\n<Sizes>\n\t<InitiallyReadBytes>12</>\n</Sizes>\n");
    EXPECT_EQ(runTail({"-n", "--config", own, path}).out, "?\tinfo x\n");
    EXPECT_EQ(
        runTail({"-n", "--config=" + own, "-c", "-1", path}).out, "INFO\tboom here\n\tand here\n?\tinfo x\n");
    const TailResult missing = runTail({"-n", "--config", folder.file("none.cfg"), path});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("none.cfg"), std::string::npos);
}

TEST_F(TailOnceTest, TagsAreColouredOnRequestOnly)
{
    const std::string path = log("app.log", "warn a\nplain b\n");
    EXPECT_EQ(runTail({"-n", path}).out, "WARN\twarn a\n?\tplain b\n"); // a pipe: auto means none
    EXPECT_EQ(runTail({"-n", "--color=always", path}).out, "\033[33mWARN\033[0m\twarn a\n?\tplain b\n");
    EXPECT_EQ(runTail({"-n", "--color=never", path}).out, "WARN\twarn a\n?\tplain b\n");

    // On a terminal, auto colours, unless NO_COLOR is set or the terminal is dumb.
    const std::string coloured = "\033[33mWARN\033[0m\twarn a\n?\tplain b\n";
    const TailLaunch terminal {{}, true};
    const auto onTerminal = [&](const std::vector<std::string>& environment) {
        std::vector<std::string> arguments = {"env", "-u", "NO_COLOR", "TERM=xterm"};
        arguments.insert(arguments.end(), environment.begin(), environment.end());
        TailLaunch launch = terminal;
        launch.wrapper = arguments;
        return runTail({"-n", path}, launch).out;
    };
    EXPECT_EQ(onTerminal({}), coloured);
    EXPECT_EQ(onTerminal({"NO_COLOR="}), coloured);
    EXPECT_EQ(onTerminal({"NO_COLOR=1"}), "WARN\twarn a\n?\tplain b\n");
    EXPECT_EQ(onTerminal({"TERM=dumb"}), "WARN\twarn a\n?\tplain b\n");
}

TEST_F(TailOnceTest, TheColourChoiceIsTakenOnlyAttached)
{
    const std::string path = log("app.log", "warn a\nplain b\n");
    const std::string plain = "WARN\twarn a\n?\tplain b\n";
    const std::string coloured = "\033[33mWARN\033[0m\twarn a\n?\tplain b\n";
    TailLaunch terminal {{"env", "-u", "NO_COLOR", "TERM=xterm"}, true};

    // Alone it means auto, the default: plain into a pipe, coloured on a terminal; -n stays --once.
    const TailResult piped = runTail({"--color", "-n", path});
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, plain);
    EXPECT_EQ(runTail({"--color", "-n", path}, terminal).out, coloured);
    EXPECT_EQ(runTail({"--color=never", "-n", path}, terminal).out, plain);
    EXPECT_EQ(runTail({"-n", "--col=always", path}).out, coloured);

    // A separate word is a FILE, not the choice (and here a missing one).
    const TailResult separate = runTail({"--color", "never", "-n", path});
    EXPECT_EQ(separate.status, 1);
    EXPECT_NE(separate.err.find("never"), std::string::npos) << separate.err;
}

TEST_F(TailOnceTest, BadCommandLinesAreUsageErrors)
{
    const std::string path = log("app.log", "info\n");
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"-n"},
        {"-x", path},
        {"-nx", path},
        {"--bogus", path},
        {"-i", "0", path},
        {"-i", "ten", path},
        {"--interval=99999999999", path},
        {"-c", "-2", path},
        {"-c", "12k", path},
        {"-s", "warning", path},
        {"--color=sometimes", path},
        {path, "-i"},
        {"--config"},
    };
    for (const auto& arguments : bad) {
        const TailResult result = runTail(arguments);
        const std::string shown = arguments.empty() ? "(none)" : arguments[0];
        EXPECT_EQ(result.status, 2) << shown;
        EXPECT_EQ(result.out, "") << shown;
        EXPECT_NE(result.err.find("Try 'kestrano-tail --help'"), std::string::npos) << shown;
    }
    const TailResult help = runTail({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: kestrano-tail [OPTION]... FILE...\n", 0), 0u);
    EXPECT_EQ(runTail({"--version", path}).out.rfind("kestrano-tail ", 0), 0u);
}

} // namespace
} // namespace kestrano::test

namespace kestrano::test {
namespace {

TEST_F(TailOnceTest, TheStatedLevelDecidesAndTimePrintsEachMessagesTime)
{
    // A Java log: the stated level beats "errors", the unindented exception lines continue the error.
    const std::string path = log("app.log",
        "2026-12-09T00:45:42.120+00:00 INFO [main] c.e.Service - Processed 0 errors\n"
        "2026-12-09T00:45:43.000+00:00 ERROR [main] c.e.Service - failed\n"
        "java.lang.IllegalStateException: no connection\n"
        "Caused by: java.io.IOException: reset\n");
    TailResult result = runTail({"-n", path});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
        "INFO\t2026-12-09T00:45:42.120+00:00 INFO [main] c.e.Service - Processed 0 errors\n"
        "ERROR\t2026-12-09T00:45:43.000+00:00 ERROR [main] c.e.Service - failed\n"
        "\tjava.lang.IllegalStateException: no connection\n"
        "\tCaused by: java.io.IOException: reset\n");

    // --time: in local time (here UTC), "-" where no time is stated.
    setenv("TZ", "UTC", 1);
    result = runTail({"-n", "--time", path});
    EXPECT_EQ(result.out.substr(0, 29), "2026-12-09T00:45:42.120\tINFO\t");

    const std::string plain = log("plain.log", "no header here\n");
    EXPECT_EQ(runTail({"-n", "--time", plain}).out, "-\t?\tno header here\n");

    // --keywords-only: as before, keywords and indentation alone.
    result = runTail({"-n", "--keywords-only", path});
    EXPECT_EQ(result.out,
        "ERROR\t2026-12-09T00:45:42.120+00:00 INFO [main] c.e.Service - Processed 0 errors\n"
        "ERROR\t2026-12-09T00:45:43.000+00:00 ERROR [main] c.e.Service - failed\n"
        "ERROR\tjava.lang.IllegalStateException: no connection\n"
        "ERROR\tCaused by: java.io.IOException: reset\n");
    EXPECT_NE(runTail({"--help"}).out.find("      --keywords-only"), std::string::npos);
}

} // namespace
} // namespace kestrano::test
