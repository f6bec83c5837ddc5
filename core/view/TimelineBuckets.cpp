#include "core/view/TimelineBuckets.h"

#include "core/text/LogTime.h"
#include "core/text/Message.h"

#include <algorithm>
#include <climits>

namespace kestrano {

namespace {

int64_t floorDivide(int64_t a, int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

} // namespace

int32_t TimelineBuckets::kindOf(int32_t severity)
{
    return Severity::isNamed(severity) ? severity + 1 : 0;
}

int64_t TimelineBuckets::absoluteBucket(int64_t microseconds) const
{
    return floorDivide(microseconds, step * MicrosPerSecond);
}

int32_t TimelineBuckets::bucketAt(int64_t microseconds) const
{
    const int64_t bucket = absoluteBucket(microseconds) - first;
    return static_cast<int32_t>(std::clamp<int64_t>(bucket, INT32_MIN / 2, INT32_MAX / 2));
}

void TimelineBuckets::clear()
{
    buckets.clear();
    first = 0;
    reach = room;
}

void TimelineBuckets::recount(int32_t rows, const std::function<const Message*(int32_t)>& messageAt)
{
    clear();
    int64_t earliest = INT64_MAX, latest = INT64_MIN;
    for (int32_t row = 0; row < rows; ++row) {
        const Message* message = messageAt(row);
        if (!message || message->getTime() == LogTime::None)
            continue;
        const int64_t at = LogTime::microseconds(message->getTime());
        earliest = std::min(earliest, at);
        latest = std::max(latest, at);
    }
    if (earliest > latest)
        return;
    step = Ladder[std::size(Ladder) - 1];
    for (const int64_t each : Ladder) {
        const int64_t span
            = floorDivide(latest, each * MicrosPerSecond) - floorDivide(earliest, each * MicrosPerSecond);
        if (span < room) {
            step = each;
            break;
        }
    }
    first = absoluteBucket(earliest);
    buckets.assign(static_cast<size_t>(absoluteBucket(latest) - first + 1), Counts {});
    // The largest step may need more buckets than there is room for.
    reach = std::max<int64_t>(room, static_cast<int64_t>(buckets.size()));
    for (int32_t row = 0; row < rows; ++row) {
        const Message* message = messageAt(row);
        if (message && message->getTime() != LogTime::None)
            add(*message);
    }
}

bool TimelineBuckets::wantsOtherStep() const
{
    const auto count = static_cast<int64_t>(buckets.size());
    if (count > room)
        return step != Ladder[std::size(Ladder) - 1];
    const auto* smaller = std::find(std::begin(Ladder), std::end(Ladder), step);
    if (smaller == std::begin(Ladder) || smaller == std::end(Ladder))
        return false;
    --smaller;
    // The span in buckets of the smaller step, at most.
    return count * step / *smaller + 1 < room;
}

int32_t TimelineBuckets::add(const Message& message)
{
    if (message.getTime() == LogTime::None)
        return NoBucket;
    const int64_t at = absoluteBucket(LogTime::microseconds(message.getTime()));
    if (!buckets.empty() && at - first >= static_cast<int64_t>(buckets.size()) && at - first >= reach)
        dropEmptyStart();
    if (buckets.empty()) {
        first = at;
        buckets.resize(1);
    } else if (at < first) {
        // Earlier than any: the buckets grow at the start, within their reach.
        if (first + static_cast<int64_t>(buckets.size()) - 1 - at >= reach)
            return Recount;
        buckets.insert(buckets.begin(), static_cast<size_t>(first - at), Counts {});
        first = at;
    } else if (at - first >= static_cast<int64_t>(buckets.size())) {
        if (at - first >= reach)
            return Recount;
        buckets.resize(static_cast<size_t>(at - first + 1));
    }
    const auto bucket = static_cast<int32_t>(at - first);
    ++buckets[static_cast<size_t>(bucket)][static_cast<size_t>(kindOf(message.getSeverity()))];
    return bucket;
}

int32_t TimelineBuckets::remove(const Message& message)
{
    if (message.getTime() == LogTime::None)
        return NoBucket;
    const int64_t bucket = absoluteBucket(LogTime::microseconds(message.getTime())) - first;
    if (bucket < 0 || bucket >= static_cast<int64_t>(buckets.size()))
        return NoBucket;
    int32_t& count = buckets[static_cast<size_t>(bucket)][static_cast<size_t>(kindOf(message.getSeverity()))];
    if (count == 0)
        return NoBucket;
    --count;
    return static_cast<int32_t>(bucket);
}

bool TimelineBuckets::dropEmptyStart()
{
    size_t empty = 0;
    while (empty < buckets.size() && getTotal(static_cast<int32_t>(empty)) == 0)
        ++empty;
    if (empty == 0)
        return false;
    buckets.erase(buckets.begin(), buckets.begin() + static_cast<std::ptrdiff_t>(empty));
    first += static_cast<int64_t>(empty);
    return true;
}

int32_t TimelineBuckets::getTotal(int32_t bucket) const
{
    int32_t total = 0;
    for (const int32_t count : buckets[static_cast<size_t>(bucket)])
        total += count;
    return total;
}

int32_t TimelineBuckets::getLargestTotal() const
{
    int32_t largest = 0;
    for (int32_t bucket = 0; bucket < getBucketCount(); ++bucket)
        largest = std::max(largest, getTotal(bucket));
    return largest;
}

} // namespace kestrano
