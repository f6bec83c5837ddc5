// haspel::ArrayList: a growable array of owned heap objects with the library's grow and shrink rules.
#pragma once

#include "foundation/Exception.h"

#include <cstdint>

namespace haspel {

template <class T>
class ArrayList {
public:
    // minimumCapacity below 8 becomes 8; bad percents become 30 and 60.
    explicit ArrayList(int32_t minimumCapacity = 16, int32_t shrinkPercent = 30, int32_t growPercent = 60);
    virtual ~ArrayList();
    ArrayList(const ArrayList&) = delete;
    ArrayList& operator=(const ArrayList&) = delete;

    // Orders by address (-1, 0, 1); a subclass may order otherwise.
    virtual int Compare(const T* a, const T* b) const;

    void Add(T* element);            // takes ownership
    T* Get(int32_t index) const;     // nullptr outside 0..count-1
    T* GetFirst() const;
    T* GetLast() const;
    T* RemoveLast();                 // caller now owns the element
    void Clear();                    // destroys every element

    int32_t GetCount() const { return count; }
    int32_t GetCapacity() const { return capacity; }

private:
    void EnsureCapacity(int32_t n);
    void Reallocate(int32_t newCapacity);

    int32_t count = 0;
    int32_t growPercent = 60;
    T** items = nullptr;
    int32_t minimumCapacity = 16;
    int32_t shrinkPercent = 30;
    int32_t capacity = 0;
};

} // namespace haspel
