#include "engine/EventList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <random>
#include <sstream>
#include <vector>

#include "AllocationCounter.h"
#include "framework/BaseActionClass.h"
#include "random/UserDistributions.h"

namespace {

// A group reduced to what the event list asks of it: a rank, a weight and its handle.
class StubGroup : public BaseActionClass {
 public:
  StubGroup(const char* name, int rank, double weight) : rank_(rank), weight_(weight) {
    defineName(name);
    EventPointer = &Address;
  }
  int Rank() override { return rank_; }
  double Weight() override { return weight_; }

  PAddress Address;

 private:
  int rank_;
  double weight_;
};

// Hands out fixed uniform numbers and counts the draws; installed in the process-wide
// distribution object for the lifetime of the test that creates it.
class ScriptedGenerator : public RandomNumberGenerator {
 public:
  explicit ScriptedGenerator(double value) : Value(value), Draws(0) {
    saved_ = TheDistribution->RNG;
    TheDistribution->RNG = this;
  }
  ~ScriptedGenerator() override { TheDistribution->RNG = saved_; }
  double rnd() override {
    Draws++;
    return Value;
  }

  double Value;
  int Draws;

 private:
  RandomNumberGenerator* saved_;
};

void Schedule(EventList& list, StubGroup& group, double time) {
  Event event(time, 0.0, &group);
  list.Insert(&event);
}

BaseActionClass* Owner(Event** slot) { return slot == nullptr ? nullptr : (*slot)->action_ptr; }

}  // namespace

TEST(EventListOrder, EmptyListHasNoEarliestEvent) {
  EventList list(3);
  EXPECT_EQ(list.Earliest(), nullptr);
}

TEST(EventListOrder, EarliestTimeComesFirstWhateverTheInsertionOrder) {
  StubGroup a("a", 0, 1), b("b", 5, 1), c("c", 0, 1);
  EventList list(4);
  Schedule(list, a, 3.0);
  Schedule(list, b, 2.0);
  Schedule(list, c, 1.0);
  EXPECT_EQ(Owner(list.Earliest()), &c);
  list.Remove(&c.Address);
  EXPECT_EQ(Owner(list.Earliest()), &b);
  EXPECT_EQ(list.IsValid(), 0);
}

TEST(EventListOrder, TheCallersRecordIsCopiedNotKept) {
  StubGroup a("a", 0, 1);
  EventList list(2);
  Event scratch(4.0, 1.0, &a);
  list.Insert(&scratch);
  scratch.exec_time = 99.0;
  EXPECT_NE(*a.Address.event, &scratch);
  EXPECT_EQ((*a.Address.event)->exec_time, 4.0);
  EXPECT_EQ((*a.Address.event)->start_time, 1.0);
}

// Removing the root moves the last event into slot 0. If that move does not update the
// group's PAddress, removing the group later frees the wrong slot.
TEST(EventListRemoval, MovedEventCanStillBeRemovedThroughItsGroup) {
  StubGroup g0("g0", 0, 1), g1("g1", 0, 1), g2("g2", 0, 1), g3("g3", 0, 1);
  EventList list(5);
  Schedule(list, g0, 1.0);
  Schedule(list, g1, 2.0);
  Schedule(list, g2, 3.0);
  Schedule(list, g3, 4.0);
  list.Remove(&g0.Address);   // the 4.0 event moves up into the root and sinks again
  list.Remove(&g3.Address);
  EXPECT_EQ(list.IsValid(), 0);
  EXPECT_EQ(g3.Address.event, nullptr);
  EXPECT_EQ(Owner(list.Earliest()), &g1);
  EXPECT_EQ(list.getSize(), 2);
}

TEST(EventListRemoval, RemovingTheLastSlotLeavesTheOthersInPlace) {
  StubGroup g0("g0", 0, 1), g1("g1", 0, 1), g2("g2", 0, 1);
  EventList list(3);
  Schedule(list, g0, 1.0);
  Schedule(list, g1, 2.0);
  Schedule(list, g2, 3.0);
  Event** slot0 = g0.Address.event;
  Event** slot1 = g1.Address.event;
  Event* record0 = *slot0;
  Event* record1 = *slot1;
  list.Remove(g2.Address.event);
  EXPECT_EQ(g0.Address.event, slot0);
  EXPECT_EQ(g1.Address.event, slot1);
  EXPECT_EQ(*slot0, record0);
  EXPECT_EQ(*slot1, record1);
  EXPECT_EQ(list.getSize(), 2);
}

