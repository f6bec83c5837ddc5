// The rows of the source registry: which name is which kind, what it is called, what is made of it.
#include "core/sources/SourceRegistry.h"
#include "platform/LinuxFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kestrano::test {
namespace {

TEST(SourceRegistryTest, EachNameIsOfOneKindWithItsRow)
{
    const SourceKind& input = sourceKindOf("-");
    EXPECT_TRUE(input.stream);
    EXPECT_FALSE(input.stored);
    EXPECT_FALSE(input.deletable);
    EXPECT_STREQ(input.terminalName, "standard input");

    for (const char* name : {"journal:", "journal:cron"}) {
        const SourceKind& journal = sourceKindOf(name);
        EXPECT_TRUE(journal.stored);
        EXPECT_FALSE(journal.deletable);
        EXPECT_FALSE(journal.stream);
        EXPECT_EQ(journal.terminalName, nullptr);
    }
    const SourceKind& file = sourceKindOf("app.log");
    for (const char* name : {"app.log.1.gz", "/var/log/x.xz", "plain", "-x", "journal", "/journal:x"}) {
        const SourceKind& kind = sourceKindOf(name);
        EXPECT_TRUE(kind.stored && kind.deletable && !kind.stream && kind.isPath) << name;
    }
    EXPECT_NE(&sourceKindOf("app.log.1.gz"), &file);
    EXPECT_EQ(&sourceKindOf("/var/log/syslog"), &file);
}

TEST(SourceRegistryTest, NamesAndTitlesStayAsTheUserKnowsThem)
{
    TempDir dir;
    const std::string previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    EXPECT_STREQ(logName("sub/../app.log").GetText(), (dir.path() + "/app.log").c_str());
    EXPECT_STREQ(logName("old.log.gz").GetText(), (dir.path() + "/old.log.gz").c_str());
    std::filesystem::current_path(previous);
    EXPECT_STREQ(logName("-").GetText(), "-");
    EXPECT_STREQ(logName("journal:cron").GetText(), "journal:cron");

    const auto title = [](const char* name) { return sourceKindOf(name).title(name); };
    EXPECT_EQ(title("/var/log/app.log"), (ShownText {CoreText::None, "app.log"}));
    EXPECT_EQ(title("/var/log/app.log.1.gz"), (ShownText {CoreText::None, "app.log.1.gz"}));
    EXPECT_EQ(title("-"), (ShownText {CoreText::StandardInputTitle, {}}));
    EXPECT_EQ(title("journal:"), (ShownText {CoreText::JournalTitle, {}}));
    EXPECT_EQ(title("journal:cron"), (ShownText {CoreText::UnitJournalTitle, "cron"}));
    EXPECT_EQ(title("journal:cron").english(), "Journal: cron");

    std::string unit = "before";
    EXPECT_TRUE(isJournalName(journalName("ssh").c_str(), &unit));
    EXPECT_EQ(unit, "ssh");
    EXPECT_FALSE(isJournalName("journal"));
}

TEST(SourceRegistryTest, FilesAreWatchedByTheirPathOtherSourcesNot)
{
    const SourceContext context(systemFileSystem());
    for (const char* name : {"/tmp/app.log", "/tmp/app.log.gz", "/tmp/app.log.xz"})
        EXPECT_EQ(sourceKindOf(name).make(name, context)->getWatchPath(), name);
    for (const char* name : {"-", "journal:"})
        EXPECT_EQ(sourceKindOf(name).make(name, context)->getWatchPath(), "");
}

} // namespace
} // namespace kestrano::test
