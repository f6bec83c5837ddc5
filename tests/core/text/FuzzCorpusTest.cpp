// Replays the line cutter's fuzz seed corpus as an ordinary test.
#include "tests/support/FuzzCorpus.h"

namespace kestrano::test {
namespace {

TEST(LineCutterFuzzCorpusTest, EverySeedAgreesWithTheModel)
{
    EXPECT_GE(replayFuzzCorpus(KESTRANO_FUZZ_CORPUS), 5);
}

} // namespace
} // namespace kestrano::test