TEST(EventListRemoval, ClearingReturnsEveryRecordAndResetsEveryHandle) {
  StubGroup g0("g0", 0, 1), g1("g1", 0, 1);
  EventList list(3);
  Schedule(list, g0, 1.0);
  Schedule(list, g1, 2.0);
  g1.Address.setReact(std::list<BaseActionClass*>::iterator());
  list.ClearEventList();
  EXPECT_EQ(g0.Address.event, nullptr);
  EXPECT_EQ(g1.Address.event, nullptr);
  EXPECT_TRUE(g1.Address.isReactNull());
  EXPECT_EQ(list.getSize(), 0);
  EXPECT_EQ(list.Earliest(), nullptr);
  EXPECT_EQ(list.IsValid(), 0);
}

TEST(EventListRemoval, RescheduledEventMovesToItsNewPlace) {
  StubGroup g0("g0", 0, 1), g1("g1", 0, 1), g2("g2", 0, 1);
  EventList list(3);
  Schedule(list, g0, 1.0);
  Schedule(list, g1, 2.0);
  Schedule(list, g2, 3.0);
  (*g0.Address.event)->exec_time = 5.0;   // later than both others: must sink
  list.ModifyKey(g0.Address.event);
  EXPECT_EQ(Owner(list.Earliest()), &g1);
  (*g2.Address.event)->exec_time = 0.5;   // earlier than all: must rise
  list.ModifyKey(g2.Address.event);
  EXPECT_EQ(Owner(list.Earliest()), &g2);
  EXPECT_EQ(list.IsValid(), 0);
}

TEST(EventListRemoval, InsertingBeyondTheCapacityIsAnInternalError) {
  StubGroup g0("g0", 0, 1), g1("g1", 0, 1);
  EventList list(1);
  Schedule(list, g0, 1.0);
  EXPECT_DEATH(Schedule(list, g1, 2.0), "!! Assertion failed in file .*, line [0-9]+");
}

TEST(EventListTies, HigherRankFiresWithoutADraw) {
  ScriptedGenerator generator(0.0);
  StubGroup low("low", 1, 1), high("high", 2, 1);
  EventList list(3);
  Schedule(list, low, 1.0);
  Schedule(list, high, 1.0);
  EXPECT_EQ(Owner(list.Earliest()), &high);
  EXPECT_EQ(generator.Draws, 0);
}

TEST(EventListTies, SingleEarliestEventNeedsNoDraw) {
  ScriptedGenerator generator(0.0);
  StubGroup a("a", 0, 1), b("b", 0, 1);
  EventList list(3);
  Schedule(list, a, 1.0);
  Schedule(list, b, 2.0);
  EXPECT_EQ(Owner(list.Earliest()), &a);
  EXPECT_EQ(generator.Draws, 0);
}

// Weights 1 and 3 sum to 4. u = 0.2 gives the target 0.8, passed by the first running sum
// (1); u = 0.25 gives 1.0, which 1 does not pass strictly, so the second (sum 4) fires.
TEST(EventListTies, EqualRankIsDrawnByWeightWithExactlyOneDraw) {
  StubGroup first("first", 1, 1.0), second("second", 1, 3.0);
  EventList list(3);
  Schedule(list, first, 2.0);
  Schedule(list, second, 2.0);
  {
    ScriptedGenerator generator(0.2);
    EXPECT_EQ(Owner(list.Earliest()), &first);
    EXPECT_EQ(generator.Draws, 1);
  }
  {
    ScriptedGenerator generator(0.25);
    EXPECT_EQ(Owner(list.Earliest()), &second);
    EXPECT_EQ(generator.Draws, 1);
  }
}

