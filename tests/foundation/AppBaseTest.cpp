#include "foundation/AppBase.h"
#include "foundation/Logger.h"
#include "tests/config/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace haspel;
using kestrano::test::readFile;
using kestrano::test::ScopedProgramPath;
using kestrano::test::ScopedVariable;
using kestrano::test::TempDir;
using kestrano::test::writeFile;

namespace fs = std::filesystem;

const char* haspel::GetApplicationName()
{
    return "Kestrano";
}

namespace {

// A program installed in <temp>/bin with its configuration folder under <temp>/config.
class AppBaseTest : public testing::Test {
protected:
    std::string Beside(const std::string& name) const { return temp.file("bin/" + name); }
    std::string InFolder(const std::string& name) const
    {
        return temp.file("config/Tormalind/Kestrano/" + name);
    }

    TempDir temp;
    ScopedVariable config {"XDG_CONFIG_HOME", temp.file("config")};
    ScopedProgramPath program {temp.file("bin/kestrano")};

    void SetUp() override { fs::create_directories(temp.file("bin")); }
};

int KeepLines(AppBase& app)
{
    return app.GetConfigRoot()->GetSection("Sizes").GetInt("KeepLines", 1000);
}

} // namespace

TEST_F(AppBaseTest, FirstStartReadsTheFileBesideTheProgramLaterStartsTheirOwn)
{
    writeFile(Beside("kestrano.cfg"), "<Sizes><KeepLines>7</></Sizes>");
    {
        AppBase app;
        EXPECT_EQ(KeepLines(app), 7);
        EXPECT_EQ(std::string(app.GetConfigurationDirectory().ToString().GetText()),
            temp.file("config/Tormalind/Kestrano"));
        EXPECT_TRUE(fs::is_directory(temp.file("config/Tormalind/Kestrano")));
    }
    EXPECT_EQ(readFile(InFolder("kestrano.cfg")), "<Sizes>\n\t<KeepLines>7</>\n</Sizes>\n");

    writeFile(Beside("kestrano.cfg"), "<Sizes><KeepLines>8</></Sizes>");
    {
        AppBase app;
        EXPECT_EQ(KeepLines(app), 7);
        app.GetConfigRoot()->GetSection("Sizes").GetParameter("KeepLines").SetInt(9);
    }
    EXPECT_EQ(readFile(InFolder("kestrano.cfg")), "<Sizes>\n\t<KeepLines>9</>\n</Sizes>\n");
    EXPECT_EQ(readFile(InFolder("kestrano.cfg.old")), "<Sizes>\n\t<KeepLines>7</>\n</Sizes>\n");
}

TEST_F(AppBaseTest, WithoutAnyFileTheDefaultsAreWrittenAtExit)
{
    {
        AppBase app;
        EXPECT_EQ(KeepLines(app), 1000);
    }
    EXPECT_EQ(readFile(InFolder("kestrano.cfg")), "<Sizes>\n\t<KeepLines>1000</>\n</Sizes>\n");
}

TEST_F(AppBaseTest, AnUnreadableFileInTheFolderFallsBackToTheFileBesideTheProgram)
{
    fs::create_directories(temp.file("config/Tormalind/Kestrano"));
    writeFile(InFolder("kestrano.cfg"), "garbage");
    writeFile(Beside("kestrano.cfg"), "<Sizes><KeepLines>5</></Sizes>");
    AppBase app;
    EXPECT_EQ(KeepLines(app), 5);
}

TEST_F(AppBaseTest, AnotherProgramNameUsesItsOwnFileInTheSameFolder)
{
    ScopedProgramPath tail(temp.file("bin/tail.bin"));
    {
        AppBase app;
        KeepLines(app);
    }
    EXPECT_TRUE(fs::exists(InFolder("tail.cfg")));
    EXPECT_FALSE(fs::exists(InFolder("kestrano.cfg")));
}

TEST_F(AppBaseTest, AFolderDeletedWhileRunningIsCreatedAgainAtExit)
{
    {
        AppBase app;
        KeepLines(app);
        fs::remove_all(temp.file("config"));
    }
    EXPECT_EQ(readFile(InFolder("kestrano.cfg")), "<Sizes>\n\t<KeepLines>1000</>\n</Sizes>\n");
}

