// Runs an operation once for every allocation it makes, that allocation failing, to show what the
// operation leaves behind on EOutOfMemory. Only the foundation allocator fails (AllocateOrThrow,
// ReallocateOrThrow and so RawAllocated's new); std containers allocate past it.
#pragma once

#include "foundation/Exception.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kestrano::test {

// Arms the failure of the n-th allocation from now for the lifetime of the object.
class FailingAllocation {
public:
    explicit FailingAllocation(int64_t n) { haspel::FailNthAllocation(n); }
    ~FailingAllocation() { haspel::FailNthAllocation(0); }
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;

    bool reached() const { return !haspel::AllocationFailurePending(); }
};

// For n = 1, 2, ...: prepare() makes a fresh state, attempt() runs with its n-th allocation failing,
// and, when it threw EOutOfMemory, afterFailure() checks the state it left (nothing fails there).
// Ends when attempt() runs through without reaching the failure and returns the allocations it made.
template <class Prepare, class Attempt, class AfterFailure>
int64_t failEachAllocation(Prepare prepare, Attempt attempt, AfterFailure afterFailure)
{
    constexpr int64_t Limit = 100000;
    for (int64_t n = 1; n <= Limit; ++n) {
        SCOPED_TRACE(testing::Message() << "allocation " << n << " fails");
        prepare();
        bool threw = false;
        bool reached = false;
        {
            const FailingAllocation failing(n);
            try {
                attempt();
            } catch (const haspel::EOutOfMemory&) {
                threw = true;
            }
            reached = failing.reached();
        }
        if (!threw) {
            EXPECT_FALSE(reached) << "the failed allocation was not reported";
            return n - 1;
        }
        const testing::TestResult& result = *testing::UnitTest::GetInstance()->current_test_info()->result();
        const int failures = result.total_part_count();
        EXPECT_TRUE(reached);
        afterFailure();
        if (result.total_part_count() > failures) // one failing n tells all
            return n;
    }
    ADD_FAILURE() << "still allocating after " << Limit << " allocations";
    return Limit;
}

} // namespace kestrano::test
