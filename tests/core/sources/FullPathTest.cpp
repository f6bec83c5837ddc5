#include "core/sources/FullPath.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace kestrano::test {
namespace {

TEST(FullPath, IsAbsoluteAndLexicallyNormal)
{
    EXPECT_STREQ(makeFullPath("/var//log/./a/../syslog").GetText(), "/var/log/syslog");
    EXPECT_STREQ(makeFullPath("/../..").GetText(), "/");
    EXPECT_STREQ(makeFullPath("/var/log/").GetText(), "/var/log");
    EXPECT_STREQ(makeFullPath("").GetText(), "");

    TempDir dir;
    const std::string previous = std::filesystem::current_path();
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    const haspel::String full = makeFullPath("sub/../x:y\\z.log");
    ASSERT_EQ(chdir(previous.c_str()), 0);
    EXPECT_EQ(std::string(full.GetText()), dir.path() + "/x:y\\z.log");
}

} // namespace
} // namespace kestrano::test
