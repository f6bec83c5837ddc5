// The timeline's counts: the step chosen from the ladder by the span and the room, counting as rows come
// and go, and the recount asked for when a message lies beyond what the step can hold.
#include "core/view/TimelineBuckets.h"
#include "core/text/LogTime.h"
#include "core/text/Message.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kestrano::test {
namespace {

constexpr int64_t Second = 1000000;
constexpr int64_t Start = 1796821200 * Second; // a whole hour

class TimelineBucketsTest : public testing::Test {
protected:
    // A message of the severity, seconds after Start (none for no time).
    Message& message(int32_t severity, int64_t seconds, bool timed = true)
    {
        Message* made = Message::create("x", 1, severity);
        if (timed)
            made->setTime(LogTime::pack(Start + seconds * Second, 0));
        messages.emplace_back(made);
        return *made;
    }
    void recount()
    {
        buckets.recount(static_cast<int32_t>(messages.size()),
            [this](int32_t row) { return messages[static_cast<size_t>(row)].get(); });
    }
    int32_t count(int32_t bucket, int32_t severity) const
    {
        return buckets.getCounts(bucket)[static_cast<size_t>(severity + 1)];
    }

    std::vector<std::unique_ptr<Message>> messages;
    TimelineBuckets buckets;
};

TEST_F(TimelineBucketsTest, TheStepIsTheSmallestThatFitsTheSpanInTheRoom)
{
    buckets.setRoom(100);
    message(Severity::Information, 0);
    message(Severity::Error, 59);
    recount();
    EXPECT_EQ(buckets.getStepMicroseconds(), 1 * Second);
    EXPECT_EQ(buckets.getBucketCount(), 60);
    message(Severity::Warning, 250, false); // without a time: not counted
    message(Severity::Warning, 250);
    recount();
    EXPECT_EQ(buckets.getStepMicroseconds(), 5 * Second);
    EXPECT_EQ(buckets.getBucketCount(), 51);
    EXPECT_EQ(count(0, Severity::Information), 1);
    EXPECT_EQ(count(11, Severity::Error), 1);
    EXPECT_EQ(count(50, Severity::Warning), 1);
    EXPECT_EQ(buckets.getLargestTotal(), 1);
    EXPECT_EQ(buckets.bucketStart(11), Start + 55 * Second);
    // A week in 100 buckets: two hours each.
    message(Severity::Fatal, 7 * 86400);
    recount();
    EXPECT_EQ(buckets.getStepMicroseconds(), 7200 * Second);
    EXPECT_EQ(count(0, Severity::Information) + count(0, Severity::Error) + count(0, Severity::Warning), 3);
    EXPECT_EQ(buckets.getTotal(buckets.getBucketCount() - 1), 1);
    // Beyond the ladder: the largest step, with more buckets than there is room for.
    buckets.setRoom(2);
    message(Severity::Fatal, 400LL * 86400);
    recount();
    EXPECT_EQ(buckets.getStepMicroseconds(), 2592000 * Second);
    EXPECT_GT(buckets.getBucketCount(), 2);
}

TEST_F(TimelineBucketsTest, RowsAreCountedAndUncountedOneByOneUntilTheStepNoLongerFits)
{
    buckets.setRoom(10);
    EXPECT_EQ(buckets.add(message(Severity::Unknown, 0, false)), TimelineBuckets::NoBucket);
    EXPECT_EQ(buckets.add(message(Severity::Unknown, 3)), 0);
    EXPECT_EQ(buckets.add(message(Severity::Error, 5)), 2);
    EXPECT_EQ(buckets.add(message(Severity::Error, 5)), 2);
    // Earlier than any: the buckets grow at the start.
    Message& earliest = message(Severity::DebugInformation, 1);
    EXPECT_EQ(buckets.add(earliest), 0);
    EXPECT_EQ(count(2, Severity::Unknown), 1);
    EXPECT_EQ(count(4, Severity::Error), 2);
    EXPECT_EQ(buckets.getLargestTotal(), 2);
    EXPECT_EQ(buckets.add(message(Severity::Fatal, 10)), 9);
    // Ten seconds from the first bucket need an eleventh: a larger step.
    Message& late = message(Severity::Fatal, 11);
    EXPECT_EQ(buckets.add(late), TimelineBuckets::Recount);
    EXPECT_EQ(buckets.getTotal(9), 1);
    // The oldest row goes: its bucket empties and the buckets start at the next one, so the late one fits.
    EXPECT_EQ(buckets.remove(earliest), 0);
    EXPECT_EQ(buckets.remove(earliest), TimelineBuckets::NoBucket);
    EXPECT_TRUE(buckets.dropEmptyStart());
    EXPECT_FALSE(buckets.dropEmptyStart());
    EXPECT_EQ(buckets.bucketStart(0), Start + 3 * Second);
    EXPECT_EQ(buckets.add(late), 8);
    EXPECT_EQ(buckets.bucketAt(Start + 11 * Second + 999999), 8);
    EXPECT_EQ(buckets.bucketAt(Start), -3);
    EXPECT_EQ(buckets.remove(message(Severity::Fatal, 60)), TimelineBuckets::NoBucket);
}

TEST_F(TimelineBucketsTest, AChangedRoomAsksForAnotherStepOnlyWhenOneFitsBetter)
{
    buckets.setRoom(100);
    message(Severity::Information, 0);
    message(Severity::Information, 90);
    recount();
    EXPECT_EQ(buckets.getStepMicroseconds(), 1 * Second);
    EXPECT_FALSE(buckets.wantsOtherStep());
    buckets.setRoom(95);
    EXPECT_FALSE(buckets.wantsOtherStep());
    buckets.setRoom(50);
    EXPECT_TRUE(buckets.wantsOtherStep());
    recount();
    EXPECT_EQ(buckets.getStepMicroseconds(), 2 * Second);
    EXPECT_FALSE(buckets.wantsOtherStep());
    buckets.setRoom(400);
    EXPECT_TRUE(buckets.wantsOtherStep());
}

} // namespace
} // namespace kestrano::test
