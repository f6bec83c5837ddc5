// haspel::HashMap: separate-chaining hash map with owned values and the library's rebucketing rules;
// StringKeyHashMap keys by zero-terminated text (case-sensitive), owning copies of the keys.
#pragma once

#include "foundation/ContainingList.h"
#include "foundation/Exception.h"

#include <cstdint>

namespace haspel {

template <class T>
class HashMap {
public:
    // minimumBucketCount <= 0 becomes 16; loadPercent <= 9 becomes 50.
    explicit HashMap(int32_t minimumBucketCount = 16, int32_t loadPercent = 50);
    virtual ~HashMap();  // subclasses that override the key operations must call Clear() themselves
    HashMap(const HashMap&) = delete;
    HashMap& operator=(const HashMap&) = delete;

    void Put(const void* key, T* value);   // takes ownership of value
    T* Get(const void* key) const;
    T* Detach(const void* key);            // caller owns the value; nullptr when absent
    void Remove(const void* key);          // destroys the value
    void Clear();
    void ClearDetached();                  // forgets the values without destroying them
    PointeredList* GetKeys() const;        // new list, caller owns it; bucket order, head to tail
    PointeredList* GetValues() const;

    int32_t GetSize() const { return size; }
    int32_t GetBucketCount() const { return bucketCount; }
    int32_t GetBucketOf(const void* key) const;  // HashKey(key) modulo the bucket count

protected:
    virtual void* CopyKey(const void* key) const { return const_cast<void*>(key); }
    virtual void FreeKey(void* key) const { (void)key; }
    virtual void DeleteValue(T* value) const { delete value; }
    virtual bool KeysEqual(const void* a, const void* b) const { return a == b; }
    virtual uint32_t HashKey(const void* key) const;

private:
    void AdjustBuckets();
    void Rebucket(int32_t newBucketCount);
    void Insert(void* keyCopy, T* value);  // Put's steps 1 to 3 without copying the key
    void ClearEntries(bool deleteValues);

    int32_t size = 0;
    int32_t loadPercent = 50;
    int32_t minimumBucketCount = 16;
    PointeredList** keyLists = nullptr;
    int32_t bucketCount = 0;
    PointeredList** valueLists = nullptr;
};

// The library's text hash: every step-th byte (step = length / 16, at least 1) as signed 8-bit,
// times 11 at even positions and 7 at odd ones, summed as unsigned 32-bit.
uint32_t HashText(const char* text);

template <class T>
class StringKeyHashMap : public HashMap<T> {
public:
    explicit StringKeyHashMap(int32_t minimumBucketCount = 16, int32_t loadPercent = 50)
        : HashMap<T>(minimumBucketCount, loadPercent) {}
    ~StringKeyHashMap() override { HashMap<T>::Clear(); }

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