// Five tied events inserted in order sit in slots 0..4 (ties never swap). Pre-order visits
// slots 0, 1, 3, 4, 2. With unit weights and u = 0.5 the target is 2.5, first passed by the
// third running sum (3): the event in slot 3, where array order would pick slot 2.
TEST(EventListTies, TiedEventsAreWeighedInPreOrder) {
  StubGroup g0("g0", 0, 1), g1("g1", 0, 1), g2("g2", 0, 1), g3("g3", 0, 1), g4("g4", 0, 1);
  EventList list(6);
  for (StubGroup* g : {&g0, &g1, &g2, &g3, &g4}) Schedule(list, *g, 7.0);
  ScriptedGenerator generator(0.5);
  EXPECT_EQ(Owner(list.Earliest()), &g3);
  generator.Value = 0.7;   // target 3.5: the fourth sum (4) belongs to slot 4
  EXPECT_EQ(Owner(list.Earliest()), &g4);
}

// With all weights 0 no running sum passes the target 0; the last event in pre-order
// (slot 2, holding g2) fires.
TEST(EventListTies, ZeroWeightsLetTheLastTiedEventFire) {
  StubGroup g0("g0", 0, 0), g1("g1", 0, 0), g2("g2", 0, 0), g3("g3", 0, 0), g4("g4", 0, 0);
  EventList list(6);
  for (StubGroup* g : {&g0, &g1, &g2, &g3, &g4}) Schedule(list, *g, 1.0);
  ScriptedGenerator generator(0.3);
  EXPECT_EQ(Owner(list.Earliest()), &g2);
}

// u = 1 (a generator may return its upper end) makes the target the whole sum, which no
// running sum passes strictly: the last tied event fires instead of none.
TEST(EventListTies, DrawAtTheUpperEndPicksTheLastTiedEvent) {
  StubGroup a("a", 0, 0.1), b("b", 0, 0.2);
  EventList list(3);
  Schedule(list, a, 1.0);
  Schedule(list, b, 1.0);
  ScriptedGenerator generator(1.0);
  EXPECT_EQ(Owner(list.Earliest()), &b);
}

// The drawn event must be a tied one: a later event sharing a subtree is never chosen.
TEST(EventListTies, EventsOfLaterTimeAreNeverCandidates) {
  StubGroup a("a", 0, 1), b("b", 0, 1), late("late", 0, 100);
  EventList list(4);
  Schedule(list, a, 1.0);
  Schedule(list, late, 2.0);
  Schedule(list, b, 1.0);
  ScriptedGenerator generator(0.99);   // target 1.98 of 2: b, the second tied event
  EXPECT_EQ(Owner(list.Earliest()), &b);
}

TEST(EventOrdering, NaNTimeIsNeitherEarlierNorLater) {
  StubGroup a("a", 0, 1), b("b", 0, 1);
  Event nan(std::nan(""), 0, &a);
  Event one(1.0, 0, &b);
  EventEarlier earlier;
  EventEqual equal;
  EXPECT_FALSE(earlier(nan, one));
  EXPECT_FALSE(earlier(one, nan));
  EXPECT_FALSE(equal(nan, nan));
}

TEST(EventListDiagnosis, ChildEarlierThanItsParentIsReportedByItsSlot) {
  StubGroup g0("g0", 0, 1), g1("g1", 0, 1), g2("g2", 0, 1);
  EventList list(3);
  Schedule(list, g0, 1.0);
  Schedule(list, g1, 2.0);
  Schedule(list, g2, 3.0);
  (*g2.Address.event)->exec_time = 0.0;   // changed without ModifyKey
  EXPECT_EQ(list.IsValid(), 2);
}

TEST(EventListDiagnosis, StaleBackPointerIsReportedAboveOneHundredThousand) {
  StubGroup g0("g0", 0, 1), g1("g1", 0, 1);
  EventList list(3);
  Schedule(list, g0, 1.0);
  Schedule(list, g1, 2.0);
  g1.Address.event = g0.Address.event;
  EXPECT_EQ(list.IsValid(), 100001);
}

TEST(EventListDiagnosis, ListingShowsEachEventsStartAndCompletion) {
  StubGroup a("Arrive", 0, 1), b("Serve", 0, 1);
  EventList list(3);
  Event first(2.5, 1, &a);
  Event second(4, 0.5, &b);
  list.Insert(&first);
  list.Insert(&second);
  std::ostringstream out;
  list.PrintList(out);
  EXPECT_EQ(out.str(),
            "------------------Event List-----------------\n"
            "(Arrive) 1 --> 2.5\n"
            "(Serve) 0.5 --> 4\n"
            "---------------------------------------------\n\n");
}

