#include "foundation/HashMap.h"
#include "tests/foundation/Counted.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using haspel::HashMap;
using haspel::HashText;
using haspel::PointeredList;
using haspel::PointeredListItem;
using haspel::StringKeyHashMap;
using kestrano::test::Counted;
using kestrano::test::CountingTest;

namespace {

using HashMapTest = CountingTest;

std::vector<std::string> Texts(PointeredList* list)
{
    std::vector<std::string> texts;
    for (PointeredListItem* item = list->GetHead(); item; item = item->GetNext())
        texts.emplace_back(static_cast<const char*>(item->GetPointer()));
    delete list;
    return texts;
}

std::vector<int> Ids(PointeredList* list)
{
    std::vector<int> ids;
    for (PointeredListItem* item = list->GetHead(); item; item = item->GetNext())
        ids.push_back(static_cast<Counted*>(item->GetPointer())->id);
    delete list;
    return ids;
}

std::string Key(int i)
{
    return "key" + std::to_string(i);
}

} // namespace

TEST_F(HashMapTest, SimilarKeysSpreadOverTheBuckets)
{
    EXPECT_EQ(HashText("abc"), HashText(std::string("abc").c_str()));
    EXPECT_NE(HashText("abc"), HashText("acb"));
    EXPECT_NE(HashText("\xE9"), HashText("\xE8"));
    EXPECT_EQ(HashText(nullptr), 0u);

    // Names a large configuration has: same length, same bytes in another order. The longest bucket
    // stays short, so a lookup costs the same however many keys there are.
    StringKeyHashMap<Counted> map;
    constexpr int Keys = 20000;
    for (int i = 0; i < Keys; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Param%06d", i);
        map.Put(name, new Counted(i));
    }
    std::vector<int> perBucket(static_cast<size_t>(map.GetBucketCount()), 0);
    for (int i = 0; i < Keys; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Param%06d", i);
        ++perBucket[static_cast<size_t>(map.GetBucketOf(name))];
    }
    EXPECT_LE(*std::max_element(perBucket.begin(), perBucket.end()), 12);
}

TEST_F(HashMapTest, BucketCountFollowsTheFill)
{
    StringKeyHashMap<Counted> map;
    for (int i = 0; i < 16; ++i)
        map.Put(Key(i).c_str(), new Counted(i));
    EXPECT_EQ(map.GetBucketCount(), 16);
    map.Put(Key(16).c_str(), new Counted(16));
    EXPECT_EQ(map.GetBucketCount(), 34);
    for (int i = 0; i < 17; ++i)
        ASSERT_EQ(map.Get(Key(i).c_str())->id, i);

    for (int i = 0; i < 10; ++i)
        map.Remove(Key(i).c_str());
    EXPECT_EQ(map.GetBucketCount(), 34); // removing never rebuckets
    map.Put(Key(0).c_str(), new Counted(0)); // 8 entries fill 23 % of 34 buckets
    EXPECT_EQ(map.GetBucketCount(), 16);

    for (int i = 17; i < 50; ++i)
        map.Put(Key(i).c_str(), new Counted(i));
    EXPECT_EQ(map.GetBucketCount(), 70);
    EXPECT_EQ(map.GetSize(), 41);
    map.Clear();
    EXPECT_EQ(map.GetBucketCount(), 16);
    EXPECT_EQ(map.GetSize(), 0);
    EXPECT_EQ(Counted::alive, 0);
}

TEST_F(HashMapTest, PutOverAnExistingKeyReplacesTheValueOnly)
{
    StringKeyHashMap<Counted> map;
    map.Put("key", new Counted(1));
    PointeredList* keys = map.GetKeys();
    const void* firstCopy = keys->GetHead()->GetPointer();
    delete keys;

    auto* second = new Counted(2);
    map.Put("key", second);
    EXPECT_EQ(Counted::destroyed, std::vector<int> {1});
    map.Put("key", second); // the same value again stays alive
    EXPECT_EQ(Counted::destroyed, std::vector<int> {1});
    EXPECT_EQ(map.GetSize(), 1);
    EXPECT_EQ(map.Get("key"), second);
    keys = map.GetKeys();
    EXPECT_EQ(keys->GetHead()->GetPointer(), firstCopy);
    delete keys;

    map.Put("Key", new Counted(3)); // keys are case-sensitive
    EXPECT_EQ(map.GetSize(), 2);
    EXPECT_EQ(map.Get("key")->id, 2);
    EXPECT_EQ(map.Get("Key")->id, 3);
    EXPECT_EQ(map.Get("KEY"), nullptr);
}

