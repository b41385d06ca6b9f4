// One simulation step of the engine, on an M/M/1/K queue built the way the model
// generator writes a model: two timed activities sharing one place, with a reward model
// without variables. The run never empties (arrivals are always enabled), so the steps
// follow each other for as long as the benchmark asks.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "engine/EventList.h"
#include "engine/SimulatorClass.h"
#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"
#include "random/UserDistributions.h"
#include "rewards/PVModel.h"
#include "study/BaseStudyClass.h"

namespace {

const double kArrivalRate = 0.8;
const double kServiceRate = 1.0;
const short kCapacity = 1000;

// Arrivals always race; services race while someone is in the queue.
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
      NewEnabled = true;
      return NewEnabled;
    }
    BaseActionClass* Fire() override {
      if (*Queue_Tavrin_Mark < kCapacity) (*Queue_Tavrin_Mark)++;
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
    initializeSANModelNow("QUEUE", 1, places, 0, nullptr, 2, activities, 2, groups);
    Arrive.Queue = Queue;
    Serve.Queue = Queue;
    AddAffectArc(Queue, &Arrive);
    AddAffectArc(Queue, &Serve);
    AddEnableArc(Queue, &Serve);
    for (Activity* a : activities) a->LinkVariables();
  }
  ~QueueSAN() override { delete Queue; }

  Place* Queue;
  ArriveActivity Arrive;
  ServeActivity Serve;
};

class QueuePVModel : public PVModel {
 public:
  QueuePVModel() {
    TheModel = new QueueSAN();
    DefineName("QueuePVModel");
    CreatePVList(0, false);
    Initialize();
  }
  PerformanceVariableNode* createPVNode(int, int) override { return nullptr; }
};

class QueueStudy : public BaseStudyClass {
 public:
  QueueStudy() { NumExps = 1; }
  ~QueueStudy() override { delete ThePVModel; }
  PVModel* GetPVModel(bool) override {
    delete ThePVModel;
    ThePVModel = new QueuePVModel();
    return ThePVModel;
  }
  void SetGVs(int) override {}
};

// The simulator's constructor prints its set-up progress; it goes to /dev/null so the
// benchmark table stays readable.
SimulatorClass* MakeSimulator() {
  static char program[] = "simstep_bench";
  static char batches[] = "-N";
  static char one[] = "1";
  char* argv[] = {program, batches, one, nullptr};
  std::cout.flush();
  std::fflush(stdout);
  int saved = dup(STDOUT_FILENO);
  int sink = open("/dev/null", O_WRONLY);
  dup2(sink, STDOUT_FILENO);
  SimulatorClass* simulator = new SimulatorClass(3, argv);
  std::cout.flush();
  std::fflush(stdout);
  dup2(saved, STDOUT_FILENO);
  close(sink);
  close(saved);
  return simulator;
}

// What a batch does before its first step, then steps for as long as asked.
void BM_SimStep(benchmark::State& state) {
  SimulatorClass* sim = MakeSimulator();
  sim->CurrentTime = 0;
  sim->GenerateInitialEnabledList();
  sim->GenerateCompleteEventList();
  sim->NextEvent = sim->TheEventList->Earliest();
  sim->CurrentTime = (*sim->NextEvent)->exec_time;
  sim->CurrAction = (*sim->NextEvent)->action_ptr;
  for (auto _ : state) {
    if (!sim->SimStep()) state.SkipWithError("the queue's event list ran empty");
  }
  state.SetItemsProcessed(state.iterations());
  delete sim;
}

BENCHMARK(BM_SimStep);

}  // namespace

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) GlobalStudyPtr = new QueueStudy();
  return GlobalStudyPtr;
}

void DestructStudy() {
  delete GlobalStudyPtr;
  GlobalStudyPtr = nullptr;
}
