// haspel::ArrayList: a growable array of owned heap objects with the library's grow and shrink rules.
#pragma once

#include "foundation/Exception.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace haspel {

template <class T> class ArrayList {
public:
    // minimumCapacity below 8 becomes 8; bad percents become 30 and 60.
    explicit ArrayList(int32_t minimumCapacity = 16, int32_t shrinkPercent = 30, int32_t growPercent = 60);
    virtual ~ArrayList();
    ArrayList(const ArrayList&) = delete;
    ArrayList& operator=(const ArrayList&) = delete;

    // Orders by address (-1, 0, 1); a subclass may order otherwise.
    virtual int Compare(const T* a, const T* b) const;

    void Add(T* element); // takes ownership (not when it throws)
    T* Get(int32_t index) const; // nullptr outside 0..count-1
    T* GetFirst() const;
    T* GetLast() const;
    T* RemoveLast(); // caller now owns the element
    void Clear(); // destroys every element

    int32_t GetCount() const { return count; }
    int32_t GetCapacity() const { return capacity; }

private:
    void EnsureCapacity(int32_t n);
    void Reallocate(int64_t newCapacity);

    int32_t count = 0;
    int32_t growPercent = 60;
    T** items = nullptr;
    int32_t minimumCapacity = 16;
    int32_t shrinkPercent = 30;
    int32_t capacity = 0;
};

template <class T>
ArrayList<T>::ArrayList(int32_t minimumCapacity, int32_t shrinkPercent, int32_t growPercent)
    : growPercent(growPercent)
    , minimumCapacity(std::max(minimumCapacity, 8))
    , shrinkPercent(shrinkPercent)
{
    if (shrinkPercent < 0 || shrinkPercent >= growPercent || growPercent >= 100) {
        this->shrinkPercent = 30;
        this->growPercent = 60;
    }
    Reallocate(this->minimumCapacity);
}

template <class T> ArrayList<T>::~ArrayList()
{
    for (int32_t i = 0; i < count; ++i)
        delete items[i];
    std::free(items);
}

template <class T> int ArrayList<T>::Compare(const T* a, const T* b) const
{
    return a < b ? -1 : a > b ? 1 : 0;
}

template <class T> void ArrayList<T>::Add(T* element)
{
    EnsureCapacity(count + 1);
    items[count++] = element;
}

template <class T> T* ArrayList<T>::Get(int32_t index) const
{
    return index >= 0 && index < count ? items[index] : nullptr;
}

template <class T> T* ArrayList<T>::GetFirst() const
{
    return Get(0);
}

template <class T> T* ArrayList<T>::GetLast() const
{
    return Get(count - 1);
}

template <class T> T* ArrayList<T>::RemoveLast()
{
    if (count == 0)
        return nullptr;
    EnsureCapacity(count - 1);
    return items[--count];
}

template <class T> void ArrayList<T>::Clear()
{
    for (int32_t i = 0; i < count; ++i)
        delete items[i];
    // The shrink test looks at the count before the change; the storage keeps no element.
    EnsureCapacity(0);
    count = 0;
}

template <class T> void ArrayList<T>::EnsureCapacity(int32_t n)
{
    const int64_t grown = static_cast<int64_t>(n) * 100 / growPercent;
    const int64_t needed = static_cast<int64_t>(n) + 1;
    if (capacity > minimumCapacity && static_cast<int64_t>(count) * 100 / capacity < shrinkPercent) {
        Reallocate(std::max(grown >= minimumCapacity ? grown : minimumCapacity, needed));
    } else if (n >= capacity) {
        Reallocate(std::max(grown, needed));
    }
}

template <class T> void ArrayList<T>::Reallocate(int64_t newCapacity)
{
    if (newCapacity >= 1073741824)
        throw EOutOfMemory();
    // realloc keeps the pointers that fit; only Clear shrinks below the count, after destroying them.
    items = static_cast<T**>(ReallocateOrThrow(items, static_cast<std::size_t>(newCapacity) * sizeof(T*)));
    capacity = static_cast<int32_t>(newCapacity);
}

} // namespace haspel
