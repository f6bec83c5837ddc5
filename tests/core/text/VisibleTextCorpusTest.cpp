// Replays the visible text's fuzz seed corpus as an ordinary test (in view_tests: core_tests holds
// the line cutter's target).
#include "tests/support/FuzzCorpus.h"

namespace kestrano::test {
namespace {

TEST(VisibleTextFuzzCorpusTest, EverySeedComesOutSafe)
{
    EXPECT_GE(replayFuzzCorpus(KESTRANO_VISIBLE_TEXT_CORPUS), 5);
}

} // namespace
} // namespace kestrano::test
