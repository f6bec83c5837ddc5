// haspel::HashMap: separate-chaining hash map with owned values and the library's rebucketing rules;
// StringKeyHashMap keys by zero-terminated text (case-sensitive), owning copies of the keys.
#pragma once

#include "foundation/ContainingList.h"
#include "foundation/Exception.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace haspel {

template <class T> class HashMap {
public:
    // minimumBucketCount <= 0 becomes 16; loadPercent <= 9 becomes 50.
    explicit HashMap(int32_t minimumBucketCount = 16, int32_t loadPercent = 50);
    // A virtual call here reaches no subclass override: a subclass that overrides the key or value
    // operations calls ClearEntries(true) in its own destructor.
    virtual ~HashMap();
    HashMap(const HashMap&) = delete;
    HashMap& operator=(const HashMap&) = delete;

    // Takes ownership of value; an equal key keeps its first copy. On EOutOfMemory the map stays as
    // it was and value the caller's.
    void Put(const void* key, T* value);
    T* Get(const void* key) const;
    T* Detach(const void* key); // caller owns the value; nullptr when absent
    void Remove(const void* key); // destroys the value
    void Clear();
    void ClearDetached(); // forgets the values without destroying them
    PointeredList* GetKeys() const; // new list, caller owns it; bucket order, head to tail
    PointeredList* GetValues() const;

    int32_t GetSize() const { return size; }
    int32_t GetBucketCount() const { return bucketCount; }
    int32_t GetBucketOf(const void* key) const; // HashKey(key) modulo the bucket count

protected:
    virtual void* CopyKey(const void* key) const { return const_cast<void*>(key); }
    virtual void FreeKey(void* key) const { (void)key; }
    virtual void DeleteValue(T* value) const { delete value; }
    virtual bool KeysEqual(const void* a, const void* b) const { return a == b; }
    virtual uint32_t HashKey(const void* key) const;

    // Clear without rebucketing (so without allocating), for destructors.
    void ClearEntries(bool deleteValues);

private:
    void AdjustBuckets();
    void Rebucket(int64_t newBucketCount);
    void Append(int32_t bucket, void* keyCopy, T* value); // a new entry at the bucket's tails
    T* Unlink(int32_t bucket, int32_t position); // takes an entry out, returning its value
    // The value item of the entry whose key equals key (nullptr when absent), with its bucket and
    // its position in the bucket's lists.
    PointeredListItem* Find(const void* key, int32_t& bucket, int32_t& position) const;
    void DropBucket(int32_t bucket); // destroys the bucket's two lists
    PointeredList* Snapshot(PointeredList* const* lists) const;
    static PointeredList** NewBucketArray(int64_t count);

    int32_t size = 0;
    int32_t loadPercent = 50;
    int32_t minimumBucketCount = 16;
    PointeredList** keyLists = nullptr;
    int32_t bucketCount = 0;
    PointeredList** valueLists = nullptr;
};

// The text hash of StringKeyHashMap: every byte counts, so a map of many similar keys keeps short
// buckets (lookups in constant time).
uint32_t HashText(const char* text);

template <class T> class StringKeyHashMap : public HashMap<T> {
public:
    explicit StringKeyHashMap(int32_t minimumBucketCount = 16, int32_t loadPercent = 50)
        : HashMap<T>(minimumBucketCount, loadPercent)
    { }
    ~StringKeyHashMap() override { HashMap<T>::ClearEntries(true); }

    void Put(const char* key, T* value) { HashMap<T>::Put(key, value); }
    T* Get(const char* key) const { return HashMap<T>::Get(key); }
    T* Detach(const char* key) { return HashMap<T>::Detach(key); }
    void Remove(const char* key) { HashMap<T>::Remove(key); }

protected:
    void* CopyKey(const void* key) const override;
    void FreeKey(void* key) const override;
    bool KeysEqual(const void* a, const void* b) const override;
    uint32_t HashKey(const void* key) const override { return HashText(static_cast<const char*>(key)); }
};

} // namespace haspel

namespace haspel {

template <class T>
HashMap<T>::HashMap(int32_t minimumBucketCount, int32_t loadPercent)
    : loadPercent(loadPercent <= 9 ? 50 : loadPercent)
    , minimumBucketCount(minimumBucketCount <= 0 ? 16 : minimumBucketCount)
{
    keyLists = NewBucketArray(this->minimumBucketCount);
    try {
        valueLists = NewBucketArray(this->minimumBucketCount);
    } catch (...) {
        std::free(keyLists);
        throw;
    }
    bucketCount = this->minimumBucketCount;
}

template <class T> HashMap<T>::~HashMap()
{
    ClearEntries(true);
    std::free(keyLists);
    std::free(valueLists);
}

template <class T> PointeredList** HashMap<T>::NewBucketArray(int64_t count)
{
    const auto bytes = static_cast<std::size_t>(count) * sizeof(PointeredList*);
    auto** lists = static_cast<PointeredList**>(AllocateOrThrow(bytes));
    std::memset(lists, 0, bytes);
    return lists;
}

template <class T> void HashMap<T>::DropBucket(int32_t bucket)
{
    delete keyLists[bucket];
    delete valueLists[bucket];
    keyLists[bucket] = nullptr;
    valueLists[bucket] = nullptr;
}

template <class T> uint32_t HashMap<T>::HashKey(const void* key) const
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(key) >> 3) * 1009u;
}