TEST_F(HashMapTest, DetachRemoveAndClearDetached)
{
    StringKeyHashMap<Counted> map;
    map.Put("a", new Counted(1));
    map.Put("b", new Counted(2));
    map.Put("c", new Counted(3));

    EXPECT_EQ(map.Detach("missing"), nullptr);
    map.Remove("missing");
    Counted* detached = map.Detach("a");
    EXPECT_EQ(detached->id, 1);
    EXPECT_TRUE(Counted::destroyed.empty());
    EXPECT_EQ(map.Get("a"), nullptr);
    delete detached;

    map.Remove("b");
    EXPECT_EQ(Counted::destroyed, (std::vector<int> {1, 2}));
    EXPECT_EQ(map.GetSize(), 1);

    Counted* kept = map.Get("c");
    map.ClearDetached();
    EXPECT_EQ(map.GetSize(), 0);
    EXPECT_EQ(map.Get("c"), nullptr);
    EXPECT_EQ(Counted::alive, 1);
    delete kept;
}

TEST_F(HashMapTest, EntriesComeInBucketOrderThenInsertionOrder)
{
    StringKeyHashMap<Counted> map;
    // Two keys that share one of the 16 buckets, put in reverse order between two others.
    std::string first, second;
    for (int i = 0; first.empty(); ++i) {
        for (int j = 0; j < i && first.empty(); ++j) {
            if (map.GetBucketOf(Key(i).c_str()) == map.GetBucketOf(Key(j).c_str())) {
                first = Key(i);
                second = Key(j);
            }
        }
    }
    const std::vector<std::string> put = {"a", first, second, "b"};
    for (size_t i = 0; i < put.size(); ++i)
        map.Put(put[i].c_str(), new Counted(static_cast<int>(i)));
    std::vector<int> expected = {0, 1, 2, 3};
    std::stable_sort(expected.begin(), expected.end(),
        [&](int x, int y) { return map.GetBucketOf(put[x].c_str()) < map.GetBucketOf(put[y].c_str()); });
    std::vector<std::string> expectedKeys;
    for (int i : expected)
        expectedKeys.push_back(put[i]);
    EXPECT_EQ(Texts(map.GetKeys()), expectedKeys);
    EXPECT_EQ(Ids(map.GetValues()), expected);
    map.Clear();

    for (int i = 0; i < 50; ++i)
        map.Put(Key(i).c_str(), new Counted(100 + i));
    const std::vector<std::string> keys = Texts(map.GetKeys());
    const std::vector<int> values = Ids(map.GetValues());
    ASSERT_EQ(keys.size(), 50u);
    ASSERT_EQ(values.size(), 50u);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(map.Get(keys[i].c_str())->id, values[i]);
        if (i > 0) {
            EXPECT_LE(map.GetBucketOf(keys[i - 1].c_str()), map.GetBucketOf(keys[i].c_str()));
        }
    }
}

TEST_F(HashMapTest, EmptyMapGivesEmptyLists)
{
    StringKeyHashMap<Counted> map;
    PointeredList* values = map.GetValues();
    EXPECT_EQ(values->GetCount(), 0);
    delete values;
    EXPECT_EQ(Texts(map.GetKeys()), std::vector<std::string> {});
}

TEST_F(HashMapTest, AddressKeys)
{
    int first = 0;
    int second = 0;
    HashMap<Counted> map;
    map.Put(&first, new Counted(1));
    map.Put(&second, new Counted(2));
    map.Put(&first, new Counted(3));
    EXPECT_EQ(map.GetSize(), 2);
    EXPECT_EQ(map.Get(&first)->id, 3);
    EXPECT_EQ(map.Get(&second)->id, 2);
    int third = 0;
    EXPECT_EQ(map.Get(&third), nullptr);
    const auto address = reinterpret_cast<uintptr_t>(&first);
    EXPECT_EQ(
        map.GetBucketOf(&first), static_cast<int32_t>(static_cast<uint32_t>(address >> 3) * 1009u % 16u));
}

TEST_F(HashMapTest, NormalisesConstructionArguments)
{
    StringKeyHashMap<Counted> map(0, 9);
    EXPECT_EQ(map.GetBucketCount(), 16);
    for (int i = 0; i < 17; ++i)
        map.Put(Key(i).c_str(), new Counted(i));
    EXPECT_EQ(map.GetBucketCount(), 34); // load 50
}
