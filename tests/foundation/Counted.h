// A list item that records its destruction, to show each element is destroyed exactly once.
#pragma once

#include "foundation/ContainingList.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrano::test {

class Counted : public haspel::ContainingListItem<Counted> {
public:
    explicit Counted(int id)
        : id(id)
    {
        ++alive;
    }
    ~Counted()
    {
        --alive;
        destroyed.push_back(id);
    }

    static void Reset()
    {
        alive = 0;
        destroyed.clear();
    }

    const int id;
    static inline int alive = 0;
    static inline std::vector<int> destroyed;
};

// Fixture for tests with Counted elements: every one created must be destroyed by the end.
class CountingTest : public testing::Test {
protected:
    void SetUp() override { Counted::Reset(); }
    void TearDown() override { EXPECT_EQ(Counted::alive, 0); }
};

} // namespace kestrano::test
