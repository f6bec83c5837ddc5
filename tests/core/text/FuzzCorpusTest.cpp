// Replays the line cutter's fuzz seed corpus as an ordinary test.
#include "tests/support/CorpusReplay.h"

namespace kestrano::test {
namespace {

TEST(LineCutterFuzzCorpusTest, EverySeedAgreesWithTheModel)
{
    EXPECT_GE(replayCorpus(KESTRANO_FUZZ_CORPUS), 5);
}

} // namespace
} // namespace kestrano::test
