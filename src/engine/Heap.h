#ifndef TAVRIN_ENGINE_HEAP_H
#define TAVRIN_ENGINE_HEAP_H

#include <cassert>
#include <utility>

// Heap: a binary min-heap of keys, each tagged with a caller's index, with a table from
// index to heap position so that the key of any index can be read or changed in O(log n).
// The steady-state run keeps its per-variable batch ends and batch counts in two of them.
template <class T>
class Heap {
 public:
  explicit Heap(int capacity);
  ~Heap();
  Heap(const Heap&) = delete;
  Heap& operator=(const Heap&) = delete;

  void Insert(T key, int index);
  // Fills earliest with the smallest key and its index; the heap must not be empty.
  void Earliest(std::pair<T, int>& earliest) const;
  void ModifyKey(int index, T key);
  T getElement(int index) const;   // the key of an index

 private:
  void GrowSlots();
  void GrowIndices(int index);
  void Swap(int i, int j);
  int BubbleUp(int position);   // returns the key's new position
  void BubbleDown(int position);

  int capacity;           // slots of A and InvKeyPointers
  T* A;                   // owned: keys in heap order
  int* KeyPointers;       // owned: caller index -> heap position, MaxIndex entries
  int* InvKeyPointers;    // owned: heap position -> caller index
  int MaxIndex;
  int size;
};

template <class T>
Heap<T>::Heap(int capacity)
    : capacity(capacity),
      A(new T[capacity]()),
      KeyPointers(new int[capacity]()),
      InvKeyPointers(new int[capacity]()),
      MaxIndex(capacity),
      size(0) {}

template <class T>
Heap<T>::~Heap() {
  delete[] A;
  delete[] KeyPointers;
  delete[] InvKeyPointers;
}

// Doubling starts from one slot, so a heap made with capacity 0 can still grow.
template <class T>
void Heap<T>::GrowSlots() {
  int newCapacity = capacity > 0 ? 2 * capacity : 1;
  T* newA = new T[newCapacity]();
  int* newInv = new int[newCapacity]();
  for (int i = 0; i < capacity; i++) {
    newA[i] = A[i];
    newInv[i] = InvKeyPointers[i];
  }
  delete[] A;
  delete[] InvKeyPointers;
  A = newA;
  InvKeyPointers = newInv;
  capacity = newCapacity;
}

template <class T>
void Heap<T>::GrowIndices(int index) {
  int newMaxIndex = MaxIndex > 0 ? MaxIndex : 1;
  while (newMaxIndex <= index) newMaxIndex *= 2;
  int* newKeyPointers = new int[newMaxIndex]();
  for (int i = 0; i < MaxIndex; i++) newKeyPointers[i] = KeyPointers[i];
  delete[] KeyPointers;
  KeyPointers = newKeyPointers;
  MaxIndex = newMaxIndex;
}

template <class T>
void Heap<T>::Insert(T key, int index) {
  assert(index >= 0);
  if (size == capacity) GrowSlots();
  if (index >= MaxIndex) GrowIndices(index);
  A[size] = key;
  KeyPointers[index] = size;
  InvKeyPointers[size] = index;
  size++;
  BubbleUp(size - 1);
}

template <class T>
void Heap<T>::Earliest(std::pair<T, int>& earliest) const {
  assert(size > 0);
  earliest.first = A[0];
  earliest.second = InvKeyPointers[0];
}

template <class T>
void Heap<T>::ModifyKey(int index, T key) {
  assert(index >= 0 && index < MaxIndex);
  int position = KeyPointers[index];
  A[position] = key;
  if (BubbleUp(position) == position) BubbleDown(position);
}

template <class T>
T Heap<T>::getElement(int index) const {
  assert(index >= 0 && index < MaxIndex);
  return A[KeyPointers[index]];
}

template <class T>
void Heap<T>::Swap(int i, int j) {
  std::swap(A[i], A[j]);
  std::swap(KeyPointers[InvKeyPointers[i]], KeyPointers[InvKeyPointers[j]]);
  std::swap(InvKeyPointers[i], InvKeyPointers[j]);
}

// Strict comparisons: a key equal to its parent stays below it, so among equal smallest
// keys the one already at the top is the earliest.
template <class T>
int Heap<T>::BubbleUp(int position) {
  while (position > 0 && A[position] < A[(position - 1) / 2]) {
    Swap(position, (position - 1) / 2);
    position = (position - 1) / 2;
  }
  return position;
}

template <class T>
void Heap<T>::BubbleDown(int position) {
  for (;;) {
    int child = 2 * position + 1;
    if (child >= size) return;
    if (child + 1 < size && A[child + 1] < A[child]) child++;
    if (!(A[child] < A[position])) return;
    Swap(position, child);
    position = child;
  }
}

#endif
