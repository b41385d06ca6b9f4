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
// PAddress points at the heap slot of its event, so no operation searches.
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
  Event** Earliest();
  void ClearEventList();
  int IsValid();
  void PrintList(std::ostream& out);

  int getSize() const { return size; }
  int getCapacity() const { return capacity; }
  int getNumFree() const { return static_cast<int>(FreeList.size()); }

 private:
  int BubbleUp(int i);
  void BubbleDown(int i);
  void StoreAt(int i, Event* record);   // a record entering slot i
  void MoveTo(int i, int from);         // the event of slot from, moved to slot i
  bool Earlier(int i, int j) const;   // strictly earlier in the heap order
  bool TiedWithRoot(int i) const;     // a slot in the heap tied with the root
  void CloseHole();
  void FindEquals(int i);
  int PickWeighted();
  bool IsFree(const Event* record) const;

  EventEarlier EvEarlier;
  EventEqual EvEqual;
  // The unused records, its back acting as the front. Its room is reserved for every
  // record at construction, so returning a record never allocates.
  std::vector<Event*> FreeList;
  int capacity;
  Event* Records;      // owned: every record, allocated once
  Event** A;           // owned: the heap in array order; slots from size on hold null
  // owned: Times[i] is A[i]'s exec_time, so the sifts compare without following pointers;
  // minus infinity at the root while it is the hole left by Detach.
  double* Times;
  // owned: Addresses[i] is the handle of A[i]'s group, so that moving an event writes its
  // handle without reading its record and action: in a list of 100000 events each of those
  // reads is a cache miss, at every level of every sift.
  PAddress** Addresses;
  bool RootIsHole;     // the root holds the record of the event being fired
  int size;
  int* Equalities;     // owned: heap slots of the events tied with the root
  int EqSize;          // valid entries of Equalities; 0 between calls
};

#endif
