// kestrano-tail's --grep and its companions on real files: plain text and expressions, case, several
// patterns, inverted, continuation lines, invalid expressions, and while following.
#include "tests/support/TempDir.h"
#include "tests/tail/TailProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace kestrano::test {
namespace {

class TailGrepTest : public testing::Test {
protected:
    TempDir folder;
    const std::string path = folder.file("orders.log");

    void SetUp() override
    {
        writeFile(path,
            "info order 10443 received\n"
            "info order 10444 received\n"
            "warn ORDER 10443 late\n"
            "error worker crashed\n"
            "   at OrderService.ship(10443)\n"
            "info order 1x443 garbled\n");
    }
    std::string grep(std::vector<std::string> options)
    {
        options.insert(options.begin(), "-n");
        options.push_back(path);
        const TailResult result = runTail(options);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return result.out;
    }
};

TEST_F(TailGrepTest, PlainTextIgnoringCaseByDefault)
{
    EXPECT_EQ(grep({"-e", "order 10443"}), "INFO\tinfo order 10443 received\nWARN\twarn ORDER 10443 late\n");
    EXPECT_EQ(grep({"--grep", "order 10443", "--match-case"}), "INFO\tinfo order 10443 received\n");
    EXPECT_EQ(grep({"-F", "-e", "1.443"}), "");
    // The whole text counts: the continuation line brings its message, first line and all.
    EXPECT_EQ(grep({"-e", "orderservice"}), "ERROR\terror worker crashed\n\tat OrderService.ship(10443)\n");
}

TEST_F(TailGrepTest, ExpressionsSeveralPatternsAndInversion)
{
    EXPECT_EQ(grep({"-E", "-e", "order 1.443 [a-z]+$"}),
        "INFO\tinfo order 10443 received\nWARN\twarn ORDER 10443 late\nINFO\tinfo order 1x443 garbled\n");
    EXPECT_EQ(grep({"--regexp", "--match-case", "-e", "^warn|ship\\(\\d+\\)"}),
        "WARN\twarn ORDER 10443 late\nERROR\terror worker crashed\n\tat OrderService.ship(10443)\n");
    EXPECT_EQ(grep({"-e", "10444", "-e", "garbled"}),
        "INFO\tinfo order 10444 received\nINFO\tinfo order 1x443 garbled\n");
    EXPECT_EQ(
        grep({"-v", "-e", "10443"}), "INFO\tinfo order 10444 received\nINFO\tinfo order 1x443 garbled\n");
    EXPECT_EQ(grep({"-v", "-e", "10443", "-s", "warn"}), "");
    // -F after -E: plain text again.
    EXPECT_EQ(grep({"-E", "-F", "-e", "order 1.443"}), "");
}

TEST_F(TailGrepTest, AnInvalidExpressionEndsWithStatusTwoAndPcre2sMessage)
{
    const TailResult result = runTail({"-n", "-E", "-e", "fine", "-e", "order (10443", path});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
        "kestrano-tail: invalid regular expression 'order (10443': missing closing parenthesis at offset "
        "12\n");
    EXPECT_EQ(runTail({"-n", "-e", "order (10443", path}).status, 0); // plain text: fine

    const TailResult missing = runTail({"-n", path, "-e"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("option '-e' needs a value"), std::string::npos) << missing.err;
    EXPECT_NE(runTail({"--help"}).out.find("  -e, --grep PATTERN"), std::string::npos);
}

TEST_F(TailGrepTest, FollowingPrintsOnlyNewMessagesThatMatch)
{
    TailProcess tail({"-i", "20", "-e", "10443", path});
    ASSERT_TRUE(tail.waitForOutput("\tat OrderService.ship(10443)\n"));
    appendFile(path, "info order 10445 received\nerror refund failed\n");
    appendFile(path, "info order 10443 closed\n");
    ASSERT_TRUE(tail.waitForOutput("INFO\tinfo order 10443 closed\n"));
    // A continuation read at a later poll still shows its message.
    appendFile(path, "warn retry\n");
    appendFile(path, "  for order 10443\n");
    ASSERT_TRUE(tail.waitForOutput("\tfor order 10443\n"));
    EXPECT_EQ(tail.stop(SIGINT), 0);
    EXPECT_EQ(tail.out(),
        "INFO\tinfo order 10443 received\nWARN\twarn ORDER 10443 late\nERROR\terror worker crashed\n"
        "\tat OrderService.ship(10443)\nINFO\tinfo order 10443 closed\nWARN\twarn retry\n\tfor order "
        "10443\n");
}

} // namespace
} // namespace kestrano::test
