#include "core/sources/RemoteCommand.h"
#include "core/sources/JournalEntry.h"
#include "core/text/CoreText.h"
#include "core/text/Message.h"

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

namespace kestrano::test {
namespace {

using Words = std::vector<std::string>;

TEST(RemoteCommandTest, TheSshCommandIsSplitAsAShellWould)
{
    EXPECT_EQ(splitShellWords("ssh -i '/tmp/my key' -o \"User=a b\" x\\ y  \"q\\\"\\n\""),
        (Words {"ssh", "-i", "/tmp/my key", "-o", "User=a b", "x y", "q\"\\n"}));
    EXPECT_EQ(splitShellWords("  "), Words {});
    EXPECT_EQ(splitShellWords("a '' b"), (Words {"a", "", "b"}));
}

TEST(RemoteCommandTest, SshRunsInBatchModeWithThePortAndTheCommandAfterTheDestination)
{
    setenv("KESTRANO_SSH_COMMAND", "/usr/bin/ssh -F '/tmp/a config'", 1);
    RemoteName remote;
    remote.user = "ops";
    remote.host = "web1";
    remote.port = "2222";
    const Words arguments = sshArguments(remote, "true");
    unsetenv("KESTRANO_SSH_COMMAND");
    ASSERT_GE(arguments.size(), 6u);
    EXPECT_EQ(arguments[0], "/usr/bin/ssh");
    EXPECT_EQ(arguments[2], "/tmp/a config");
    EXPECT_NE(std::find(arguments.begin(), arguments.end(), "BatchMode=yes"), arguments.end());
    EXPECT_NE(std::find(arguments.begin(), arguments.end(), "-n"), arguments.end());
    EXPECT_EQ(Words(arguments.end() - 3, arguments.end()), (Words {"--", "ops@web1", "true"}));
    EXPECT_EQ(sshArguments(RemoteName(), "x")[0], "ssh");
}

TEST(RemoteCommandTest, TheRemoteScriptsAreQuotedForAnyShell)
{
    EXPECT_EQ(shellQuote("it's"), "'it'\\''s'");
    const std::string file = fileCommand("/var/log/it's.log", 65536, {"1:2", 10}, false);
    EXPECT_EQ(file.rfind("exec sh -c '", 0), 0u);
    EXPECT_NE(file.find("tail -c +$((b + 1)) -F"), std::string::npos);
    EXPECT_EQ(fileCommand("/a", 1, {}, true).find("-F"), std::string::npos);
    const std::string journal = journalCommand("db", "", 1000, false);
    EXPECT_NE(journal.find("-o export -f -u"), std::string::npos);
    EXPECT_NE(journal.find("-n 1000"), std::string::npos);
    EXPECT_NE(journalCommand("", "s=1;i=2", 1000, true).find("--after-cursor="), std::string::npos);
}

TEST(RemoteCommandTest, FaultsHaveTheirOwnReasons)
{
    EXPECT_EQ(
        classifyRemoteFault(255, "root@h: Permission denied (publickey).\n", false), RemoteFault::KeyRefused);
    const std::string refused = "ssh: connect to host h port 1: Connection refused\r\n";
    EXPECT_EQ(classifyRemoteFault(255, refused, false), RemoteFault::Unreachable);
    EXPECT_EQ(remoteFaultReason(refused, 255), "connect to host h port 1: Connection refused");
    EXPECT_EQ(classifyRemoteFault(MissingStatus, "", false), RemoteFault::Missing);
    EXPECT_EQ(classifyRemoteFault(PermissionStatus, "", false), RemoteFault::Permission);
    EXPECT_EQ(classifyRemoteFault(255, refused, true), RemoteFault::Lost);
    EXPECT_EQ(remoteFaultReason("tail: 'a' has been replaced; following new file\n", 0), "connection closed");
    EXPECT_TRUE(tailSwitchedFile("tail: 'a' has been replaced; following new file"));
    EXPECT_TRUE(tailSwitchedFile("tail: a: file truncated"));
    EXPECT_FALSE(tailSwitchedFile("kestrano: truncated"));
}

TEST(RemoteCommandTest, NoticesWithTwoPartsKeepBoth)
{
    const ShownText lost {CoreText::RemoteLost, "web1", "Connection reset by peer"};
    EXPECT_EQ(lost.english(), "Connection to web1 lost: Connection reset by peer. Reconnecting…");
    Message* message = Message::createNotice(lost, 0);
    EXPECT_EQ(message->getNotice(), lost);
    delete message;
}

TEST(RemoteCommandTest, ExportEntriesArriveInPiecesWithBinaryFields)
{
    std::string stream = "__CURSOR=c1\n__REALTIME_TIMESTAMP=1796702400000000\nMESSAGE\n";
    const std::string value = "two\nlines";
    for (int i = 0; i < 8; ++i)
        stream += static_cast<char>(i == 0 ? value.size() : 0);
    stream += value + "\nPRIORITY=3\n\n__CURSOR=c2\nMESSAGE=plain\n\n";
    JournalExportReader reader;
    std::vector<JournalExportReader::Fields> entries;
    for (char c : stream)
        reader.feed(&c, 1, [&](const JournalExportReader::Fields& fields) { entries.push_back(fields); });
    ASSERT_EQ(entries.size(), 2u);
    std::string_view message;
    ASSERT_TRUE(JournalExportReader::find(entries[0], "MESSAGE", message));
    EXPECT_EQ(message, "two\nlines");
    ASSERT_TRUE(JournalExportReader::find(entries[1], "__CURSOR", message));
    EXPECT_EQ(message, "c2");
    EXPECT_FALSE(reader.broken());
}

} // namespace
} // namespace kestrano::test
