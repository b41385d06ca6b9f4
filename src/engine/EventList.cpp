#include "engine/EventList.h"

#include <cstddef>
#include <limits>
#include <new>

#include "framework/BaseActionClass.h"
#include "framework/Errors.h"
#include "random/UserDistributions.h"

namespace {

// The slot array's alignment: with one slot before the heap's first, slots 2i + 1 and
// 2i + 2, the children of slot i, lie in one cache line, and so do slots 4i + 3 to 4i + 6,
// its grandchildren.
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
      Storage(nullptr),
      S(nullptr),
      RootIsHole(false),
      size(0),
      Keys(nullptr),
      Positions(nullptr),
      NumKeys(0),
      KeyCapacity(capacity > 0 ? capacity : 1),
      Equalities(nullptr),
      EqSize(0) {
  TAVRIN_ASSERT(capacity >= 0);
  Storage = static_cast<Slot*>(
      ::operator new[]((capacity + 2) * sizeof(Slot), std::align_val_t(kSlotAlignment)));
  S = Storage + 1;
  for (int i = -1; i <= capacity; i++) S[i] = kSentinel;
  Keys = new KeyEntry[KeyCapacity]();
  Positions = new int[KeyCapacity]();
  Equalities = new int[capacity];
}

EventList::~EventList() {
  ClearEventList();
  delete[] Equalities;
  delete[] Positions;
  delete[] Keys;
  ::operator delete[](Storage, std::align_val_t(kSlotAlignment));
}

// A simulator's list sees at most its capacity of groups and never grows; a list used
// with more distinct groups than that (a test's, a benchmark's) grows its key tables, and
// the scheduled groups' records and handles are pointed into the new table.
void EventList::GrowKeys() {
  int grown = 2 * KeyCapacity;
  KeyEntry* keys = new KeyEntry[grown]();
  int* positions = new int[grown]();
  for (int k = 0; k < NumKeys; k++) {
    keys[k] = Keys[k];
    positions[k] = Positions[k];
    if (Keys[k].record == nullptr) continue;
    keys[k].record = &keys[k].event;
    if (keys[k].handle->event == &Keys[k].record) keys[k].handle->event = &keys[k].record;
  }
  delete[] Keys;
  delete[] Positions;
  Keys = keys;
  Positions = positions;
  KeyCapacity = grown;
}

// A handle's key is trusted only when this list gave it: another list may have keyed the
// same group.
int EventList::KeyOf(PAddress* handle) {
  int key = handle->listKey;
  if (key >= 0 && key < NumKeys && Keys[key].handle == handle) return key;
  if (NumKeys == KeyCapacity) GrowKeys();
  key = NumKeys++;
  Keys[key].record = nullptr;
  Keys[key].handle = handle;
  handle->listKey = key;
  return key;
}

// The ranks, a virtual call each, are asked only on equal times.
inline bool EventList::Earlier(Slot a, Slot b) const {
  if (a.time < b.time) return true;
  return a.time == b.time && GroupOf(a.key)->Rank() > GroupOf(b.key)->Rank();
}

inline bool EventList::TiedWithRoot(int i) const {
  return i < size && S[i].time == S[0].time &&
         GroupOf(S[0].key)->Rank() == GroupOf(S[i].key)->Rank();
}

// Both sifts move a hole instead of swapping: each passed event is stored once in its new
// slot and the moving event once at the end, which leaves the heap exactly as the
// corresponding swaps would. The heap's arrays are read into locals, as the compiler would
// otherwise reload them after every store.
int EventList::BubbleUp(int i) {
  Slot* const s = S;
  int* const positions = Positions;
  const Slot moving = s[i];
  const int start = i;
  while (i > 0) {
    int parent = (i - 1) / 2;
    if (!Earlier(moving, s[parent])) break;
    s[i] = s[parent];
    positions[s[i].key] = i;
    i = parent;
  }
  if (i != start) {
    s[i] = moving;
    positions[moving.key] = i;
  }
  return i;
}

// One level of the sift down from the hole at i: the earlier child moves up into the hole
// if it is strictly earlier than the moving event. Returns the hole's new slot, or i when
// the moving event belongs there. The earlier child is chosen without a jump when the
// times differ (the common case), where a branch would be mispredicted about every other
// level; a last child alone is compared with the sentinel past the heap's end, whose time
// is infinite. The heap's arrays come in as arguments, as the compiler would otherwise
// reload the members after every store.
inline std::size_t EventList::LowerOneLevel(Slot* s, int* positions, std::size_t n,
                                            std::size_t i, const Slot& moving) const {
  std::size_t child = 2 * i + 1;
  const double left = s[child].time;
  const double right = s[child + 1].time;
  if (right != left)
    child += right < left;
  else if (child + 1 < n)
    child += GroupOf(s[child + 1].key)->Rank() > GroupOf(s[child].key)->Rank();
  const Slot next = s[child];
  if (!Earlier(next, moving)) return i;
  s[i] = next;
  positions[next.key] = static_cast<int>(i);
  return child;
}

// Places the moving event at the hole i, where the sift down ends.
inline void EventList::Settle(Slot* s, int* positions, std::size_t i, const Slot& moving) {
  s[i] = moving;
  positions[moving.key] = static_cast<int>(i);
}

// The sift down from the hole at i, one level at a time, asking the ranks wherever times
// are equal. Out of line and cold: a small heap's sift takes it only at equal times.
void EventList::LowerWithTies(std::size_t i, Slot moving) {
  Slot* const s = S;
  int* const positions = Positions;
  const std::size_t n = static_cast<std::size_t>(size);
  for (std::size_t hole; 2 * i + 1 < n; i = hole) {
    hole = LowerOneLevel(s, positions, n, i, moving);
    if (hole == i) break;
  }
  Settle(s, positions, i, moving);
}

// In a deep heap the sift goes two levels at a time where both are full: the four
// grandchildren of a slot lie in one cache line, so their times are read at once with the
// children's, and the earlier child and the earlier of its children are chosen together;
// the walk then waits on one chain of reads for two levels instead of two. The choices and
// stops are those of the one-level sift, which takes every level below and every pair of
// equal times, where the ranks are asked.
void EventList::LowerDeep(std::size_t i) {
  Slot* const s = S;
  int* const positions = Positions;
  const std::size_t n = static_cast<std::size_t>(size);
  const Slot moving = s[i];
  for (std::size_t child = 2 * i + 1; child < n; child = 2 * i + 1) {
    const std::size_t first = 2 * child + 1;   // the first of the four grandchildren
    if (first + 3 < n) {
      const double c0 = s[child].time, c1 = s[child + 1].time;
      const double g0 = s[first].time, g1 = s[first + 1].time;
      const double g2 = s[first + 2].time, g3 = s[first + 3].time;
      if (c0 != c1 && g0 != g1 && g2 != g3) {
        // Selected with masks: a conditional here is compiled into a jump that goes
        // either way at random.
        const std::size_t right = c1 < c0;
        const std::size_t underLeft = g1 < g0;
        const std::size_t underRight = 2 + (g3 < g2);
        const std::size_t earlier = child + right;
        const std::size_t below = first + ((underLeft & (right - 1)) | (underRight & (0 - right)));
        const Slot next = s[earlier];
        if (!Earlier(next, moving)) break;
        s[i] = next;
        positions[next.key] = static_cast<int>(i);
        i = earlier;
        const Slot last = s[below];
        if (!Earlier(last, moving)) break;
        s[i] = last;
        positions[last.key] = static_cast<int>(i);
        i = below;
        continue;
      }
    }
    const std::size_t hole = LowerOneLevel(s, positions, n, i, moving);
    if (hole == i) break;
    i = hole;
  }
  Settle(s, positions, i, moving);
}

// A heap with grandchildren below the start goes to LowerDeep. Otherwise the levels are
// few, and this loop calls nothing, so that it needs no saved registers: equal times, where
// the ranks must be asked, hand the rest of the sift to LowerWithTies. Indices are unsigned
// and 64-bit, so that no level spends instructions widening them.
void EventList::BubbleDown(int start) {
  const std::size_t n = static_cast<std::size_t>(size);
  std::size_t i = static_cast<std::size_t>(start);
  if (4 * i + 6 < n) return LowerDeep(i);
  Slot* const s = S;
  int* const positions = Positions;
  const Slot moving = s[i];
  for (std::size_t child = 2 * i + 1; child < n; child = 2 * i + 1) {
    const double left = s[child].time;
    const double right = s[child + 1].time;   // a last child alone meets the sentinel
    child += right < left;
    const Slot next = s[child];
    if (right == left || next.time == moving.time) return LowerWithTies(i, moving);
    if (!(next.time < moving.time)) break;
    s[i] = next;
    positions[next.key] = static_cast<int>(i);
    i = child;
  }
  if (i != static_cast<std::size_t>(start)) Settle(s, positions, i, moving);
}

// The caller's record is only copied, so one scratch event can serve every insertion. The
// group whose event is being fired gets its root back, with one sift down: nothing else
// can have passed the root's hole, whose time is minus infinity.
void EventList::Insert(Event* e) {
  PAddress* handle = e->action_ptr->EventPointer;
  if (RootIsHole && GroupOf(S[0].key) == e->action_ptr) {
    RootIsHole = false;
    KeyEntry& entry = Keys[S[0].key];
    entry.event = *e;
    S[0].time = e->exec_time;
    handle->event = &entry.record;
    BubbleDown(0);
    return;
  }
  TAVRIN_ASSERT(size < capacity);
  int key = KeyOf(handle);
  KeyEntry& entry = Keys[key];
  TAVRIN_ASSERT(entry.record == nullptr);
  entry.event = *e;
  entry.record = &entry.event;
  handle->event = &entry.record;
  Put(size, Slot{e->exec_time, key});
  size++;
  S[size] = kSentinel;
  BubbleUp(size - 1);
}

void EventList::Remove(Event** entry) {
  int key = KeyAt(entry);
  TAVRIN_ASSERT(key >= 0 && key < NumKeys);
  int i = Positions[key];
  TAVRIN_ASSERT(i >= 0 && i < size && S[i].key == key && Keys[key].record != nullptr);
  Keys[key].record = nullptr;
  Keys[key].handle->event = nullptr;
  size--;
  if (i == size) {
    S[size] = kSentinel;
    return;
  }
  Put(i, S[size]);
  S[size] = kSentinel;
  if (BubbleUp(i) == i) BubbleDown(i);
}

// An event picked among ties below the root is removed at once: a hole there would sit
// below events it must not pass.
void EventList::Detach(Event** entry) {
  TAVRIN_ASSERT(size > 0 && !RootIsHole);
  if (entry != &Keys[S[0].key].record) {
    Remove(entry);
    return;
  }
  Keys[S[0].key].handle->event = nullptr;
  S[0].time = -std::numeric_limits<double>::infinity();
  RootIsHole = true;
}

// The fired group was not rescheduled: its record leaves the heap as Remove would take it.
void EventList::CloseHole() {
  RootIsHole = false;
  Keys[S[0].key].record = nullptr;
  size--;
  if (size == 0) {
    S[0] = kSentinel;
    return;
  }
  Put(0, S[size]);
  S[size] = kSentinel;
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
  S[i].time = Keys[key].event.exec_time;
  if (BubbleUp(i) == i) BubbleDown(i);
}

// The groups leave the simulator's reactivation list by the caller's hand; only their
// handles are reset here.
void EventList::ClearEventList() {
  for (int i = 0; i < size; i++) {
    int key = S[i].key;
    Keys[key].record = nullptr;
    Keys[key].handle->clear();
  }
  size = 0;
  S[0] = kSentinel;
  RootIsHole = false;
}

// An event tied with the root is one of the root's children or below a tied child, so
// the search for ties starts only when a child is tied, on rank too.
Event** EventList::EarliestAmongTies() {
  if (!TiedWithRoot(1) && !TiedWithRoot(2)) return &Keys[S[0].key].record;
  FindEquals(0);
  Event** picked = &Keys[S[PickWeighted()].key].record;
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
// last tied event fires. A weight that is negative or not finite ends the run.
int EventList::PickWeighted() {
  double total = 0;
  for (int k = 0; k < EqSize; k++) {
    total += GroupOf(S[Equalities[k]].key)->CheckedWeight(nullptr);
  }
  double target = TheDistribution->RNG->rnd() * total;
  double running = 0;
  for (int k = 0; k < EqSize; k++) {
    running += GroupOf(S[Equalities[k]].key)->Weight();
    if (running > target) return Equalities[k];
  }
  return Equalities[EqSize - 1];
}

// Slot 0 cannot be reported by its own number where that number is the code, since 0
// means valid; capacity, which is no slot, stands for it.
int EventList::IsValid() {
  for (int i = 1; i < size; i++) {
    const Event* parent = Keys[S[(i - 1) / 2].key].record;
    const Event* child = Keys[S[i].key].record;
    if (child != nullptr && parent != nullptr && child->exec_time < parent->exec_time) return i;
  }
  for (int i = 0; i < size; i++) {
    const KeyEntry& entry = Keys[S[i].key];
    if (entry.record != &entry.event || entry.handle->event != &entry.record) return i + 100000;
  }
  for (int i = 0; i < size; i++)
    if (Positions[S[i].key] != i) return i == 0 ? capacity : i;
  return 0;
}

void EventList::PrintList(std::ostream& out) {
  out << "------------------Event List-----------------" << std::endl;
  for (int i = 0; i < size; i++) {
    const Event* record = Keys[S[i].key].record;
    out << "(" << record->action_ptr->ActionName << ") " << record->start_time << " --> "
        << record->exec_time << std::endl;
  }
  out << "---------------------------------------------" << std::endl << std::endl;
}
