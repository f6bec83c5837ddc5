// The command lines of both programs, as the built programs answer them; kestrano started under a
// program name that names no file (exec -a ''), which names its files after it, ends with a message and
// status 1, never an abort.
#include "ProgramVersion.h"
#include "tests/shell/ProgramProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kestrano::test {
namespace {

TEST(ProgramStartTest, AProgramNameWithoutAFileEndsWithAMessageAndStatusOne)
{
    TempDir folder;
    writeFile(folder.file("a.log"), "line\n");
    for (const char* name : {"", "/"}) {
        ProgramProcess desktop(KESTRANO_PROGRAM, name, {"a.log"}, folder.path());
        EXPECT_EQ(desktop.wait(), 1) << "'" << name << "'";
        EXPECT_NE(
            desktop.output().find("kestrano: The __argv[0] does not denote a valid path"), std::string::npos)
            << desktop.output();

        // kestrano-tail needs no file of its own name and runs.
        ProgramProcess tail(KESTRANO_TAIL_PROGRAM, name, {"--once", "a.log"}, folder.path());
        EXPECT_EQ(tail.wait(), 0) << "'" << name << "'";
        EXPECT_NE(tail.output().find("line"), std::string::npos) << tail.output();
    }
}

// The environment variable set to value (nullptr: unset) for the scope's lifetime.
class Environment {
public:
    Environment(const char* name, const char* value)
        : name(name)
    {
        if (const char* before = std::getenv(name))
            saved = before;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~Environment() { saved ? setenv(name, saved->c_str(), 1) : unsetenv(name); }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

private:
    const char* name;
    std::optional<std::string> saved;
};

TEST(ProgramStartTest, WithoutADisplayItSaysSoAndEndsWithStatusOneLeavingNoInstanceBehind)
{
    TempDir folder;
    writeFile(folder.file("a.log"), "line\n");
    // Empty: Qt picks its platform as on a desktop. The message in English.
    const Environment platform("QT_QPA_PLATFORM", "");
    const Environment locale("LC_ALL", "C.UTF-8");
    const Environment language("LANGUAGE", nullptr);
    const Environment wayland("WAYLAND_DISPLAY", nullptr);
    {
        const Environment display("DISPLAY", nullptr);
        ProgramProcess desktop(KESTRANO_PROGRAM, KESTRANO_PROGRAM, {"a.log"}, folder.path());
        EXPECT_EQ(desktop.wait(), 1);
        EXPECT_EQ(
            desktop.output(), "kestrano: cannot open the display (DISPLAY and WAYLAND_DISPLAY are unset)\n");
    }
    {
        // A display nobody serves: the platform's own reason.
        const Environment display("DISPLAY", ":9753");
        ProgramProcess desktop(KESTRANO_PROGRAM, KESTRANO_PROGRAM, {"a.log"}, folder.path());
        EXPECT_EQ(desktop.wait(), 1);
        EXPECT_EQ(
            desktop.output(), "kestrano: cannot open the display (could not connect to display :9753)\n");
    }
    EXPECT_FALSE(std::filesystem::exists(socketFile()));
    EXPECT_FALSE(std::filesystem::exists(configurationFile()));
}

// The exit status and the output of a program that ends by itself.
std::pair<int, std::string> answer(const char* program, const std::vector<std::string>& arguments)
{
    TempDir folder;
    ProgramProcess process(program, program, arguments, folder.path());
    const int status = process.wait();
    return {status, process.output()};
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        result.push_back(line);
    return result;
}

TEST(ProgramStartTest, BothProgramsAnswerHelpAndVersionAlikeAlsoAbbreviated)
{
    std::vector<std::string> notices;
    for (const auto& [program, name] :
        {std::pair {KESTRANO_PROGRAM, "kestrano"}, std::pair {KESTRANO_TAIL_PROGRAM, "kestrano-tail"}}) {
        for (const char* help : {"-h", "--help", "--he"}) {
            const auto [status, output] = answer(program, {help});
            EXPECT_EQ(status, 0) << name << " " << help;
            EXPECT_EQ(output.rfind(std::string("Usage: ") + name + " [", 0), 0u) << output;
        }
        // GNU style: the name and version, the holder, the terms.
        const auto version = answer(program, {"--version"});
        EXPECT_EQ(version.first, 0);
        const std::vector<std::string> shown = lines(version.second);
        ASSERT_EQ(shown.size(), 3u) << version.second;
        EXPECT_EQ(shown[0], std::string(name) + " " + ProgramVersion);
        EXPECT_EQ(shown[1], "Copyright (C) Tormalind");
        EXPECT_NE(shown[2].find("Readme.txt"), std::string::npos) << shown[2];
        notices.push_back(shown[1] + shown[2]);
        EXPECT_EQ(answer(program, {"--vers"}), version);

        const auto unknown = answer(program, {"--bogus", "a.log"});
        EXPECT_EQ(unknown.first, 2);
        EXPECT_EQ(unknown.second,
            std::string(name) + ": unknown option '--bogus'\nTry '" + name
                + " --help' for more information.\n");
    }
    EXPECT_EQ(notices[0], notices[1]);
}

TEST(ProgramStartTest, TheStateFolderIsMadeOnlyForTheDiagnosticLog)
{
    namespace fs = std::filesystem;
    const std::string state = std::string(std::getenv("XDG_STATE_HOME")) + "/Tormalind/Kestrano";
    TempDir folder;
    for (const char* name : {"a.log", "b.log", "c.log"})
        writeFile(folder.file(name), "line\n");
    // Runs the desktop program until it takes the signal a desktop ends it with, then sends it.
    const auto run = [&](const std::vector<std::string>& arguments) {
        ProgramProcess desktop(KESTRANO_PROGRAM, KESTRANO_PROGRAM, arguments, folder.path());
        EXPECT_TRUE(eventually([&] { return desktop.catches(SIGTERM) || !desktop.running(); }));
        EXPECT_EQ(desktop.stop(SIGTERM), 0) << desktop.output();
    };

    run({"a.log"});
    EXPECT_EQ(savedWorkspace(), std::vector<std::string> {folder.file("a.log")});
    EXPECT_FALSE(fs::exists(state));

    // The level goes to the log, the file after it is opened; an abbreviated --log does the same.
    run({"/log", "debug", "b.log"});
    run({"c.log", "--lo", "info"});
    EXPECT_EQ(savedWorkspace(),
        (std::vector<std::string> {folder.file("a.log"), folder.file("b.log"), folder.file("c.log")}));
    const std::string log = readFile(state + "/kestrano.log");
    size_t runs = 0;
    for (size_t at = log.find("Logger initialized"); at != std::string::npos;
         at = log.find("Logger initialized", at + 1))
        ++runs;
    EXPECT_EQ(runs, 2u) << log;
    EXPECT_NE(log.find("Shutting down logger"), std::string::npos) << log;
}

TEST(ProgramStartTest, ATerminationSignalEndsTheDesktopWithALargeConfigurationIntact)
{
    namespace fs = std::filesystem;
    // About 8 MB in one section, each name differing only in its digits.
    std::string text = "<Big>\n";
    for (int i = 0; i < 400000; ++i)
        text += "\t<Parameter" + std::to_string(i) + ">value</>\n";
    text += "</Big>\n";
    fs::create_directories(fs::path(configurationFile()).parent_path());
    writeFile(configurationFile(), text);
    TempDir folder;
    // At once (while it loads), and once it runs (the save at the end, perhaps cut short by a second).
    for (const bool waitForTheLoop : {false, true}) {
        ProgramProcess desktop(KESTRANO_PROGRAM, KESTRANO_PROGRAM, {}, folder.path());
        if (waitForTheLoop) {
            ASSERT_TRUE(eventually([&] { return desktop.catches(SIGTERM) || !desktop.running(); }));
        }
        const int status = desktop.stop(SIGTERM);
        EXPECT_TRUE(status == 0 || status == 128 + SIGTERM) << status << desktop.output();
        EXPECT_FALSE(fs::exists(configurationFile() + ".new"));
        const std::string saved = readFile(configurationFile());
        EXPECT_NE(saved.find("\t<Parameter399999>value</>\n"), std::string::npos);
    }
}

} // namespace
} // namespace kestrano::test
