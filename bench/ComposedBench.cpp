// The cost of a replicated model: N copies of an M/M/1/K queue (lambda 0.8, mu 1, K 10)
// built with RepModel, run by the engine. One process per figure, so that its peak memory
// is its own. Prints one line of name=value pairs:
//   replicas, mode, model_s (CPU seconds to build the replicated model), setup_s (CPU
//   seconds to build the whole simulator: reward model, model, connectivity list, event
//   list), rss_kb (resident memory the simulator added), bytes_per_replica, peak_kb,
//   firings, ns_per_firing (CPU time of the timed steps, after a warm-up).
// Modes: plain (a reward model without variables), reward (one variable summing every
// queue's length, a worker per copy, as the reward model does today), direct (no
// framework: one heap of the N queues' next events, the plain event loop to compare with).
// Usage: composed_bench <replicas> <firings> <plain|reward|direct>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "BenchProcess.h"
#include "engine/EventList.h"
#include "engine/SimulatorClass.h"
#include "framework/composed/RepModel.h"
#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"
#include "platform/CPUTime.h"
#include "random/UserDistributions.h"
#include "rewards/PVModel.h"
#include "rewards/PerformanceVariableNode.h"
#include "rewards/TimeAveragedIntervalOfTime.h"
#include "study/BaseStudyClass.h"

namespace {

const double kArrivalRate = 0.8;
const double kServiceRate = 1.0;
const short kCapacity = 10;

int Replicas = 0;
bool WithReward = false;
double ModelSeconds = 0.0;

// The child: an M/M/1/K queue written as the generator writes an atomic model.
class QueueSAN : public SANModel {
 public:
  class QueueActivity : public Activity {
   public:
    QueueActivity(const char* name, int groupId, double rate) : Rate_(rate) {
      ActivityInitialize(name, groupId, Exponential, RaceEnabled, 1, 1, false);
    }
    double Weight() override { return 1.0; }
    int Rank() override { return 1; }
    double Rate() override { return Rate_; }
    double SampleDistribution() override { return TheDistribution->Exponential(Rate_); }
    double* ReturnDistributionParameters() override { return nullptr; }
    bool ReactivationPredicate() override { return false; }
    bool ReactivationFunction() override { return false; }
    void LinkVariables() override { Queue->Register(&Queue_Tavrin_Mark); }

    Place* Queue = nullptr;
    short* Queue_Tavrin_Mark = nullptr;

   private:
    double Rate_;
  };
  class ArriveActivity : public QueueActivity {
   public:
    ArriveActivity() : QueueActivity("Arrive", 0, kArrivalRate) {}
    bool Enabled() override {
      OldEnabled = NewEnabled;
      NewEnabled = *Queue_Tavrin_Mark < kCapacity;
      return NewEnabled;
    }
    BaseActionClass* Fire() override {
      (*Queue_Tavrin_Mark)++;
      return this;
    }
  };
  class ServeActivity : public QueueActivity {
   public:
    ServeActivity() : QueueActivity("Serve", 1, kServiceRate) {}
    bool Enabled() override {
      OldEnabled = NewEnabled;
      NewEnabled = *Queue_Tavrin_Mark > 0;
      return NewEnabled;
    }
    BaseActionClass* Fire() override {
      (*Queue_Tavrin_Mark)--;
      return this;
    }
  };

  QueueSAN() {
    Queue = new Place("Queue", 0);
    BaseStateVariableClass* places[] = {Queue};
    Activity* activities[] = {&Arrive, &Serve};
    BaseGroupClass* groups[] = {&Arrive, &Serve};
    initializeSANModelNow("Queue", 1, places, 0, nullptr, 2, activities, 2, groups);
    Arrive.Queue = Queue;
    Serve.Queue = Queue;
    AddAffectArc(Queue, &Arrive);
    AddAffectArc(Queue, &Serve);
    AddEnableArc(Queue, &Arrive);
    AddEnableArc(Queue, &Serve);
    for (Activity* a : activities) a->LinkVariables();
  }
  ~QueueSAN() override { delete Queue; }