namespace {

// Shadow of the list: the time each group is scheduled for, or NaN when it has none.
struct Shadow {
  static const int kGroups = 24;
  double time[kGroups];
};

// Checks what the list promises after every operation: the heap is valid, each group's
// handle points at a slot holding its own event, groups without events have none, and
// the list holds exactly the scheduled events.
void ExpectConsistent(EventList& list, StubGroup** groups, const Shadow& shadow) {
  ASSERT_EQ(list.IsValid(), 0);
  int scheduled = 0;
  for (int i = 0; i < Shadow::kGroups; i++) {
    PAddress& address = groups[i]->Address;
    if (std::isnan(shadow.time[i])) {
      ASSERT_EQ(address.event, nullptr) << "group " << i;
      continue;
    }
    scheduled++;
    ASSERT_NE(address.event, nullptr) << "group " << i;
    ASSERT_EQ((*address.event)->action_ptr, groups[i]);
    ASSERT_EQ((*address.event)->exec_time, shadow.time[i]);
  }
  ASSERT_EQ(list.getSize(), scheduled);
}

}  // namespace

// Times are drawn from a few integers so that ties on time, and on time and rank, are
// frequent; ranks take three values.
TEST(EventListInvariants, LongRandomSequenceKeepsHeapAndHandlesConsistentWithoutAllocating) {
  std::vector<StubGroup*> owned;
  StubGroup* groups[Shadow::kGroups];
  char name[16];
  for (int i = 0; i < Shadow::kGroups; i++) {
    std::snprintf(name, sizeof name, "g%d", i);
    owned.push_back(new StubGroup(name, i % 3, 1.0 + i % 4));
    groups[i] = owned.back();
  }
  Shadow shadow;
  for (double& t : shadow.time) t = std::nan("");
  std::mt19937 random(20261208);
  ScriptedGenerator generator(0.5);
  {
    EventList list(Shadow::kGroups + 1);
    long allocationsBefore = AllocationCount();
    for (int step = 0; step < 20000; step++) {
      int g = static_cast<int>(random() % Shadow::kGroups);
      double time = static_cast<double>(random() % 8);
      int kind = static_cast<int>(random() % 10);
      PAddress& address = groups[g]->Address;
      if (kind == 0 && step % 97 == 0) {
        list.ClearEventList();
        for (double& t : shadow.time) t = std::nan("");
      } else if (address.event == nullptr) {
        Event event(time, 0, groups[g]);
        list.Insert(&event);
        shadow.time[g] = time;
      } else if (kind < 4) {
        (*address.event)->exec_time = time;
        list.ModifyKey(address.event);
        shadow.time[g] = time;
      } else if (kind < 7) {
        list.Remove(address.event);
        shadow.time[g] = std::nan("");
      } else if (kind < 9) {
        list.Remove(&address);
        shadow.time[g] = std::nan("");
      } else {
        Event** earliest = list.Earliest();
        // The chosen event is at the smallest time and, there, of the highest rank.
        for (int i = 0; i < Shadow::kGroups; i++) {
          if (std::isnan(shadow.time[i])) continue;
          ASSERT_LE((*earliest)->exec_time, shadow.time[i]);
          if (shadow.time[i] == (*earliest)->exec_time) {
            ASSERT_GE((*earliest)->action_ptr->Rank(), groups[i]->Rank());
          }
        }
      }
      ExpectConsistent(list, groups, shadow);
      if (HasFatalFailure()) break;
    }
    EXPECT_EQ(AllocationCount(), allocationsBefore);
  }
  EXPECT_GT(generator.Draws, 0);   // ties on time and rank did occur and were drawn
  for (StubGroup* g : owned) delete g;
}

namespace {

// The textbook binary heap over the same order, one level per step of a sift: the list
// must keep every event in the slot this heap gives it, since the slots decide the order
// in which tied events are weighed.
class TextbookHeap {
 public:
  explicit TextbookHeap(std::vector<StubGroup*>& groups) : groups_(groups) {}
  void Insert(int g, double time) {
    time_[g] = time;
    heap_.push_back(g);
    Up(static_cast<int>(heap_.size()) - 1);
  }
  void Remove(int g) {
    int i = Find(g);
    heap_[i] = heap_.back();
    heap_.pop_back();
    if (i < static_cast<int>(heap_.size()) && Up(i) == i) Down(i);
  }
  void Reschedule(int g, double time) {
    int i = Find(g);
    time_[g] = time;
    if (Up(i) == i) Down(i);
  }
  std::string Order() const {
    std::string order;
    for (int g : heap_) order += std::string(groups_[g]->ActionName) + " ";
    return order;
  }

