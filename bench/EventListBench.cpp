// The event list's operations at 10, 1 000 and 100 000 groups. Random choices are drawn
// before timing starts, so the figures are the list's own cost.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "engine/EventList.h"
#include "framework/BaseActionClass.h"

namespace {

// A group reduced to what the event list asks of it: one rank, one weight, its handle.
class BenchGroup : public BaseActionClass {
 public:
  BenchGroup() { EventPointer = &Address; }
  int Rank() override { return 1; }
  double Weight() override { return 1.0; }

  PAddress Address;
};

// Precomputed draws, read cyclically: group indices and delays with mean n, so the heap
// keeps its size and shape while the clock moves on.
const int kDraws = 1 << 16;

struct Population {
  explicit Population(int n) : Groups(n), List(n + 1) {
    std::mt19937 generator(31415);
    std::uniform_int_distribution<int> pick(0, n - 1);
    std::exponential_distribution<double> delay(1.0 / n);
    for (int k = 0; k < kDraws; k++) {
      Picks.push_back(pick(generator));
      Delays.push_back(delay(generator));
    }
    for (BenchGroup& group : Groups) Schedule(&group, Delays[Next++ % kDraws]);
  }

  void Schedule(BenchGroup* group, double time) {
    Event event(time, 0.0, group);
    List.Insert(&event);
  }

  std::vector<BenchGroup> Groups;
  EventList List;
  std::vector<int> Picks;
  std::vector<double> Delays;
  std::uint32_t Next = 0;
};

// Filling an empty list with one event per group; the clearing after each fill is linear
// and cheap next to the insertions, which it makes repeatable.
void BM_EventListInsert(benchmark::State& state) {
  int n = static_cast<int>(state.range(0));
  Population p(n);
  p.List.ClearEventList();
  for (auto _ : state) {
    for (int g = 0; g < n; g++) p.Schedule(&p.Groups[g], p.Delays[g % kDraws]);
    p.List.ClearEventList();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// A random group loses its event and gets a new one: what a step does to a group whose
// enabling changed twice.
void BM_EventListRemoveAndInsert(benchmark::State& state) {
  Population p(static_cast<int>(state.range(0)));
  double clock = 0;
  for (auto _ : state) {
    std::uint32_t k = p.Next++ % kDraws;
    BenchGroup* group = &p.Groups[p.Picks[k]];
    p.List.Remove(&group->Address);
    clock += 1.0;
    p.Schedule(group, clock + p.Delays[k]);
  }
  benchmark::DoNotOptimize(p.List.Earliest());
  state.SetItemsProcessed(state.iterations());
}

// A random group's event moves to a new time in place: a reactivation.
void BM_EventListReschedule(benchmark::State& state) {
  Population p(static_cast<int>(state.range(0)));
  double clock = 0;
  for (auto _ : state) {
    std::uint32_t k = p.Next++ % kDraws;
    Event** slot = p.Groups[p.Picks[k]].Address.event;
    clock += 1.0;
    (*slot)->exec_time = clock + p.Delays[k];
    p.List.ModifyKey(slot);
  }
  benchmark::DoNotOptimize(p.List.Earliest());
  state.SetItemsProcessed(state.iterations());
}

// The firing pattern: take the earliest event, remove it and schedule its group again.
void BM_EventListHold(benchmark::State& state) {
  Population p(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Event** slot = p.List.Earliest();
    double now = (*slot)->exec_time;
    BenchGroup* group = static_cast<BenchGroup*>((*slot)->action_ptr);
    p.List.Remove(slot);
    p.Schedule(group, now + p.Delays[p.Next++ % kDraws]);
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_EventListInsert)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK(BM_EventListRemoveAndInsert)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK(BM_EventListReschedule)->Arg(10)->Arg(1000)->Arg(100000);
BENCHMARK(BM_EventListHold)->Arg(10)->Arg(1000)->Arg(100000);

}  // namespace
