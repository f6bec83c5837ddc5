// The configuration file against odd file types, links, modes, broken content and saves of several
// processes at once.
#include "config/Config.h"
#include "tests/config/TreeDump.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace haspel;
using kestrano::test::readFile;
using kestrano::test::TempDir;
using kestrano::test::writeFile;

namespace fs = std::filesystem;

namespace {

const char* const kGood = "<Sizes>\n\t<KeepLines>10</>\n</Sizes>\n";

mode_t ModeOf(const std::string& path)
{
    struct stat status { };
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

bool Parses(const std::string& path)
{
    Config config;
    return config.ParseText(readFile(path).c_str());
}

// Runs body in a child process, which SIGALRM ends if it blocks; its exit status, or 128 + signal.
template <class Body> int InChild(Body body)
{
    const pid_t child = fork();
    if (child == 0) {
        alarm(20);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

TEST(ConfigSaveSafetyTest, AFifoOrFolderInThePlaceOfTheFileIsTakenAsMissing)
{
    TempDir temp;
    const std::string file = temp.file("k.cfg");
    writeFile(file + ".old", kGood);
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    // Opened as a plain stream, the FIFO waits for a writer that never comes.
    EXPECT_EQ(InChild([&] {
        Config config;
        return config.LoadFile(file.c_str())
            && config.GetRoot().GetSection("Sizes").GetInt("KeepLines", 0) == 10;
    }),
        0);

    fs::remove(file);
    fs::create_directory(file);
    Config config;
    ASSERT_TRUE(config.LoadFile(file.c_str()));
    EXPECT_EQ(config.GetRoot().GetSection("Sizes").GetInt("KeepLines", 0), 10);
}

TEST(ConfigSaveSafetyTest, AnUnparsableFileIsKeptAsideAndNeverReplacesTheGoodCopy)
{
    TempDir temp;
    const std::string file = temp.file("k.cfg");
    writeFile(file, "<Sizes><KeepLines>2"); // cut short
    writeFile(file + ".old", kGood);
    Config config;
    ASSERT_TRUE(config.LoadFile(file.c_str()));
    config.GetRoot().GetSection("Sizes").GetParameter("KeepLines").SetInt(30);
    ASSERT_TRUE(config.SaveFile(file.c_str()));
    EXPECT_EQ(readFile(file), "<Sizes>\n\t<KeepLines>30</>\n</Sizes>\n");
    EXPECT_EQ(readFile(file + ".old"), kGood);
    EXPECT_EQ(readFile(file + ".bad"), "<Sizes><KeepLines>2");

    // From then on the file rotates as usual.
    ASSERT_TRUE(config.SaveFile(file.c_str()));
    EXPECT_EQ(readFile(file + ".old"), "<Sizes>\n\t<KeepLines>30</>\n</Sizes>\n");
    EXPECT_EQ(readFile(file + ".bad"), "<Sizes><KeepLines>2");

    // A FIFO is no copy to keep either; the save never blocks on it.
    fs::remove(file);
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(InChild([&] { return config.SaveFile(file.c_str()); }), 0);
    EXPECT_TRUE(fs::is_regular_file(file));
    EXPECT_EQ(fs::status(file + ".bad").type(), fs::file_type::fifo);
    EXPECT_EQ(readFile(file + ".old"), "<Sizes>\n\t<KeepLines>30</>\n</Sizes>\n");
}

TEST(ConfigSaveSafetyTest, ASymbolicLinkIsSavedThroughToItsTarget)
{
    TempDir temp;
    fs::create_directories(temp.file("dotfiles/kestrano"));
    fs::create_directories(temp.file("config"));
    const std::string target = temp.file("dotfiles/kestrano/k.cfg");
    const std::string link = temp.file("config/k.cfg");
    writeFile(target, kGood);
    fs::create_symlink("../dotfiles/kestrano/k.cfg", link); // relative, as dotfile managers make them

    Config config;
    ASSERT_TRUE(config.LoadFile(link.c_str()));
    config.GetRoot().GetSection("Sizes").GetParameter("KeepLines").SetInt(40);
    ASSERT_TRUE(config.SaveFile(link.c_str()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(target), "<Sizes>\n\t<KeepLines>40</>\n</Sizes>\n");
    EXPECT_EQ(readFile(target + ".old"), kGood);
    EXPECT_FALSE(fs::exists(link + ".old"));
    EXPECT_FALSE(fs::exists(link + ".new"));

    // A chain of links, the last one dangling: the file is created where it points.
    fs::remove(target);
    fs::remove(link);
    fs::create_symlink(temp.file("config/middle"), link);
    fs::create_symlink(temp.file("dotfiles/kestrano/k.cfg"), temp.file("config/middle"));
    ASSERT_TRUE(config.SaveFile(link.c_str()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(temp.file("config/middle")));
    EXPECT_EQ(readFile(target), "<Sizes>\n\t<KeepLines>40</>\n</Sizes>\n");
}

TEST(ConfigSaveSafetyTest, ASaveKeepsTheModeAndANewFileIsTheOwnersAlone)
{
    TempDir temp;
    const std::string file = temp.file("k.cfg");
    const mode_t previous = umask(022);
    Config config;
    config.GetRoot().GetParameter("P").SetInt(1);
    ASSERT_TRUE(config.SaveFile(file.c_str()));
    EXPECT_EQ(ModeOf(file), 0600u);
    ASSERT_TRUE(config.SaveFile(file.c_str()));
    EXPECT_EQ(ModeOf(file), 0600u);

    chmod(file.c_str(), 0640);
    writeFile(file + ".new", "left over by a crash"); // with the umask's 0644
    ASSERT_TRUE(config.SaveFile(file.c_str()));
    EXPECT_EQ(ModeOf(file), 0640u);
    EXPECT_EQ(ModeOf(file + ".old"), 0640u);
    umask(previous);
}

TEST(ConfigSaveSafetyTest, ConcurrentSaversEachWriteAWholeFileAndTheLastOneWins)
{
    TempDir temp;
    const std::string file = temp.file("k.cfg");
    constexpr int kProcesses = 4;
    constexpr int kSaves = 8;
    // Large enough that one save takes many writes, so unserialised saves interleave.
    auto fill = [](Config& config, int writer) {
        for (int i = 0; i < 500; ++i)
            config.GetRoot()
                .GetSection(std::string(1, 'S').append(std::to_string(i)).c_str())
                .GetParameter("Writer")
                .SetString(std::string(40, static_cast<char>('a' + writer)).c_str());
    };

    std::vector<pid_t> children;
    for (int writer = 0; writer < kProcesses; ++writer) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            alarm(60);
            Config config;
            fill(config, writer);
            bool saved = true;
            for (int i = 0; i < kSaves; ++i)
                saved = config.SaveFile(file.c_str()) && saved;
            _exit(saved ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    EXPECT_TRUE(Parses(file + ".old"));
    EXPECT_FALSE(fs::exists(file + ".bad"));
    EXPECT_FALSE(fs::exists(file + ".new"));
    const std::string written = readFile(file);
    bool whole = false;
    for (int writer = 0; writer < kProcesses; ++writer) {
        Config expected;
        fill(expected, writer);
        whole = whole || written == kestrano::test::WriteTree(expected.GetRoot());
    }
    EXPECT_TRUE(whole) << written.size() << " bytes, not one writer's file";
}
