#ifndef TAVRIN_FRAMEWORK_LIST_H
#define TAVRIN_FRAMEWORK_LIST_H

#include <iostream>
#include <new>
#include <unordered_set>

#include "framework/Errors.h"

// List: a growable array of non-owning pointers, used for every list of actions, state
// variables, models and groups. A pointer is held at most once; items stay at the front.
// A long list (a composed model's actions, the instances of a replicated submodel, the
// actions of a place shared by every replica) keeps a hash index of its items besides the
// array, so that the duplicate test of an insertion does not scan it: filling a list of n
// items costs O(n), not O(n^2). The index never changes the order or the contents; it
// requires that slots are read, never written, through operator[] and getList().
template <class T>
class List {
 public:
  List() : List(10) {}
  explicit List(int n) : TheList(nullptr), NumItems(0), ArraySize(0), Index(nullptr) {
    TAVRIN_ASSERT(n >= 1);
    TheList = new (std::nothrow) T*[n];
    if (TheList == nullptr) MemoryAllocationError();
    ArraySize = n;
    for (int i = 0; i < n; i++) TheList[i] = nullptr;
  }
  ~List() {
    delete[] TheList;
    delete Index;
  }
  List(const List&) = delete;
  List& operator=(const List&) = delete;

  int getNumItems() const { return NumItems; }
  T** getList() const { return TheList; }

  T* getItem(int i) const {
    TAVRIN_ASSERT(i >= 0);
    TAVRIN_ASSERT(i < NumItems);
    TAVRIN_ASSERT(NumItems > 0);
    TAVRIN_ASSERT(TheList != nullptr);
    TAVRIN_ASSERT(TheList[i] != nullptr);
    return TheList[i];
  }

  T*& operator[](int i) { return TheList[i]; }

  bool contains(const T* item) const {
    if (Index != nullptr) return Index->count(const_cast<T*>(item)) != 0;
    for (int i = 0; i < NumItems; i++)
      if (TheList[i] == item) return true;
    return false;
  }

  // Stores the item in the next free slot; never grows the array.
  void insertItem(T* item) {
    if (contains(item)) return;
    TAVRIN_ASSERT(NumItems < ArraySize);
    TheList[NumItems++] = item;
    if (Index != nullptr)
      Index->insert(item);
    else if (NumItems == kIndexedFrom)
      buildIndex();
  }

  void append(T* item) {
    if (NumItems >= ArraySize) {
      TAVRIN_ASSERT(NumItems == ArraySize);
      grow(2 * ArraySize);
    }
    insertItem(item);
  }

  void append(T** items, int n) {
    for (int i = 0; i < n; i++) append(items[i]);
  }

  void append(List<T>* other) {
    int combined = NumItems + other->getNumItems();
    if (ArraySize < combined) grow(2 * combined);
    for (int i = 0; i < other->getNumItems(); i++) {
      // A duplicate is skipped, so the room reserved above always suffices.
      T* item = other->getItem(i);
      if (!contains(item)) insertItem(item);
    }
  }

  // Order is not kept: the last item moves into the freed slot.
  void remove(T* item) {
    for (int i = 0; i < NumItems; i++) {
      if (TheList[i] == item) {
        if (Index != nullptr) Index->erase(item);
        TheList[i] = TheList[NumItems - 1];
        TheList[NumItems - 1] = nullptr;
        NumItems--;
        return;
      }
    }
  }

  void replaceItem(T* oldItem, T* newItem) {
    int oldIndex = -1;
    int newIndex = -1;
    for (int i = 0; i < NumItems; i++) {
      if (oldIndex < 0 && TheList[i] == oldItem) oldIndex = i;
      if (newIndex < 0 && TheList[i] == newItem) newIndex = i;
    }
    if (oldIndex < 0) return;
    if (Index != nullptr) Index->erase(oldItem);
    if (newIndex < 0) {
      TheList[oldIndex] = newItem;
      if (Index != nullptr) Index->insert(newItem);
      return;
    }
    TheList[oldIndex] = TheList[NumItems - 1];
    TheList[NumItems - 1] = nullptr;
    NumItems--;
  }

  void clearList() {
    NumItems = 0;
    delete Index;
    Index = nullptr;
  }

  void printList() const {
    if (NumItems == 0) std::cout << "No items in the list" << std::endl;
    for (int i = 0; i < NumItems; i++)
      std::cout << "[" << i << "] " << static_cast<const void*>(TheList[i]) << std::endl;
  }

  void increaseArraySize(int n) {
    TAVRIN_ASSERT(n > ArraySize);
    grow(n);
  }

 private:
  // Below this many items a scan is as cheap as a hash look-up and costs no memory.
  static const int kIndexedFrom = 64;

  void buildIndex() {
    Index = new (std::nothrow) std::unordered_set<T*>();
    if (Index == nullptr) MemoryAllocationError();
    Index->reserve(static_cast<size_t>(2 * NumItems));
    for (int i = 0; i < NumItems; i++) Index->insert(TheList[i]);
  }

  void grow(int n) {
    T** bigger = new (std::nothrow) T*[n];
    if (bigger == nullptr) {
      std::cerr << "!! Crtical error in " << "List<C>::append(List*)"
                << " do to insufficient memory...exiting" << std::endl;
      MemoryAllocationError();
    }
    for (int i = 0; i < NumItems; i++) bigger[i] = TheList[i];
    for (int i = NumItems; i < n; i++) bigger[i] = nullptr;
    delete[] TheList;
    TheList = bigger;
    ArraySize = n;
  }

  T** TheList;    // owned: the slot array; the items are not owned
  int NumItems;
  int ArraySize;
  std::unordered_set<T*>* Index;   // owned: made once the list reaches kIndexedFrom items
};

#endif
