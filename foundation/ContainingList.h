// haspel::ContainingList: a doubly linked list whose items are the elements themselves (they derive
// from ContainingListItem); the list owns them. PointeredList holds pointers it does not own.
#pragma once

#include "foundation/Exception.h"

#include <cstdint>

namespace haspel {

template <class T>
class ContainingList;

template <class T>
class ContainingListItem {
public:
    virtual ~ContainingListItem() = default;
    T* GetNext() const { return next; }
    T* GetPrevious() const { return previous; }

private:
    friend class ContainingList<T>;
    T* next = nullptr;
    T* previous = nullptr;
};

template <class T>
class ContainingList {
public:
    using Comparison = int (*)(const T* a, const T* b);

    ContainingList() = default;
    virtual ~ContainingList();  // destroys the items, tail first
    ContainingList(const ContainingList&) = delete;
    ContainingList& operator=(const ContainingList&) = delete;

    // Orders by address (-1, 0, 1); used by Sort without a comparison.
    virtual int Compare(const T* a, const T* b) const;

    void Append(T* item);          // takes ownership
    T* RemoveLast();               // caller owns the item; nullptr when empty
    T* RemoveAt(int32_t index);    // index from the head; nullptr when outside
    T* RemoveFirst();              // RemoveAt(0) in O(1)
    void Clear();                  // destroys the items, tail first
    void Sort(Comparison comparison = nullptr);  // stable selection sort, ascending

    int32_t GetCount() const { return count; }
    T* GetHead() const { return head; }
    T* GetTail() const { return tail; }

private:
    void Unlink(T* item);

    int32_t count = 0;
    T* head = nullptr;
    T* tail = nullptr;
};

class PointeredListItem : public ContainingListItem<PointeredListItem> {
public:
    explicit PointeredListItem(void* pointer) : pointer(pointer) {}
    void* GetPointer() const { return pointer; }

private:
    void* pointer;  // not owned
};

using PointeredList = ContainingList<PointeredListItem>;

// Compares the texts two items point to, letters A-Z without regard to case.
int CompareTextsIgnoringCase(const PointeredListItem* a, const PointeredListItem* b);

} // namespace haspel
