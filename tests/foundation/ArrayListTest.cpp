#include "foundation/ArrayList.h"
#include "tests/foundation/Counted.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using haspel::ArrayList;
using kestrano::test::Counted;
using kestrano::test::CountingTest;

namespace {

class ArrayListTest : public CountingTest {
protected:
    static void Fill(ArrayList<Counted>& list, int n)
    {
        for (int i = 0; i < n; ++i)
            list.Add(new Counted(list.GetCount()));
    }
    static void DropTo(ArrayList<Counted>& list, int n)
    {
        while (list.GetCount() > n)
            delete list.RemoveLast();
    }
};

} // namespace

TEST_F(ArrayListTest, GrowsWhenTheNewCountReachesTheCapacity)
{
    ArrayList<Counted> list;
    EXPECT_EQ(list.GetCapacity(), 16);
    std::vector<int32_t> capacities {list.GetCapacity()};
    for (int i = 0; i < 100; ++i) {
        list.Add(new Counted(i));
        if (list.GetCapacity() != capacities.back())
            capacities.push_back(list.GetCapacity());
        if (i == 14) {
            EXPECT_EQ(list.GetCapacity(), 16); // 15 elements
        }
        if (i == 15) {
            EXPECT_EQ(list.GetCapacity(), 26); // the 16th element
        }
    }
    EXPECT_EQ(capacities, (std::vector<int32_t> {16, 26, 43, 71, 118}));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(list.Get(i)->id, i);
}

TEST_F(ArrayListTest, ShrinksLazily)
{
    ArrayList<Counted> list;
    Fill(list, 43);
    ASSERT_EQ(list.GetCapacity(), 71);
    list.Clear(); // 60 % full: the storage stays
    EXPECT_EQ(list.GetCapacity(), 71);
    EXPECT_EQ(Counted::destroyed.size(), 43u);
    list.Add(new Counted(0)); // under 30 % full: back to the minimum
    EXPECT_EQ(list.GetCapacity(), 16);

    Fill(list, 42);
    DropTo(list, 21); // 22 of 71 is still 30 %
    EXPECT_EQ(list.GetCapacity(), 71);
    delete list.RemoveLast(); // 21 of 71 is under 30 %: 20 * 100 / 60
    EXPECT_EQ(list.GetCapacity(), 33);
    EXPECT_EQ(list.GetLast()->id, 19);
}

TEST_F(ArrayListTest, ClearOfASparseListShrinksBelowItsCount)
{
    ArrayList<Counted> list;
    Fill(list, 43);
    DropTo(list, 21);
    Counted::destroyed.clear();
    list.Clear(); // 21 of 71 is under 30 %: the minimum of 16 slots, fewer than the 21 elements
    EXPECT_EQ(list.GetCapacity(), 16);
    EXPECT_EQ(list.GetCount(), 0);
    std::sort(Counted::destroyed.begin(), Counted::destroyed.end());
    std::vector<int> expected(21);
    for (int i = 0; i < 21; ++i)
        expected[i] = i;
    EXPECT_EQ(Counted::destroyed, expected);
}

TEST_F(ArrayListTest, AccessOutsideTheElementsGivesNothing)
{
    ArrayList<Counted> list;
    EXPECT_EQ(list.GetFirst(), nullptr);
    EXPECT_EQ(list.GetLast(), nullptr);
    EXPECT_EQ(list.RemoveLast(), nullptr);
    Fill(list, 3);
    list.Add(nullptr);
    EXPECT_EQ(list.Get(-1), nullptr);
    EXPECT_EQ(list.Get(4), nullptr);
    EXPECT_EQ(list.GetFirst()->id, 0);
    EXPECT_EQ(list.Get(2)->id, 2);
    EXPECT_EQ(list.GetLast(), nullptr);
    EXPECT_EQ(list.GetCount(), 4);
} // the destructor destroys the three elements and skips the null one

TEST_F(ArrayListTest, ConstructionArgumentsAreNormalised)
{
    ArrayList<Counted> small(4, 30, 60);
    EXPECT_EQ(small.GetCapacity(), 8);
    Fill(small, 8);
    EXPECT_EQ(small.GetCapacity(), 13); // 8 * 100 / 60

    // A shrink percent not below the grow percent falls back to 30 and 60.
    ArrayList<Counted> swapped(16, 70, 50);
    Fill(swapped, 16);
    EXPECT_EQ(swapped.GetCapacity(), 26);
    ArrayList<Counted> full(16, 30, 100);
    Fill(full, 16);
    EXPECT_EQ(full.GetCapacity(), 26);
}
