#include "engine/EventList.h"

#include <limits>

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
    : capacity(capacity),
      Records(nullptr),
      A(nullptr),
      Times(nullptr),
      Addresses(nullptr),
      RootIsHole(false),
      size(0),
      Equalities(nullptr),
      EqSize(0) {
  TAVRIN_ASSERT(capacity >= 0);
  Records = new Event[capacity];
  A = new Event*[capacity];
  Times = new double[capacity];
  Addresses = new PAddress*[capacity];
  Equalities = new int[capacity];
  FreeList.reserve(capacity);
  for (int i = capacity - 1; i >= 0; i--) {
    A[i] = nullptr;
    Times[i] = 0.0;
    Addresses[i] = nullptr;
    FreeList.push_back(&Records[i]);
  }
}

EventList::~EventList() {
  ClearEventList();
  delete[] Equalities;
  delete[] Addresses;
  delete[] Times;
  delete[] A;
  delete[] Records;
}

inline void EventList::StoreAt(int i, Event* record) {
  A[i] = record;
  Times[i] = record->exec_time;
  Addresses[i] = AddressOf(record);
  Addresses[i]->event = &A[i];
}

inline void EventList::MoveTo(int i, int from) {
  A[i] = A[from];
  Times[i] = Times[from];
  Addresses[i] = Addresses[from];
  Addresses[i]->event = &A[i];
}

// The ranks, a virtual call each, are asked only on equal times.
inline bool EventList::Earlier(int i, int j) const {
  if (Times[i] < Times[j]) return true;
  return Times[i] == Times[j] && EvEarlier(*A[i], *A[j]);
}

inline bool EventList::TiedWithRoot(int i) const {
  return i < size && Times[i] == Times[0] && EvEqual(*A[0], *A[i]);
}

// Both sifts move a hole instead of swapping: each passed event is stored once in its new
// slot and the moving event once at the end, which leaves the heap exactly as the
// corresponding swaps would.
int EventList::BubbleUp(int i) {
  Event* moving = A[i];
  double time = Times[i];
  PAddress* address = Addresses[i];
  int start = i;
  while (i > 0) {
    int parent = (i - 1) / 2;
    if (!(time < Times[parent] || (time == Times[parent] && EvEarlier(*moving, *A[parent]))))
      break;
    MoveTo(i, parent);
    i = parent;
  }
  if (i != start) {
    A[i] = moving;
    Times[i] = time;
    Addresses[i] = address;
    address->event = &A[i];
  }
  return i;
}

void EventList::BubbleDown(int i) {
  Event* moving = A[i];
  double time = Times[i];
  PAddress* address = Addresses[i];
  int start = i;
  for (;;) {
    int child = 2 * i + 1;
    if (child >= size) break;
    int right = child + 1;
    if (right < size && Earlier(right, child)) child = right;
    if (!(Times[child] < time || (Times[child] == time && EvEarlier(*A[child], *moving)))) break;
    MoveTo(i, child);
    i = child;
  }
  if (i != start) {
    A[i] = moving;
    Times[i] = time;
    Addresses[i] = address;
    address->event = &A[i];
  }
}

// The caller's record is only copied, so one scratch event can serve every insertion. The
// group whose event is being fired gets its root back, with one sift down: nothing else
// can have passed the root's hole, whose time is minus infinity.
void EventList::Insert(Event* e) {
  if (RootIsHole && A[0]->action_ptr == e->action_ptr) {
    RootIsHole = false;
    *A[0] = *e;
    StoreAt(0, A[0]);
    BubbleDown(0);
    return;
  }
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
  MoveTo(i, size);
  A[size] = nullptr;
  if (BubbleUp(i) == i) BubbleDown(i);
}

// An event picked among ties below the root is removed at once: a hole there would sit
// below events it must not pass.
void EventList::Detach(Event** slot) {
  if (slot != &A[0]) {
    Remove(slot);
    return;
  }
  TAVRIN_ASSERT(size > 0 && !RootIsHole);
  AddressOf(A[0])->event = nullptr;
  Times[0] = -std::numeric_limits<double>::infinity();
  RootIsHole = true;
}

// The fired group was not rescheduled: its record leaves the heap as Remove would take it.
void EventList::CloseHole() {
  RootIsHole = false;
  Event* record = A[0];
  FreeList.push_back(record);
  size--;
  if (size == 0) {
    A[0] = nullptr;
    return;
  }
  MoveTo(0, size);
  A[size] = nullptr;
  BubbleDown(0);
}

void EventList::Remove(PAddress* address) {
  TAVRIN_ASSERT(address->event != nullptr);
  Remove(address->event);
}

void EventList::ModifyKey(Event** slot) {
  int i = static_cast<int>(slot - A);
  TAVRIN_ASSERT(i >= 0 && i < size);
  Times[i] = A[i]->exec_time;
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
  RootIsHole = false;
}

// An event tied with the root is one of the root's children or below a tied child, so
// the search for ties starts only when a child is tied.
Event** EventList::Earliest() {
  if (RootIsHole) CloseHole();
  if (size == 0) return nullptr;
  if (!TiedWithRoot(1) && !TiedWithRoot(2)) return &A[0];
  FindEquals(0);
  Event** picked = &A[PickWeighted()];
  EqSize = 0;
  return picked;
}

// Pre-order: the node, then its left subtree, then its right subtree. A child that is not
// tied with its parent cannot have tied descendants, because the heap order is strict.
void EventList::FindEquals(int i) {
  Equalities[EqSize++] = i;
  int left = 2 * i + 1;
  int right = left + 1;
  if (TiedWithRoot(left)) FindEquals(left);
  if (TiedWithRoot(right)) FindEquals(right);
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
