#include "engine/EventList.h"

#include <cstddef>
#include <limits>
#include <new>

#include "framework/BaseActionClass.h"
#include "framework/Errors.h"
#include "random/UserDistributions.h"

namespace {

// The slot array's alignment: with one slot before the heap's first, slots 2i + 1 and
// 2i + 2, the children of slot i, lie in one cache line.
constexpr std::size_t kSlotAlignment = 64;

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
      Storage(nullptr),
      S(nullptr),
      RootIsHole(false),
      size(0),
      KeyRecords(nullptr),
      KeyGroups(nullptr),
      KeyHandles(nullptr),
      Positions(nullptr),
      NumKeys(0),
      KeyCapacity(capacity > 0 ? capacity : 1),
      Equalities(nullptr),
      EqSize(0) {
  TAVRIN_ASSERT(capacity >= 0);
  Records = new Event[capacity];
  Storage = static_cast<Slot*>(
      ::operator new[]((capacity + 1) * sizeof(Slot), std::align_val_t(kSlotAlignment)));
  S = Storage + 1;
  for (int i = -1; i < capacity; i++) S[i] = Slot{0.0, -1};
  KeyRecords = new Event*[KeyCapacity]();
  KeyGroups = new BaseActionClass*[KeyCapacity]();
  KeyHandles = new PAddress*[KeyCapacity]();
  Positions = new int[KeyCapacity]();
  Equalities = new int[capacity];
  FreeList.reserve(capacity);
  for (int i = capacity - 1; i >= 0; i--) FreeList.push_back(&Records[i]);
}

EventList::~EventList() {
  ClearEventList();
  delete[] Equalities;
  delete[] Positions;
  delete[] KeyHandles;
  delete[] KeyGroups;
  delete[] KeyRecords;
  ::operator delete[](Storage, std::align_val_t(kSlotAlignment));
  delete[] Records;
}

// A simulator's list sees at most its capacity of groups and never grows; a list used
// with more distinct groups than that (a test's, a benchmark's) grows its key tables, and
// the handles of the scheduled groups are pointed into the new record table.
void EventList::GrowKeys() {
  int grown = 2 * KeyCapacity;
  Event** records = new Event*[grown]();
  BaseActionClass** groups = new BaseActionClass*[grown]();
  PAddress** handles = new PAddress*[grown]();
  int* positions = new int[grown]();
  for (int k = 0; k < NumKeys; k++) {
    records[k] = KeyRecords[k];
    groups[k] = KeyGroups[k];
    handles[k] = KeyHandles[k];
    positions[k] = Positions[k];
    if (records[k] != nullptr && handles[k]->event == &KeyRecords[k]) handles[k]->event = &records[k];
  }
  delete[] KeyRecords;
  delete[] KeyGroups;
  delete[] KeyHandles;
  delete[] Positions;
  KeyRecords = records;
  KeyGroups = groups;
  KeyHandles = handles;
  Positions = positions;
  KeyCapacity = grown;
}

// A handle's key is trusted only when this list gave it: another list may have keyed the
// same group.
int EventList::KeyOf(PAddress* handle, BaseActionClass* group) {
  int key = handle->listKey;
  if (key >= 0 && key < NumKeys && KeyHandles[key] == handle) {
    KeyGroups[key] = group;
    return key;
  }
  if (NumKeys == KeyCapacity) GrowKeys();
  key = NumKeys++;
  KeyRecords[key] = nullptr;
  KeyGroups[key] = group;
  KeyHandles[key] = handle;
  handle->listKey = key;
  return key;
}

// The ranks, a virtual call each, are asked only on equal times.
inline bool EventList::Earlier(Slot a, Slot b) const {
  if (a.time < b.time) return true;
  return a.time == b.time && KeyGroups[a.key]->Rank() > KeyGroups[b.key]->Rank();
}

inline bool EventList::TiedWithRoot(int i) const {
  return i < size && S[i].time == S[0].time &&
         KeyGroups[S[0].key]->Rank() == KeyGroups[S[i].key]->Rank();
}

// Both sifts move a hole instead of swapping: each passed event is stored once in its new
// slot and the moving event once at the end, which leaves the heap exactly as the
// corresponding swaps would.
int EventList::BubbleUp(int i) {
  const Slot moving = S[i];
  int start = i;
  while (i > 0) {
    int parent = (i - 1) / 2;
    if (!Earlier(moving, S[parent])) break;
    Put(i, S[parent]);
    i = parent;
  }
  if (i != start) Put(i, moving);
  return i;
}

void EventList::BubbleDown(int i) {
  const Slot moving = S[i];
  int start = i;
  for (;;) {
    int child = 2 * i + 1;
    if (child >= size) break;
    // The earlier child, chosen without a jump when the times differ (the common case),
    // where a branch would be mispredicted about every other level.
    if (child + 1 < size) {
      const double left = S[child].time;
      const double right = S[child + 1].time;
      if (right != left)
        child += right < left;
      else
        child += KeyGroups[S[child + 1].key]->Rank() > KeyGroups[S[child].key]->Rank();
    }
    if (!Earlier(S[child], moving)) break;
    Put(i, S[child]);
    i = child;
  }
  if (i != start) Put(i, moving);
}

// The caller's record is only copied, so one scratch event can serve every insertion. The
// group whose event is being fired gets its root back, with one sift down: nothing else
// can have passed the root's hole, whose time is minus infinity.
void EventList::Insert(Event* e) {
  PAddress* handle = e->action_ptr->EventPointer;
  if (RootIsHole && KeyGroups[S[0].key] == e->action_ptr) {
    RootIsHole = false;
    int key = S[0].key;
    *KeyRecords[key] = *e;
    S[0].time = e->exec_time;
    handle->event = &KeyRecords[key];
    BubbleDown(0);
    return;
  }
  TAVRIN_ASSERT(size < capacity);
  int key = KeyOf(handle, e->action_ptr);
  Event* record = FreeList.back();
  FreeList.pop_back();
  *record = *e;
  KeyRecords[key] = record;
  handle->event = &KeyRecords[key];
  Put(size, Slot{e->exec_time, key});
  size++;
  BubbleUp(size - 1);
}

void EventList::Remove(Event** entry) {
  int key = KeyAt(entry);
  TAVRIN_ASSERT(key >= 0 && key < NumKeys);
  int i = Positions[key];
  TAVRIN_ASSERT(i >= 0 && i < size && S[i].key == key && KeyRecords[key] != nullptr);
  FreeList.push_back(KeyRecords[key]);
  KeyRecords[key] = nullptr;
  KeyHandles[key]->event = nullptr;
  size--;
  if (i == size) return;
  Put(i, S[size]);
  if (BubbleUp(i) == i) BubbleDown(i);
}

// An event picked among ties below the root is removed at once: a hole there would sit
// below events it must not pass.
void EventList::Detach(Event** entry) {
  TAVRIN_ASSERT(size > 0 && !RootIsHole);
  if (entry != &KeyRecords[S[0].key]) {
    Remove(entry);
    return;
  }
  KeyHandles[S[0].key]->event = nullptr;
  S[0].time = -std::numeric_limits<double>::infinity();
  RootIsHole = true;
}

// The fired group was not rescheduled: its record leaves the heap as Remove would take it.
void EventList::CloseHole() {
  RootIsHole = false;
  int key = S[0].key;
  FreeList.push_back(KeyRecords[key]);
  KeyRecords[key] = nullptr;
  size--;
  if (size == 0) return;
  Put(0, S[size]);
  BubbleDown(0);
}

void EventList::Remove(PAddress* address) {
  TAVRIN_ASSERT(address->event != nullptr);
  Remove(address->event);
}

void EventList::ModifyKey(Event** entry) {
  int key = KeyAt(entry);
  TAVRIN_ASSERT(key >= 0 && key < NumKeys);
  int i = Positions[key];
  TAVRIN_ASSERT(i >= 0 && i < size && S[i].key == key);
  S[i].time = KeyRecords[key]->exec_time;
  if (BubbleUp(i) == i) BubbleDown(i);
}

// The groups leave the simulator's reactivation list by the caller's hand; only their
// handles are reset here.
void EventList::ClearEventList() {
  for (int i = 0; i < size; i++) {
    int key = S[i].key;
    FreeList.push_back(KeyRecords[key]);
    KeyRecords[key] = nullptr;
    KeyHandles[key]->clear();
  }
  size = 0;
  RootIsHole = false;
}

// An event tied with the root is one of the root's children or below a tied child, so
// the search for ties starts only when a child is tied, on rank too.
Event** EventList::EarliestAmongTies() {
  if (!TiedWithRoot(1) && !TiedWithRoot(2)) return &KeyRecords[S[0].key];
  FindEquals(0);
  Event** picked = &KeyRecords[S[PickWeighted()].key];
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
  for (int k = 0; k < EqSize; k++) total += KeyGroups[S[Equalities[k]].key]->Weight();
  double target = TheDistribution->RNG->rnd() * total;
  double running = 0;
  for (int k = 0; k < EqSize; k++) {
    running += KeyGroups[S[Equalities[k]].key]->Weight();
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
    const Event* parent = KeyRecords[S[(i - 1) / 2].key];
    const Event* child = KeyRecords[S[i].key];
    if (child != nullptr && parent != nullptr && child->exec_time < parent->exec_time) return i;
  }
  for (int i = 0; i < size; i++) {
    int key = S[i].key;
    if (KeyRecords[key] == nullptr || KeyHandles[key]->event != &KeyRecords[key])
      return i + 100000;
  }
  for (int i = 0; i < size; i++)
    if (Positions[S[i].key] != i) return i == 0 ? capacity : i;
  for (int i = 0; i < size; i++)
    if (IsFree(KeyRecords[S[i].key])) return i == 0 ? -capacity : -i;
  return 0;
}

void EventList::PrintList(std::ostream& out) {
  out << "------------------Event List-----------------" << std::endl;
  for (int i = 0; i < size; i++) {
    const Event* record = KeyRecords[S[i].key];
    out << "(" << record->action_ptr->ActionName << ") " << record->start_time << " --> "
        << record->exec_time << std::endl;
  }
  out << "---------------------------------------------" << std::endl << std::endl;
}
