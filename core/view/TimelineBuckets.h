// The counts behind a timeline: the messages of a list in buckets of time, per severity. The bucket
// size is the smallest step of a fixed ladder (a second to a month) for which the messages' span fits
// the buckets there is room for. Counts change one message at a time as rows come and go; a message
// that falls outside what the step can hold asks for a recount, which also picks the step anew.
#pragma once

#include "core/text/Severity.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace kestrano {

class Message;

class TimelineBuckets {
public:
    // Unknown and the named severities; a severity's kind is severity + 1.
    static constexpr int32_t Kinds = Severity::ListCount + 1;
    using Counts = std::array<int32_t, Kinds>;
    // The bucket sizes in seconds, smallest first.
    static constexpr int64_t Ladder[] = {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600, 7200, 10800,
        21600, 43200, 86400, 172800, 604800, 1209600, 2592000};
    static constexpr int32_t NoBucket = -1;
    static constexpr int32_t Recount = -2;

    // How many buckets fit; at least one. A change takes effect at the next recount.
    void setRoom(int32_t buckets)
    {
        room = buckets < 1 ? 1 : buckets;
        reach = std::max<int64_t>(reach, room);
    }
    int32_t getRoom() const { return room; }

    // Counts the messages afresh: rows messages, row i given by messageAt(i); the step is chosen anew.
    void recount(int32_t rows, const std::function<const Message*(int32_t)>& messageAt);
    void clear();
    // Whether the room now calls for another step: the buckets no longer fit, or a smaller step would.
    bool wantsOtherStep() const;
    // The bucket the message was counted in; NoBucket for a message without a time, Recount when it
    // lies where the buckets cannot reach without a larger step (nothing was counted).
    int32_t add(const Message& message);
    // The bucket the message is no longer counted in, or NoBucket.
    int32_t remove(const Message& message);
    // Drops the empty buckets at the start (after rows were removed); true when any went.
    bool dropEmptyStart();

    int32_t getBucketCount() const { return static_cast<int32_t>(buckets.size()); }
    const Counts& getCounts(int32_t bucket) const { return buckets[static_cast<size_t>(bucket)]; }
    int32_t getTotal(int32_t bucket) const;
    int32_t getLargestTotal() const;
    int64_t getStepMicroseconds() const { return step * MicrosPerSecond; }
    // The start of a bucket, in microseconds since the epoch.
    int64_t bucketStart(int32_t bucket) const { return (first + bucket) * step * MicrosPerSecond; }
    // The bucket holding the moment, which may lie outside 0 to getBucketCount() - 1.
    int32_t bucketAt(int64_t microseconds) const;

private:
    static constexpr int64_t MicrosPerSecond = 1000000;
    static int32_t kindOf(int32_t severity);
    int64_t absoluteBucket(int64_t microseconds) const;

    int32_t room = 1;
    int64_t reach = 1; // the most buckets before a recount: the room, or more at the largest step
    int64_t step = Ladder[0]; // seconds
    int64_t first = 0; // the absolute number (moment / step) of buckets[0]
    std::vector<Counts> buckets;
};

} // namespace kestrano