template <class T> int32_t HashMap<T>::GetBucketOf(const void* key) const
{
    return static_cast<int32_t>(HashKey(key) % static_cast<uint32_t>(bucketCount));
}

template <class T>
PointeredListItem* HashMap<T>::Find(const void* key, int32_t& bucket, int32_t& position) const
{
    bucket = GetBucketOf(key);
    if (!keyLists[bucket])
        return nullptr;
    PointeredListItem* valueItem = valueLists[bucket]->GetHead();
    position = 0;
    for (PointeredListItem* keyItem = keyLists[bucket]->GetHead(); keyItem; keyItem = keyItem->GetNext()) {
        if (KeysEqual(keyItem->GetPointer(), key))
            return valueItem;
        valueItem = valueItem->GetNext();
        ++position;
    }
    return nullptr;
}

template <class T> void HashMap<T>::Put(const void* key, T* value)
{
    void* keyCopy = CopyKey(key);
    int32_t bucket = 0;
    int32_t position = 0;
    PointeredListItem* valueItem = Find(keyCopy, bucket, position);
    T* old = nullptr;
    if (valueItem) {
        FreeKey(keyCopy);
        old = static_cast<T*>(valueItem->GetPointer());
        valueItem->SetPointer(value);
    } else {
        try {
            Append(bucket, keyCopy, value);
        } catch (...) {
            FreeKey(keyCopy);
            throw;
        }
    }
    // A failed rebucket leaves the buckets as they were, so the entry can be put back.
    try {
        AdjustBuckets();
    } catch (...) {
        if (valueItem)
            valueItem->SetPointer(old);
        else
            Unlink(bucket, keyLists[bucket]->GetCount() - 1);
        throw;
    }
    if (valueItem && old != value) // putting the stored value again must not destroy it
        DeleteValue(old);
}

template <class T> void HashMap<T>::Append(int32_t bucket, void* keyCopy, T* value)
{
    const bool newBucket = !keyLists[bucket];
    PointeredListItem* keyItem = nullptr;
    try {
        if (newBucket) {
            keyLists[bucket] = new PointeredList;
            valueLists[bucket] = new PointeredList;
        }
        keyItem = new PointeredListItem(keyCopy);
        valueLists[bucket]->Append(new PointeredListItem(value));
    } catch (...) {
        delete keyItem;
        if (newBucket)
            DropBucket(bucket);
        throw;
    }
    keyLists[bucket]->Append(keyItem);
    ++size;
}

template <class T> T* HashMap<T>::Get(const void* key) const
{
    int32_t bucket = 0;
    int32_t position = 0;
    PointeredListItem* valueItem = Find(key, bucket, position);
    return valueItem ? static_cast<T*>(valueItem->GetPointer()) : nullptr;
}

template <class T> T* HashMap<T>::Detach(const void* key)
{
    int32_t bucket = 0;
    int32_t position = 0;
    return Find(key, bucket, position) ? Unlink(bucket, position) : nullptr;
}

template <class T> T* HashMap<T>::Unlink(int32_t bucket, int32_t position)
{
    PointeredListItem* keyItem = keyLists[bucket]->RemoveAt(position);
    PointeredListItem* valueItem = valueLists[bucket]->RemoveAt(position);
    FreeKey(keyItem->GetPointer());
    T* value = static_cast<T*>(valueItem->GetPointer());
    delete keyItem;
    delete valueItem;
    if (keyLists[bucket]->GetCount() == 0)
        DropBucket(bucket);
    --size;
    return value;
}

template <class T> void HashMap<T>::Remove(const void* key)
{
    if (T* value = Detach(key))
        DeleteValue(value);
}

template <class T> void HashMap<T>::ClearEntries(bool deleteValues)
{
    for (int32_t bucket = 0; bucket < bucketCount; ++bucket) {
        if (!keyLists[bucket])
            continue;
        PointeredListItem* valueItem = valueLists[bucket]->GetHead();
        for (PointeredListItem* key = keyLists[bucket]->GetHead(); key; key = key->GetNext()) {
            FreeKey(key->GetPointer());
            if (deleteValues)
                DeleteValue(static_cast<T*>(valueItem->GetPointer()));
            valueItem = valueItem->GetNext();
        }
        DropBucket(bucket);
    }
    size = 0;
}

