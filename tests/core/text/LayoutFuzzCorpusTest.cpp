// Replays the layout reader's fuzz seed corpus as an ordinary test.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace kestrano::test {
namespace {

TEST(LayoutFuzzCorpusTest, EverySeedAgreesWithTheModel)
{
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KESTRANO_LAYOUT_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
        ++seeds;
    }
    EXPECT_GE(seeds, 5);
}

} // namespace
} // namespace kestrano::test
