#ifndef TAVRIN_ENGINE_EVENTLIST_H
#define TAVRIN_ENGINE_EVENTLIST_H

#include <cstddef>
#include <limits>
#include <ostream>

#include "engine/Event.h"

// EventEarlier: the heap order, earliest completion first and, at equal times, the higher
// rank first. A NaN time compares false both ways.
class EventEarlier {
 public:
  bool operator()(const Event& e1, const Event& e2) const;
};

// EventEqual: true for events tied on both time and rank, which only a draw can separate.
class EventEqual {
 public:
  bool operator()(const Event& e1, const Event& e2) const;
};

// EventList: the pending completion of each enabled activity group, earliest first;
// a tie on time and rank is settled by one draw weighted by the groups. Every group's
// PAddress points at the list's entry holding its event's record, so no operation searches.
//
// Layout: a group gets a key (a dense index) the first time it is scheduled, and the
// heap's slots hold only a time and a key, 16 bytes, placed so that the two children of a
// slot share one cache line. Everything else the list keeps about a group, its handle and
// its event's record (which names the group), is one cache line per key, so that a firing
// touches one line for the fired group; the slot of each key in the heap is a table of its
// own, which a sift writes once per moved event. The handles point into the key table, which does not move while
// the list is used within its capacity of groups.
class EventList {
 public:
  explicit EventList(int capacity);
  ~EventList();
  EventList(const EventList&) = delete;
  EventList& operator=(const EventList&) = delete;

  void Insert(Event* e);
  void Remove(Event** slot);
  // Remove, for the event being fired: at the root, its record stays in place until the
  // step ends, so that rescheduling its group refills the root with one sift down instead
  // of a removal and an insertion. Until then the group has no event, as after Remove.
  void Detach(Event** slot);
  void Remove(PAddress* address);
  void ModifyKey(Event** slot);
  // Inline for the step: the common case, no event tied on time with the root, is settled
  // by two comparisons of times.
  Event** Earliest() {
    if (RootIsHole) CloseHole();
    if (size == 0) return nullptr;
    if ((size < 2 || S[1].time != S[0].time) && (size < 3 || S[2].time != S[0].time))
      return &Keys[S[0].key].record;
    return EarliestAmongTies();
  }
  // The completion time and the group of the event an entry holds: the time from the
  // heap's slot, the group from the entry's record.
  double TimeAt(Event** entry) const { return S[Positions[KeyAt(entry)]].time; }
  BaseActionClass* GroupAt(Event** entry) const { return GroupOf(KeyAt(entry)); }
  void ClearEventList();
  int IsValid();
  void PrintList(std::ostream& out);

  int getSize() const { return size; }
  int getCapacity() const { return capacity; }

 private:
  struct Slot {
    double time;   // the record's exec_time; minus infinity at the root's hole
    int key;
  };
  // The slot just past the heap's last, so that a last child alone needs no test: its
  // infinite time is never the earlier of two children.
  static constexpr Slot kSentinel{std::numeric_limits<double>::infinity(), -1};
  // What the list keeps per key. `record` points at `event` while the group has an event
  // in the list, and is null otherwise; the group's handle points at `record`.
  struct alignas(64) KeyEntry {
    Event* record;
    PAddress* handle;
    Event event;
  };
  // The group of a key whose event is in the list (the heap's keys, the fired one's).
  BaseActionClass* GroupOf(int key) const { return Keys[key].event.action_ptr; }
  int KeyAt(Event** entry) const {
    return static_cast<int>(reinterpret_cast<const KeyEntry*>(entry) - Keys);
  }
  int KeyOf(PAddress* handle);   // assigns one on first sight
  void GrowKeys();

  int BubbleUp(int i);
  void BubbleDown(int i);
  std::size_t LowerOneLevel(Slot* s, int* positions, std::size_t n, std::size_t i,
                            const Slot& moving) const;
  static void Settle(Slot* s, int* positions, std::size_t i, const Slot& moving);
  [[gnu::noinline, gnu::cold]] void LowerWithTies(std::size_t i, Slot moving);
  [[gnu::noinline]] void LowerDeep(std::size_t i);
  void Put(int i, Slot slot) {
    S[i] = slot;
    Positions[slot.key] = i;
  }
  bool Earlier(Slot a, Slot b) const;   // strictly earlier in the heap order
  bool TiedWithRoot(int i) const;       // a slot in the heap tied with the root
  void CloseHole();
  Event** EarliestAmongTies();   // Earliest when a child of the root has the root's time
  void FindEquals(int i);
  int PickWeighted();

  int capacity;
  Slot* Storage;       // owned: 64-byte aligned, a slot before the heap's first and one
                       // for the sentinel after its last
  Slot* S;             // Storage + 1: the heap in array order
  bool RootIsHole;     // the root holds the key of the event being fired
  int size;
  // Per key, owned, KeyCapacity entries of which NumKeys are used: the key's entry and
  // its slot in the heap.
  KeyEntry* Keys;
  int* Positions;
  int NumKeys;
  int KeyCapacity;
  int* Equalities;     // owned: heap slots of the events tied with the root
  int EqSize;          // valid entries of Equalities; 0 between calls
};

#endif