template <class T> void HashMap<T>::Clear()
{
    ClearEntries(true);
    AdjustBuckets();
}

template <class T> void HashMap<T>::ClearDetached()
{
    ClearEntries(false);
    AdjustBuckets();
}

template <class T> void HashMap<T>::AdjustBuckets()
{
    const int64_t fill = static_cast<int64_t>(size) * 100 / bucketCount;
    const int64_t wanted = static_cast<int64_t>(size) * 100 / loadPercent;
    if (fill < loadPercent / 2) {
        const int64_t target = std::max<int64_t>(wanted, minimumBucketCount);
        if (target < bucketCount)
            Rebucket(target);
    } else if (fill > 2 * loadPercent) {
        Rebucket(wanted);
    }
}

template <class T> void HashMap<T>::Rebucket(int64_t newBucketCount)
{
    if (newBucketCount > INT32_MAX)
        throw EOutOfMemory();
    const auto count = static_cast<uint32_t>(newBucketCount);
    // Each entry's new bucket, in the order the entries are moved: every key is hashed once.
    auto* targets = static_cast<uint32_t*>(AllocateOrThrow(sizeof(uint32_t) * (size > 0 ? size : 1)));
    PointeredList** newKeys = nullptr;
    PointeredList** newValues = nullptr;
    // Every list the new buckets need is made first, so a failure leaves the map as it was.
    try {
        newKeys = NewBucketArray(newBucketCount);
        newValues = NewBucketArray(newBucketCount);
        int32_t entry = 0;
        for (int32_t bucket = 0; bucket < bucketCount; ++bucket) {
            if (!keyLists[bucket])
                continue;
            for (PointeredListItem* item = keyLists[bucket]->GetHead(); item; item = item->GetNext()) {
                const uint32_t target = HashKey(item->GetPointer()) % count;
                targets[entry++] = target;
                if (!newKeys[target]) {
                    newKeys[target] = new PointeredList;
                    newValues[target] = new PointeredList;
                }
            }
        }
    } catch (...) {
        for (int64_t bucket = 0; newKeys && bucket < newBucketCount; ++bucket) {
            delete newKeys[bucket];
            if (newValues)
                delete newValues[bucket];
        }
        std::free(newKeys);
        std::free(newValues);
        std::free(targets);
        throw;
    }
    // Old buckets in index order, each from head to tail: entries keep their relative order.
    int32_t entry = 0;
    for (int32_t bucket = 0; bucket < bucketCount; ++bucket) {
        if (!keyLists[bucket])
            continue;
        while (PointeredListItem* keyItem = keyLists[bucket]->RemoveFirst()) {
            const uint32_t target = targets[entry++];
            newKeys[target]->Append(keyItem);
            newValues[target]->Append(valueLists[bucket]->RemoveFirst());
        }
        DropBucket(bucket);
    }
    std::free(targets);
    std::free(keyLists);
    std::free(valueLists);
    keyLists = newKeys;
    valueLists = newValues;
    bucketCount = static_cast<int32_t>(newBucketCount);
}

template <class T> PointeredList* HashMap<T>::Snapshot(PointeredList* const* lists) const
{
    auto* snapshot = new PointeredList;
    try {
        for (int32_t bucket = 0; bucket < bucketCount; ++bucket) {
            if (!lists[bucket])
                continue;
            for (PointeredListItem* item = lists[bucket]->GetHead(); item; item = item->GetNext())
                snapshot->Append(new PointeredListItem(item->GetPointer()));
        }
    } catch (...) {
        delete snapshot;
        throw;
    }
    return snapshot;
}

template <class T> PointeredList* HashMap<T>::GetKeys() const
{
    return Snapshot(keyLists);
}

template <class T> PointeredList* HashMap<T>::GetValues() const
{
    return Snapshot(valueLists);
}

template <class T> void* StringKeyHashMap<T>::CopyKey(const void* key) const
{
    if (!key)
        return nullptr;
    const std::size_t bytes = std::strlen(static_cast<const char*>(key)) + 1;
    void* copy = AllocateOrThrow(bytes);
    std::memcpy(copy, key, bytes);
    return copy;
}

template <class T> void StringKeyHashMap<T>::FreeKey(void* key) const
{
    std::free(key);
}

template <class T> bool StringKeyHashMap<T>::KeysEqual(const void* a, const void* b) const
{
    return a && b && std::strcmp(static_cast<const char*>(a), static_cast<const char*>(b)) == 0;
}

} // namespace haspel
