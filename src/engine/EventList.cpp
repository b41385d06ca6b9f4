#include "engine/EventList.h"

#include "framework/BaseActionClass.h"
#include "framework/Errors.h"
#include "random/UserDistributions.h"

namespace {

PAddress* AddressOf(const Event* record) {
  return record->action_ptr->EventPointer;
}

}  // namespace

bool EventEarlier::operator()(const Event& e1, const Event& e2) const {
  if (e1.exec_time < e2.exec_time) return true;
  if (e1.exec_time == e2.exec_time) return e1.action_ptr->Rank() > e2.action_ptr->Rank();
  return false;
}

bool EventEqual::operator()(const Event& e1, const Event& e2) const {
  return e1.exec_time == e2.exec_time && e1.action_ptr->Rank() == e2.action_ptr->Rank();
}

EventList::EventList(int capacity)
    : capacity(capacity), Records(nullptr), A(nullptr), size(0), Equalities(nullptr), EqSize(0) {
  TAVRIN_ASSERT(capacity >= 0);
  Records = new Event[capacity];
  A = new Event*[capacity];
  Equalities = new int[capacity];
  FreeList.reserve(capacity);
  for (int i = capacity - 1; i >= 0; i--) {
    A[i] = nullptr;
    FreeList.push_back(&Records[i]);
  }
}

EventList::~EventList() {
  ClearEventList();
  delete[] Equalities;
  delete[] A;
  delete[] Records;
}

void EventList::StoreAt(int i, Event* record) {
  A[i] = record;
  AddressOf(record)->event = &A[i];
}

// Both sifts move a hole instead of swapping: each passed event is stored once in its new
// slot and the moving event once at the end, which leaves the heap exactly as the
// corresponding swaps would.
int EventList::BubbleUp(int i) {
  Event* moving = A[i];
  int start = i;
  while (i > 0) {
    int parent = (i - 1) / 2;
    if (!EvEarlier(*moving, *A[parent])) break;
    StoreAt(i, A[parent]);
    i = parent;
  }
  if (i != start) StoreAt(i, moving);
  return i;
}

void EventList::BubbleDown(int i) {
  Event* moving = A[i];
  int start = i;
  for (;;) {
    int child = 2 * i + 1;
    if (child >= size) break;
    int right = child + 1;
    if (right < size && EvEarlier(*A[right], *A[child])) child = right;
    if (!EvEarlier(*A[child], *moving)) break;
    StoreAt(i, A[child]);
    i = child;
  }
  if (i != start) StoreAt(i, moving);
}

// The caller's record is only copied, so one scratch event can serve every insertion.
void EventList::Insert(Event* e) {
  TAVRIN_ASSERT(size < capacity);
  Event* record = FreeList.back();
  FreeList.pop_back();
  *record = *e;
  StoreAt(size, record);
  size++;
  BubbleUp(size - 1);
}

void EventList::Remove(Event** slot) {
  int i = static_cast<int>(slot - A);
  TAVRIN_ASSERT(i >= 0 && i < size);
  Event* record = A[i];
  FreeList.push_back(record);
  AddressOf(record)->event = nullptr;
  size--;
  if (i == size) {
    A[size] = nullptr;
    return;
  }
  StoreAt(i, A[size]);
  A[size] = nullptr;
  if (BubbleUp(i) == i) BubbleDown(i);
}

void EventList::Remove(PAddress* address) {
  TAVRIN_ASSERT(address->event != nullptr);
  Remove(address->event);
}

void EventList::ModifyKey(Event** slot) {
  int i = static_cast<int>(slot - A);
  TAVRIN_ASSERT(i >= 0 && i < size);
  if (BubbleUp(i) == i) BubbleDown(i);
}

// The groups leave the simulator's reactivation list by the caller's hand; only their
// handles are reset here.
void EventList::ClearEventList() {
  for (int i = 0; i < size; i++) {
    FreeList.push_back(A[i]);
    AddressOf(A[i])->clear();
    A[i] = nullptr;
  }
  size = 0;
}

Event** EventList::Earliest() {
  if (size == 0) return nullptr;
  FindEquals(0);
  Event** picked = (EqSize == 1) ? &A[0] : &A[PickWeighted()];
  EqSize = 0;
  return picked;
}

// Pre-order: the node, then its left subtree, then its right subtree. A child that is not
// tied with its parent cannot have tied descendants, because the heap order is strict.
void EventList::FindEquals(int i) {
  Equalities[EqSize++] = i;
  int left = 2 * i + 1;
  int right = left + 1;
  if (left < size && EvEqual(*A[i], *A[left])) FindEquals(left);
  if (right < size && EvEqual(*A[i], *A[right])) FindEquals(right);
}

// One uniform draw picks among the tied events in proportion to their groups' weights.
// When no running sum passes the target (all weights 0, or rounding at the top end), the
// last tied event fires.
int EventList::PickWeighted() {
  double total = 0;
  for (int k = 0; k < EqSize; k++) total += A[Equalities[k]]->action_ptr->Weight();
  double target = TheDistribution->RNG->rnd() * total;
  double running = 0;
  for (int k = 0; k < EqSize; k++) {
    running += A[Equalities[k]]->action_ptr->Weight();
    if (running > target) return Equalities[k];
  }
  return Equalities[EqSize - 1];
}

bool EventList::IsFree(const Event* record) const {
  for (const Event* freeRecord : FreeList)
    if (freeRecord == record) return true;
  return false;
}

// Slot 0 cannot be reported by its own number where that number is the code, since 0
// means valid; capacity, which is no slot, stands for it.
int EventList::IsValid() {
  for (int i = 1; i < size; i++) {
    const Event* parent = A[(i - 1) / 2];
    if (A[i] != nullptr && parent != nullptr && A[i]->exec_time < parent->exec_time) return i;
  }
  for (int i = 0; i < size; i++)
    if (A[i] == nullptr || AddressOf(A[i])->event != &A[i]) return i + 100000;
  for (int i = size; i < capacity; i++)
    if (A[i] != nullptr) return i == 0 ? capacity : i;
  for (int i = 0; i < size; i++)
    if (IsFree(A[i])) return i == 0 ? -capacity : -i;
  return 0;
}

void EventList::PrintList(std::ostream& out) {
  out << "------------------Event List-----------------" << std::endl;
  for (int i = 0; i < size; i++)
    out << "(" << A[i]->action_ptr->ActionName << ") " << A[i]->start_time << " --> "
        << A[i]->exec_time << std::endl;
  out << "---------------------------------------------" << std::endl << std::endl;
}
