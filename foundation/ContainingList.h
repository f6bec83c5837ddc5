// haspel::ContainingList: a doubly linked list whose items are the elements themselves (they derive
// from ContainingListItem); the list owns them. PointeredList holds pointers it does not own.
#pragma once

#include "foundation/Exception.h"
#include "foundation/RawAllocated.h"

#include <cstdint>

namespace haspel {

template <class T> class ContainingList;

// The list deletes its items as T, so the links cost no virtual table: the destructor is protected,
// and an item type with subclasses of its own gives itself a virtual destructor.
template <class T> class ContainingListItem {
public:
    T* GetNext() const { return next; }
    T* GetPrevious() const { return previous; }

protected:
    ContainingListItem() = default;
    ~ContainingListItem() = default;

private:
    friend class ContainingList<T>;
    T* next = nullptr;
    T* previous = nullptr;
};

template <class T> class ContainingList : public RawAllocated {
public:
    using Comparison = int (*)(const T* a, const T* b);

    ContainingList() = default;
    virtual ~ContainingList(); // destroys the items, tail first
    ContainingList(const ContainingList&) = delete;
    ContainingList& operator=(const ContainingList&) = delete;

    // Orders by address (-1, 0, 1); used by Sort without a comparison.
    virtual int Compare(const T* a, const T* b) const;

    void Append(T* item); // takes ownership
    T* RemoveLast(); // caller owns the item; nullptr when empty
    T* RemoveAt(int32_t index); // index from the head; nullptr when outside
    T* RemoveFirst(); // RemoveAt(0) in O(1)
    void Clear(); // destroys the items, tail first
    void Sort(Comparison comparison = nullptr); // stable merge sort, ascending

    int32_t GetCount() const { return count; }
    T* GetHead() const { return head; }
    T* GetTail() const { return tail; }

private:
    T* Unlink(T* item); // nullptr stays nullptr
    void LinkAtTail(T* item);
    int Order(const T* a, const T* b, Comparison comparison) const
    {
        return comparison ? comparison(a, b) : Compare(a, b);
    }
    // Sorts the n items chained by next from first; the result ends with a null next.
    T* SortChain(T* first, int32_t n, Comparison comparison) const;

    int32_t count = 0;
    T* head = nullptr;
    T* tail = nullptr;
};

class PointeredListItem : public ContainingListItem<PointeredListItem>, public RawAllocated {
public:
    explicit PointeredListItem(void* pointer)
        : pointer(pointer)
    { }
    void* GetPointer() const { return pointer; }
    void SetPointer(void* newPointer) { pointer = newPointer; }

private:
    void* pointer; // not owned
};

using PointeredList = ContainingList<PointeredListItem>;

// Compares the texts two items point to, letters A-Z without regard to case.
int CompareTextsIgnoringCase(const PointeredListItem* a, const PointeredListItem* b);

template <class T> ContainingList<T>::~ContainingList()
{
    Clear();
}

template <class T> int ContainingList<T>::Compare(const T* a, const T* b) const
{
    return a < b ? -1 : a > b ? 1 : 0;
}

template <class T> void ContainingList<T>::LinkAtTail(T* item)
{
    item->previous = tail;
    item->next = nullptr;
    if (tail)
        tail->next = item;
    else
        head = item;
    tail = item;
    ++count;
}

template <class T> T* ContainingList<T>::Unlink(T* item)
{
    if (!item)
        return nullptr;
    if (item->previous)
        item->previous->next = item->next;
    else
        head = item->next;
    if (item->next)
        item->next->previous = item->previous;
    else
        tail = item->previous;
    item->next = nullptr;
    item->previous = nullptr;
    --count;
    return item;
}

template <class T> void ContainingList<T>::Append(T* item)
{
    if (item)
        LinkAtTail(item);
}

template <class T> T* ContainingList<T>::RemoveLast()
{
    return Unlink(tail);
}

template <class T> T* ContainingList<T>::RemoveAt(int32_t index)
{
    if (index < 0 || index >= count)
        return nullptr;
    T* item = head;
    for (int32_t i = 0; i < index; ++i)
        item = item->next;
    return Unlink(item);
}

template <class T> T* ContainingList<T>::RemoveFirst()
{
    return Unlink(head);
}

template <class T> void ContainingList<T>::Clear()
{
    while (T* item = RemoveLast())
        delete item;
}

template <class T> T* ContainingList<T>::SortChain(T* first, int32_t n, Comparison comparison) const
{
    if (n <= 1) {
        if (first)
            first->next = nullptr;
        return first;
    }
    T* second = first;
    for (int32_t i = 0; i < n / 2; ++i)
        second = second->next;
    T* left = SortChain(first, n / 2, comparison);
    T* right = SortChain(second, n - n / 2, comparison);
    // Only a strictly smaller item of the right half goes first, so equal items keep their order.
    T* merged = nullptr;
    T** link = &merged;
    while (left && right) {
        T*& taken = Order(right, left, comparison) < 0 ? right : left;
        *link = taken;
        link = &taken->next;
        taken = taken->next;
    }
    *link = left ? left : right;
    return merged;
}

template <class T> void ContainingList<T>::Sort(Comparison comparison)
{
    head = SortChain(head, count, comparison);
    T* previous = nullptr;
    for (T* item = head; item; item = item->next) {
        item->previous = previous;
        previous = item;
    }
    tail = previous;
}

} // namespace haspel
