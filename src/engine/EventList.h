#ifndef TAVRIN_ENGINE_EVENTLIST_H
#define TAVRIN_ENGINE_EVENTLIST_H

#include <ostream>
#include <vector>

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
// slot share one cache line. The group, its handle, its event's record and its position in
// the heap are in tables indexed by key, so a sift reads one line per level and writes one
// int per moved event; the handles point at the record table, which does not move.
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
      return &KeyRecords[S[0].key];
    return EarliestAmongTies();
  }
  // The completion time and the group of the event an entry holds, read from the heap and
  // the key tables rather than from the event's record.
  double TimeAt(Event** entry) const { return S[Positions[KeyAt(entry)]].time; }
  BaseActionClass* GroupAt(Event** entry) const { return KeyGroups[KeyAt(entry)]; }
  void ClearEventList();
  int IsValid();
  void PrintList(std::ostream& out);

  int getSize() const { return size; }
  int getCapacity() const { return capacity; }
  int getNumFree() const { return static_cast<int>(FreeList.size()); }

 private:
  struct Slot {
    double time;   // the record's exec_time; minus infinity at the root's hole
    int key;
  };
  int KeyAt(Event** entry) const { return static_cast<int>(entry - KeyRecords); }
  int KeyOf(PAddress* handle, BaseActionClass* group);   // assigns one on first sight
  void GrowKeys();

  int BubbleUp(int i);
  void BubbleDown(int i);
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
  bool IsFree(const Event* record) const;

  // The unused records, its back acting as the front. Its room is reserved for every
  // record at construction, so returning a record never allocates.
  std::vector<Event*> FreeList;
  int capacity;
  Event* Records;      // owned: every record, allocated once
  Slot* Storage;       // owned: 64-byte aligned, one slot more than the heap's
  Slot* S;             // Storage + 1: the heap in array order
  bool RootIsHole;     // the root holds the key of the event being fired
  int size;
  // Per key, owned, KeyCapacity entries of which NumKeys are used: the event's record
  // (null when the group has none), the group, its handle, and its slot in the heap.
  Event** KeyRecords;
  BaseActionClass** KeyGroups;
  PAddress** KeyHandles;
  int* Positions;
  int NumKeys;
  int KeyCapacity;
  int* Equalities;     // owned: heap slots of the events tied with the root
  int EqSize;          // valid entries of Equalities; 0 between calls
};

#endif
