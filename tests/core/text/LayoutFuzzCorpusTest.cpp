// Replays the layout reader's fuzz seed corpus as an ordinary test.
#include "tests/support/FuzzCorpus.h"

namespace kestrano::test {
namespace {

TEST(LayoutFuzzCorpusTest, EverySeedAgreesWithTheModel)
{
    EXPECT_GE(replayFuzzCorpus(KESTRANO_LAYOUT_CORPUS), 5);
}

} // namespace
} // namespace kestrano::test
