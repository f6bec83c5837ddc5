#include "core/sources/RemoteName.h"
#include "core/sources/SourceRegistry.h"

#include <gtest/gtest.h>

namespace kestrano::test {
namespace {

TEST(RemoteNameTest, FilesAndJournalsWithTheirUserAndPort)
{
    RemoteName remote;
    ASSERT_TRUE(parseRemoteName("ssh://web1/var/log/nginx/error.log", remote));
    EXPECT_EQ(remote.host, "web1");
    EXPECT_EQ(remote.path, "/var/log/nginx/error.log");
    EXPECT_TRUE(remote.user.empty());
    EXPECT_FALSE(remote.journal);

    ASSERT_TRUE(parseRemoteName("ssh://ops@db1:2222/?journal=postgresql", remote));
    EXPECT_EQ(remote.getDestination(), "ops@db1");
    EXPECT_EQ(remote.port, "2222");
    EXPECT_TRUE(remote.journal);
    EXPECT_EQ(remote.unit, "postgresql");
    EXPECT_EQ(remote.getName(), "ssh://ops@db1:2222/?journal=postgresql");

    ASSERT_TRUE(parseRemoteName("ssh://[::1]:22/?journal", remote));
    EXPECT_EQ(remote.host, "::1");
    EXPECT_TRUE(remote.unit.empty());
    EXPECT_EQ(remote.getName(), "ssh://[::1]:22/?journal");
}

TEST(RemoteNameTest, RefusesWhatSshWouldTakeForAnOptionAndMalformedNames)
{
    RemoteName remote;
    for (const char* name : {"ssh://-oProxyCommand=x/var/log/a", "ssh://-l@host/a", "ssh://host",
             "ssh://host/", "ssh:///var/log/a", "ssh://host:22x/a", "ssh://host:/a", "ssh://ho st/a",
             "ssh://host/?journal=", "ssh://host/?journalx", "/var/log/a"})
        EXPECT_FALSE(parseRemoteName(name, remote)) << name;
}

TEST(RemoteNameTest, TheRegistryKnowsRemoteLogs)
{
    const SourceKind& kind = sourceKindOf("ssh://web1/var/log/syslog.gz");
    EXPECT_FALSE(kind.isPath);
    EXPECT_TRUE(kind.stored);
    EXPECT_FALSE(kind.deletable);
    EXPECT_STREQ(logName("ssh://web1/var/log/app.log").GetText(), "ssh://web1/var/log/app.log");
    EXPECT_EQ(kind.title("ssh://web1/var/log/app.log"), (ShownText {CoreText::None, "web1: app.log"}));
    EXPECT_EQ(kind.title("ssh://web1/?journal=db").english(), "web1: Journal db");
    EXPECT_EQ(kind.title("ssh://web1/?journal").english(), "web1: Journal");
}

} // namespace
} // namespace kestrano::test