  Place* Queue;
  ArriveActivity Arrive;
  ServeActivity Serve;
};

BaseModelClass* MakeQueue() { return new QueueSAN(); }

// TotalQueue: the time-averaged sum of all queue lengths over a window longer than any run.
class TotalQueueWorker : public TimeAveragedIntervalOfTime {
 public:
  TotalQueueWorker() {
    NumModels = 1;
    TheModelPtr = new BaseModelClass**[1];
    TheModelPtr[0] = &Queue;
  }
  ~TotalQueueWorker() override { delete[] TheModelPtr; }
  double Reward_Function() override { return static_cast<QueueSAN*>(Queue)->Queue->Mark(); }
  BaseModelClass* Queue = nullptr;
};

class TotalQueueNode : public PerformanceVariableNode {
 public:
  explicit TotalQueueNode(int timeindex) {
    TheModelPtr = &Measured;
    double start[1] = {0.0};
    double stop[1] = {1e15};
    Initialize("TotalQueue", TIMEAVE_INTERVAL_OF_TIME, 1, start, stop, timeindex, 0, 1, 1);
    AddVariableDependency("Queue", "Queue");
  }
  void CreateWorkerList() override {
    for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new TotalQueueWorker();
  }
  BaseModelClass* Measured = nullptr;
};

class QueuesPVModel : public PVModel {
 public:
  QueuesPVModel() {
    CPUTime timer;
    timer.Start();
    // Inside a model class RepModel names the model kind; the class is ::RepModel.
    TheModel = new ::RepModel("Queues", Replicas, MakeQueue, 0, nullptr);
    ModelSeconds = timer.GetTime();
    DefineName("QueuesPVModel");
    CreatePVList(WithReward ? 1 : 0, false);
    Initialize();
  }
  PerformanceVariableNode* createPVNode(int pvindex, int timeindex) override {
    return pvindex == 0 ? new TotalQueueNode(timeindex) : nullptr;
  }
};

class QueuesStudy : public BaseStudyClass {
 public:
  QueuesStudy() { NumExps = 1; }
  ~QueuesStudy() override { delete ThePVModel; }
  PVModel* GetPVModel(bool) override {
    delete ThePVModel;
    ThePVModel = new QueuesPVModel();
    return ThePVModel;
  }
  void SetGVs(int) override {}
};

void RunEngine(const std::string& mode, long firings) {
  WithReward = (mode == "reward");
  long before = ResidentKilobytes();
  CPUTime setup;
  setup.Start();
  static char program[] = "composed_bench";
  static char batches[] = "-N";
  static char one[] = "1";
  SimulatorClass* sim = MakeSimulator({program, batches, one});
  StartRun(sim);
  double setupSeconds = setup.GetTime();
  long after = ResidentKilobytes();
  TakeFirstEvent(sim);
  Steps(sim, firings / 4);   // warm-up: the queues leave their empty start
  CPUTime run;
  run.Start();
  Steps(sim, firings);
  double runSeconds = run.GetTime();
  std::printf(
      "replicas=%d mode=%s model_s=%.3f setup_s=%.3f rss_kb=%ld bytes_per_replica=%.0f "
      "peak_kb=%ld firings=%ld ns_per_firing=%.1f\n",
      Replicas, mode.c_str(), ModelSeconds, setupSeconds, after - before,
      1024.0 * static_cast<double>(after - before) / Replicas, PeakKilobytes(), firings,
      1e9 * runSeconds / static_cast<double>(firings));
  std::fflush(stdout);
  // The process ends here: tearing down 100000 copies is not what is measured.
  std::_Exit(0);
}

// The plain loop: each queue's next event is one exponential race of its enabled
// transitions, kept in one binary min-heap of the N queues.
struct DirectLoop {
  explicit DirectLoop(int n) : Queue(n, 0), Heap(n), Slot(n), Time(n) {
    for (int q = 0; q < n; q++) {
      Heap[q] = q;
      Slot[q] = q;
      Time[q] = Draw(q, 0.0);
    }
    for (int i = n / 2 - 1; i >= 0; i--) SiftDown(i);
  }
  double Uniform() {
    State ^= State << 13;
    State ^= State >> 7;
    State ^= State << 17;
    return (static_cast<double>(State >> 11) + 0.5) / 9007199254740992.0;
  }
  double TotalRate(int q) const {
    return (Queue[q] < kCapacity ? kArrivalRate : 0.0) + (Queue[q] > 0 ? kServiceRate : 0.0);
  }
  double Draw(int q, double now) { return now - std::log(Uniform()) / TotalRate(q); }
  void SiftDown(int i) {
    int n = static_cast<int>(Heap.size());
    int q = Heap[i];
    for (;;) {
      int child = 2 * i + 1;
      if (child >= n) break;
      if (child + 1 < n && Time[Heap[child + 1]] < Time[Heap[child]]) child++;
      if (Time[Heap[child]] >= Time[q]) break;
      Heap[i] = Heap[child];
      Slot[Heap[i]] = i;
      i = child;
    }
    Heap[i] = q;
    Slot[q] = i;
  }
  void Fire() {
    int q = Heap[0];
    double now = Time[q];
    double arrival = Queue[q] < kCapacity ? kArrivalRate : 0.0;
    if (Uniform() * TotalRate(q) < arrival)
      Queue[q]++;
    else
      Queue[q]--;
    Time[q] = Draw(q, now);
    SiftDown(0);
  }
  std::vector<short> Queue;
  std::vector<int> Heap;
  std::vector<int> Slot;
  std::vector<double> Time;
  uint64_t State = 88172645463325252ull;
};

void RunDirect(long firings) {
  long before = ResidentKilobytes();
  CPUTime setup;
  setup.Start();
  DirectLoop loop(Replicas);
  double setupSeconds = setup.GetTime();
  long after = ResidentKilobytes();
  for (long i = 0; i < firings / 4; i++) loop.Fire();
  CPUTime run;
  run.Start();
  for (long i = 0; i < firings; i++) loop.Fire();
  double runSeconds = run.GetTime();
  long total = 0;
  for (short q : loop.Queue) total += q;
  std::printf(
      "replicas=%d mode=direct model_s=0 setup_s=%.3f rss_kb=%ld bytes_per_replica=%.0f "
      "peak_kb=%ld firings=%ld ns_per_firing=%.1f (total queue %ld)\n",
      Replicas, setupSeconds, after - before,
      1024.0 * static_cast<double>(after - before) / Replicas, PeakKilobytes(), firings,
      1e9 * runSeconds / static_cast<double>(firings), total);
}

}  // namespace

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) GlobalStudyPtr = new QueuesStudy();
  return GlobalStudyPtr;
}

void DestructStudy() {
  delete GlobalStudyPtr;
  GlobalStudyPtr = nullptr;
}

int main(int argc, char** argv) {
  if (argc != 4 || std::atoi(argv[1]) < 1 || std::atol(argv[2]) < 1 ||
      (std::strcmp(argv[3], "plain") != 0 && std::strcmp(argv[3], "reward") != 0 &&
       std::strcmp(argv[3], "direct") != 0)) {
    std::cerr << "usage: composed_bench <replicas> <firings> <plain|reward|direct>" << std::endl;
    return 2;
  }
  Replicas = std::atoi(argv[1]);
  long firings = std::atol(argv[2]);
  if (std::strcmp(argv[3], "direct") == 0)
    RunDirect(firings);
  else
    RunEngine(argv[3], firings);
  return 0;
}
