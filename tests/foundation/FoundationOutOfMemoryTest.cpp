#include "foundation/HashMap.h"
#include "foundation/String.h"
#include "tests/foundation/Counted.h"
#include "tests/support/FailingAllocations.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using haspel::EOutOfMemory;
using haspel::PointeredList;
using haspel::PointeredListItem;
using haspel::String;
using haspel::StringKeyHashMap;
using kestrano::test::Counted;
using kestrano::test::CountingTest;
using kestrano::test::failEachAllocation;
using kestrano::test::FailingAllocation;

namespace {

using FoundationOutOfMemoryTest = CountingTest;

class Item : public haspel::RawAllocated {
public:
    Item() { ++made; }
    static inline int made = 0;
};

std::string Key(int i)
{
    return "key" + std::to_string(i);
}

// Every key with its value's id, in the map's order.
std::vector<std::string> Entries(const StringKeyHashMap<Counted>& map)
{
    std::vector<std::string> entries;
    const std::unique_ptr<PointeredList> keys(map.GetKeys());
    const std::unique_ptr<PointeredList> values(map.GetValues());
    const PointeredListItem* value = values->GetHead();
    for (const PointeredListItem* key = keys->GetHead(); key; key = key->GetNext(), value = value->GetNext())
        entries.push_back(std::string(static_cast<const char*>(key->GetPointer())) + "="
            + std::to_string(static_cast<Counted*>(value->GetPointer())->id));
    return entries;
}

} // namespace

TEST_F(FoundationOutOfMemoryTest, TheArmedAllocationFailsAndOnlyThatOne)
{
    void* block = haspel::AllocateOrThrow(8);
    std::memcpy(block, "1234567", 8);
    {
        const FailingAllocation failing(3);
        void* first = haspel::AllocateOrThrow(16);
        block = haspel::ReallocateOrThrow(block, 32);
        EXPECT_FALSE(failing.reached());
        EXPECT_THROW(block = haspel::ReallocateOrThrow(block, 1 << 20), EOutOfMemory);
        EXPECT_TRUE(failing.reached());
        EXPECT_STREQ(static_cast<char*>(block), "1234567"); // the block stays the caller's
        void* after = haspel::AllocateOrThrow(16);
        std::free(after);
        std::free(first);
    }
    std::free(block);

    // Objects made with new fail the same way, before anything is constructed.
    Item::made = 0;
    {
        const FailingAllocation failing(1);
        EXPECT_THROW(delete new Item, EOutOfMemory);
    }
    EXPECT_EQ(Item::made, 0);
    delete new Item;
    EXPECT_EQ(Item::made, 1);

    haspel::FailNthAllocation(1);
    haspel::FailNthAllocation(0); // disarmed
    EXPECT_FALSE(haspel::AllocationFailurePending());
    std::free(haspel::AllocateOrThrow(1));
}

// A failed Put leaves the map as it was, whether the map was to grow (rebucketing included) or to
// shrink while a value is replaced; the value stays the caller's, and the map goes on working.
TEST_F(FoundationOutOfMemoryTest, FailedPutLeavesTheMapAsItWas)
{
    std::unique_ptr<StringKeyHashMap<Counted>> map;
    std::vector<std::string> before;
    std::unique_ptr<Counted> value;
    int32_t bucketsBefore = 0;
    // As the program's callers do: the value is theirs until Put returns.
    auto put = [&](int key) {
        map->Put(Key(key).c_str(), value.get());
        value.release();
    };
    // The state before the Put, and the value it is to take.
    auto remember = [&](int id) {
        before = Entries(*map);
        bucketsBefore = map->GetBucketCount();
        value = std::make_unique<Counted>(id);
    };
    auto checkUnchanged = [&] {
        EXPECT_EQ(map->GetBucketCount(), bucketsBefore);
        EXPECT_EQ(Entries(*map), before);
        for (int i = 0; i < map->GetSize(); ++i)
            EXPECT_NE(map->Get(Key(i).c_str()), value.get());
    };

    // The 17th entry of 16 buckets: new lists, the key copy, two items, then a rebucket to 34.
    auto growing = [&] {
        map = std::make_unique<StringKeyHashMap<Counted>>();
        for (int i = 0; i < 16; ++i)
            map->Put(Key(i).c_str(), new Counted(i));
        remember(16);
    };
    const int64_t grown = failEachAllocation(
        growing, [&] { put(16); },
        [&] {
            checkUnchanged();
            EXPECT_EQ(map->Get(Key(16).c_str()), nullptr);
            map->Put(Key(16).c_str(), value.release());
            EXPECT_EQ(map->GetBucketCount(), 34);
            for (int i = 0; i < 17; ++i)
                ASSERT_EQ(map->Get(Key(i).c_str())->id, i);
        });
    EXPECT_GE(grown, 4);
    EXPECT_EQ(map->GetBucketCount(), 34);

    // Replacing a value of 8 entries in 34 buckets shrinks the map to 16.
    auto shrinking = [&] {
        growing();
        map->Put(Key(16).c_str(), value.release());
        for (int i = 8; i < 17; ++i)
            map->Remove(Key(i).c_str());
        remember(100);
    };
    const int64_t shrunk = failEachAllocation(
        shrinking, [&] { put(3); },
        [&] {
            checkUnchanged();
            EXPECT_EQ(map->Get(Key(3).c_str())->id, 3);
        });
    EXPECT_GE(shrunk, 2);
    EXPECT_EQ(map->GetBucketCount(), 16);
    EXPECT_EQ(map->Get(Key(3).c_str())->id, 100);
}

// A failed Format or Append leaves the text, its buffer and a sharer as they were.
TEST_F(FoundationOutOfMemoryTest, FailedFormatOrAppendKeepsTheString)
{
    std::unique_ptr<String> text;
    std::unique_ptr<String> sharer;
    const char* buffer = nullptr;
    int32_t capacity = 0;
    auto prepare = [&] {
        text = std::make_unique<String>("the old text");
        sharer.reset();
        buffer = text->GetText();
        capacity = text->GetCapacity();
    };
    auto prepareShared = [&] {
        prepare();
        sharer = std::make_unique<String>(*text);
    };
    auto unchanged = [&] {
        EXPECT_STREQ(text->GetText(), "the old text");
        EXPECT_EQ(text->Length(), 12);
        EXPECT_EQ(text->GetText(), buffer);
        EXPECT_EQ(text->GetCapacity(), capacity);
        if (sharer) {
            EXPECT_TRUE(sharer->SharesBufferWith(*text));
            text->Append("!");
            EXPECT_STREQ(sharer->GetText(), "the old text");
        }
    };
    // The arguments read the string's own text.
    auto format = [&] { text->Format("%s, %d times: %s", text->GetText(), 3, text->GetText()); };
    auto append = [&] { text->Append(" and more than its capacity holds"); };

    EXPECT_EQ(failEachAllocation(prepare, format, unchanged), 1);
    EXPECT_STREQ(text->GetText(), "the old text, 3 times: the old text");
    EXPECT_EQ(failEachAllocation(prepareShared, format, unchanged), 1);
    EXPECT_STREQ(sharer->GetText(), "the old text");
    EXPECT_EQ(failEachAllocation(prepare, append, unchanged), 1);
    EXPECT_EQ(failEachAllocation(prepareShared, append, unchanged), 1);
    EXPECT_STREQ(text->GetText(), "the old text and more than its capacity holds");
}
