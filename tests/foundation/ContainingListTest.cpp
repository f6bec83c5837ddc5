#include "foundation/ContainingList.h"
#include "tests/foundation/Counted.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using haspel::ContainingList;
using haspel::PointeredList;
using haspel::PointeredListItem;
using kestrano::test::Counted;
using kestrano::test::CountingTest;

namespace {

using ContainingListTest = CountingTest;

// The ids head to tail, checked against the walk from the tail back.
std::vector<int> Ids(const ContainingList<Counted>& list)
{
    std::vector<int> forward;
    for (Counted* item = list.GetHead(); item; item = item->GetNext())
        forward.push_back(item->id);
    std::vector<int> backward;
    for (Counted* item = list.GetTail(); item; item = item->GetPrevious())
        backward.insert(backward.begin(), item->id);
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(static_cast<int32_t>(forward.size()), list.GetCount());
    return forward;
}

void Fill(ContainingList<Counted>& list, std::initializer_list<int> ids)
{
    for (int id : ids)
        list.Append(new Counted(id));
}

} // namespace

TEST_F(ContainingListTest, DestroysItsItemsFromTheTail)
{
    auto* list = new ContainingList<Counted>;
    Fill(*list, {1, 2, 3});
    delete list;
    EXPECT_EQ(Counted::destroyed, (std::vector<int> {3, 2, 1}));

    ContainingList<Counted> cleared;
    Fill(cleared, {4, 5});
    cleared.Clear();
    EXPECT_EQ(Counted::destroyed, (std::vector<int> {3, 2, 1, 5, 4}));
    EXPECT_EQ(Ids(cleared), std::vector<int> {});
    Fill(cleared, {6});
    EXPECT_EQ(Ids(cleared), std::vector<int> {6});
}

TEST_F(ContainingListTest, RemovingDetachesWithoutDestroying)
{
    ContainingList<Counted> list;
    EXPECT_EQ(list.RemoveLast(), nullptr);
    EXPECT_EQ(list.RemoveFirst(), nullptr);
    Fill(list, {0, 1, 2, 3, 4});
    EXPECT_EQ(list.RemoveAt(-1), nullptr);
    EXPECT_EQ(list.RemoveAt(5), nullptr);

    std::vector<Counted*> removed {list.RemoveAt(2), list.RemoveFirst(), list.RemoveLast()};
    EXPECT_EQ(removed[0]->id, 2);
    EXPECT_EQ(removed[1]->id, 0);
    EXPECT_EQ(removed[2]->id, 4);
    EXPECT_EQ(removed[0]->GetNext(), nullptr);
    EXPECT_EQ(removed[0]->GetPrevious(), nullptr);
    EXPECT_TRUE(Counted::destroyed.empty());
    EXPECT_EQ(Ids(list), (std::vector<int> {1, 3}));
    removed.push_back(list.RemoveAt(1)); // the tail through RemoveAt
    EXPECT_EQ(removed.back()->id, 3);
    EXPECT_EQ(Ids(list), std::vector<int> {1});
    for (Counted* item : removed)
        delete item;
}

TEST_F(ContainingListTest, SortIsStableAndAscending)
{
    ContainingList<Counted> list;
    // Sorted by the tens digit; the units digit shows the original order.
    Fill(list, {30, 11, 20, 12, 31, 21, 13});
    list.Sort([](const Counted* a, const Counted* b) { return a->id / 10 - b->id / 10; });
    EXPECT_EQ(Ids(list), (std::vector<int> {11, 12, 13, 20, 21, 30, 31}));

    list.Sort([](const Counted*, const Counted*) { return 0; });
    EXPECT_EQ(Ids(list), (std::vector<int> {11, 12, 13, 20, 21, 30, 31}));

    list.Sort(); // by address
    for (Counted* item = list.GetHead(); item && item->GetNext(); item = item->GetNext())
        EXPECT_LT(item, item->GetNext());
    EXPECT_EQ(list.GetCount(), 7);

    ContainingList<Counted> empty;
    empty.Sort();
    EXPECT_EQ(Ids(empty), std::vector<int> {});
}

TEST_F(ContainingListTest, TextsSortIgnoringCaseOfLettersOnly)
{
    char texts[][8] = {"beta", "Alpha", "alpha", "_x", "Gamma", "ALPHA1", "\xC9t\xE9"};
    PointeredList list;
    for (char* text : texts)
        list.Append(new PointeredListItem(text));
    list.Sort(haspel::CompareTextsIgnoringCase);
    std::vector<std::string> sorted;
    for (PointeredListItem* item = list.GetHead(); item; item = item->GetNext())
        sorted.emplace_back(static_cast<const char*>(item->GetPointer()));
    EXPECT_EQ(
        sorted, (std::vector<std::string> {"_x", "Alpha", "alpha", "ALPHA1", "beta", "Gamma", "\xC9t\xE9"}));
} // the list destroys its items, never the texts they point to