 private:
  bool Earlier(int a, int b) const {
    return time_.at(a) < time_.at(b) ||
           (time_.at(a) == time_.at(b) && groups_[a]->Rank() > groups_[b]->Rank());
  }
  int Find(int g) const {
    for (std::size_t i = 0; i < heap_.size(); i++)
      if (heap_[i] == g) return static_cast<int>(i);
    return -1;
  }
  int Up(int i) {
    while (i > 0 && Earlier(heap_[i], heap_[(i - 1) / 2])) {
      std::swap(heap_[i], heap_[(i - 1) / 2]);
      i = (i - 1) / 2;
    }
    return i;
  }
  void Down(int i) {
    const int n = static_cast<int>(heap_.size());
    for (int child = 2 * i + 1; child < n; child = 2 * i + 1) {
      if (child + 1 < n && Earlier(heap_[child + 1], heap_[child])) child++;
      if (!Earlier(heap_[child], heap_[i])) break;
      std::swap(heap_[i], heap_[child]);
      i = child;
    }
  }

  std::vector<StubGroup*>& groups_;
  std::vector<int> heap_;
  std::map<int, double> time_;
};

std::string ListOrder(EventList& list) {
  std::ostringstream out;
  list.PrintList(out);
  std::istringstream lines(out.str());
  std::string line, order;
  while (std::getline(lines, line))
    if (!line.empty() && line[0] == '(') order += line.substr(1, line.find(')') - 1) + " ";
  return order;
}

}  // namespace

// A heap deep enough for the sift's two-level steps, with times that are sometimes tied
// (whole numbers) and sometimes not, and three ranks.
TEST(EventListInvariants, EveryEventStaysInTheSlotTheTextbookHeapGivesIt) {
  const int kGroups = 300;
  std::vector<std::unique_ptr<StubGroup>> owned;   // outlives the list, which resets handles
  std::vector<StubGroup*> groups;
  char name[16];
  for (int i = 0; i < kGroups; i++) {
    std::snprintf(name, sizeof name, "g%d", i);
    owned.push_back(std::make_unique<StubGroup>(name, i % 3, 1.0));
    groups.push_back(owned.back().get());
  }
  std::mt19937 random(4711);
  std::uniform_real_distribution<double> uniform(0.0, 50.0);
  EventList list(kGroups + 1);
  TextbookHeap reference(groups);
  for (int step = 0; step < 20000; step++) {
    int g = static_cast<int>(random() % kGroups);
    double time = step % 2 == 0 ? std::floor(uniform(random)) : uniform(random);
    PAddress& address = groups[g]->Address;
    int kind = static_cast<int>(random() % 3);
    if (address.event == nullptr) {
      Event event(time, 0, groups[g]);
      list.Insert(&event);
      reference.Insert(g, time);
    } else if (kind == 0) {
      (*address.event)->exec_time = time;
      list.ModifyKey(address.event);
      reference.Reschedule(g, time);
    } else {
      list.Remove(address.event);
      reference.Remove(g);
    }
    ASSERT_EQ(ListOrder(list), reference.Order()) << "step " << step;
  }
}

// The fired event leaves a hole at the root until the step ends; its group has no event
// meanwhile, and rescheduling it refills the root.
TEST(EventListDetach, RescheduledFiredGroupRefillsTheRootInOrder) {
  StubGroup a("a", 0, 1), b("b", 0, 1), c("c", 0, 1);
  EventList list(4);
  Schedule(list, a, 1.0);
  Schedule(list, b, 2.0);
  Schedule(list, c, 3.0);
  list.Detach(list.Earliest());
  EXPECT_EQ(a.Address.event, nullptr);
  Schedule(list, a, 2.5);
  EXPECT_EQ(list.getSize(), 3);
  EXPECT_EQ(list.IsValid(), 0);
  EXPECT_EQ(Owner(list.Earliest()), &b);
  EXPECT_EQ(Owner(a.Address.event), &a);
  EXPECT_EQ((*a.Address.event)->exec_time, 2.5);
}

