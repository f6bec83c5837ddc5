// Replays the layout reader's fuzz seed corpus as an ordinary test.
#include "tests/support/CorpusReplay.h"

namespace kestrano::test {
namespace {

TEST(LayoutFuzzCorpusTest, EverySeedAgreesWithTheModel)
{
    EXPECT_GE(replayCorpus(KESTRANO_LAYOUT_CORPUS), 5);
}

} // namespace
} // namespace kestrano::test