TEST_F(AppBaseTest, TheProgramFolderServesWhenTheConfigurationFolderCannotBeMade)
{
    writeFile(temp.file("config"), "a file where the folder should be");
    writeFile(Beside("kestrano.cfg"), "<Sizes><KeepLines>3</></Sizes>");
    {
        AppBase app;
        EXPECT_EQ(std::string(app.GetConfigurationDirectory().ToString().GetText()), temp.file("bin"));
        EXPECT_EQ(KeepLines(app), 3);
        app.GetConfigRoot()->GetSection("Sizes").GetParameter("KeepLines").SetInt(4);
    }
    EXPECT_EQ(readFile(Beside("kestrano.cfg")), "<Sizes>\n\t<KeepLines>4</>\n</Sizes>\n");
    EXPECT_EQ(readFile(Beside("kestrano.cfg.old")), "<Sizes><KeepLines>3</></Sizes>");
}

TEST_F(AppBaseTest, ASaveThatCannotNameItsFileIsDroppedQuietly)
{
    auto app = std::make_unique<AppBase>();
    KeepLines(*app);
    ScopedProgramPath nameless("/");
    EXPECT_NO_THROW(app.reset());
    EXPECT_FALSE(fs::exists(temp.file("config/Tormalind/Kestrano/kestrano.cfg")));
}

TEST_F(AppBaseTest, AConfigurationThatCannotBeUsedIsToldAndAFailedSaveReported)
{
    fs::create_directories(InFolder(""));
    writeFile(InFolder("kestrano.cfg"), "<Sizes>\n\t<KeepLines>7</>\n");
    {
        AppBase app;
        EXPECT_EQ(app.GetLoadProblem().kind, ConfigProblem::Kind::Unparsable);
        EXPECT_EQ(app.GetLoadProblem().file, InFolder("kestrano.cfg"));
        EXPECT_EQ(app.GetLoadProblem().line, 3);
        EXPECT_EQ(KeepLines(app), 1000);
    }
    // The save put the damaged file aside and wrote a good one.
    EXPECT_EQ(readFile(InFolder("kestrano.cfg.bad")), "<Sizes>\n\t<KeepLines>7</>\n");
    {
        AppBase app;
        EXPECT_FALSE(app.GetLoadProblem());
    }
    // Damaged again beside a good copy: the copy is loaded, and the damage still told.
    writeFile(InFolder("kestrano.cfg"), "<Sizes>\n\t<KeepLines>8</>\n");
    {
        AppBase app;
        EXPECT_EQ(app.GetLoadProblem().kind, ConfigProblem::Kind::Unparsable);
        EXPECT_TRUE(app.GetLoadProblem().backupLoaded);
    }

    // A folder in the file's place: neither loaded nor saved, and both said.
    fs::remove(InFolder("kestrano.cfg"));
    fs::remove(InFolder("kestrano.cfg.old"));
    fs::create_directory(InFolder("kestrano.cfg"));
    const std::string errors = temp.file("stderr");
    {
        const Logger logger(nullptr);
        fflush(stderr);
        const int saved = dup(STDERR_FILENO);
        const int redirected = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(redirected, STDERR_FILENO);
        close(redirected);
        {
            AppBase app;
            EXPECT_EQ(app.GetLoadProblem().kind, ConfigProblem::Kind::Unreadable);
            EXPECT_EQ(app.GetLoadProblem().error, EISDIR);
        }
        fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    const std::string told = "cannot save the configuration file '" + InFolder("kestrano.cfg") + "': ";
    EXPECT_EQ(readFile(errors).rfind("kestrano: " + told, 0), 0u) << readFile(errors);
    const std::string log = std::string(std::getenv("XDG_STATE_HOME")) + "/Tormalind/Kestrano/kestrano.log";
    EXPECT_NE(readFile(log).find(told), std::string::npos);
    EXPECT_FALSE(fs::exists(InFolder("kestrano.cfg.new")));
}
