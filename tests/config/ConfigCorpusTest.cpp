// Replays the parser fuzz target's seed corpus with the same property checks.
#include "tests/config/ParseProperties.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

TEST(ConfigCorpusTest, EverySeedKeepsTheParserProperties)
{
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KESTRANO_CONFIG_CORPUS)) {
        const std::string bytes = kestrano::test::readFile(entry.path().string());
        EXPECT_EQ(kestrano::test::CheckParseProperties(
                      reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
            "")
            << entry.path();
        ++seeds;
    }
    EXPECT_GE(seeds, 5);
}