TEST(EventListDetach, FiredGroupNotRescheduledLeavesAtTheNextEarliest) {
  StubGroup a("a", 0, 1), b("b", 0, 1);
  EventList list(3);
  Schedule(list, a, 1.0);
  Schedule(list, b, 2.0);
  list.Detach(list.Earliest());
  EXPECT_EQ(Owner(list.Earliest()), &b);
  EXPECT_EQ(list.getSize(), 1);
  EXPECT_EQ(a.Address.event, nullptr);
  EXPECT_EQ(list.IsValid(), 0);
  list.Detach(list.Earliest());
  EXPECT_EQ(list.Earliest(), nullptr);
  EXPECT_EQ(list.getSize(), 0);
}

// Nothing scheduled while the hole is open passes it, even at the fired time with a higher
// rank; it comes first once the hole is closed.
TEST(EventListDetach, EventsScheduledMeanwhileStayBelowTheHole) {
  StubGroup a("a", 0, 1), b("b", 0, 1), urgent("urgent", 9, 1);
  EventList list(4);
  Schedule(list, a, 1.0);
  Schedule(list, b, 2.0);
  list.Detach(list.Earliest());
  Schedule(list, urgent, 1.0);
  EXPECT_EQ(Owner(list.Earliest()), &urgent);
  EXPECT_EQ(list.IsValid(), 0);
  EXPECT_EQ(a.Address.event, nullptr);
}

// A tie picked below the root is removed at once, as Remove does.
TEST(EventListDetach, EventPickedBelowTheRootIsRemovedAtOnce) {
  StubGroup a("a", 0, 1), b("b", 0, 3);
  EventList list(3);
  Schedule(list, a, 1.0);
  Schedule(list, b, 1.0);
  ScriptedGenerator generator(0.5);   // target 2 of total weight 4: b, the second
  Event** picked = list.Earliest();
  ASSERT_EQ(Owner(picked), &b);
  list.Detach(picked);
  EXPECT_EQ(list.getSize(), 1);
  EXPECT_EQ(b.Address.event, nullptr);
  EXPECT_EQ(list.IsValid(), 0);
}

// A simulator's list never sees more groups than its capacity; a list that does grows its
// per-group tables, and a group still scheduled keeps a handle that reaches its event.
TEST(EventListKeys, MoreDistinctGroupsThanCapacityKeepEveryHandleValid) {
  StubGroup a("a", 0, 1), b("b", 0, 1), c("c", 0, 1), d("d", 0, 1);
  EventList list(2);
  Schedule(list, a, 4.0);
  Schedule(list, b, 1.0);
  list.Remove(&b.Address);
  Schedule(list, c, 2.0);   // a third group: the tables grow while a is scheduled
  list.Remove(&c.Address);
  Schedule(list, d, 3.0);
  ASSERT_EQ(list.IsValid(), 0);
  EXPECT_EQ(Owner(a.Address.event), &a);
  EXPECT_EQ((*a.Address.event)->exec_time, 4.0);
  EXPECT_EQ(Owner(list.Earliest()), &d);
  list.Remove(&d.Address);
  EXPECT_EQ(Owner(list.Earliest()), &a);
  EXPECT_EQ(list.getSize(), 1);
}

// A group's handle remembers the key the last list gave it; another list must not take
// that key for its own.
TEST(EventListKeys, GroupMovedBetweenListsIsNotConfusedWithAnother) {
  StubGroup a("a", 0, 1), b("b", 0, 1);
  EventList first(2), second(2);
  Schedule(first, b, 1.0);
  Schedule(second, a, 5.0);
  second.Remove(&a.Address);
  Schedule(first, a, 2.0);
  ASSERT_EQ(first.IsValid(), 0);
  EXPECT_EQ(Owner(b.Address.event), &b);
  EXPECT_EQ(Owner(a.Address.event), &a);
  first.Remove(&b.Address);
  EXPECT_EQ(Owner(first.Earliest()), &a);
  EXPECT_EQ(b.Address.event, nullptr);
}
