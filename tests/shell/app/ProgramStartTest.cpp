// Started under a program name that names no file (exec -a ''), kestrano, which names its files after
// it, ends with a message and status 1, never an abort.
#include "tests/shell/ProgramProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

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

} // namespace
} // namespace kestrano::test
