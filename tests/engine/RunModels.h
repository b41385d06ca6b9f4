#ifndef TAVRIN_TESTS_ENGINE_RUNMODELS_H
#define TAVRIN_TESTS_ENGINE_RUNMODELS_H

// A small timed model with reward variables, written the way the model generator writes
// them, for whole runs of the simulator: one place Count and one activity Tick that adds
// a token to it. The tests set what the next model is like (RunSettings) and which
// variables measure it (RunVariables) before they build a simulator from a command line.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "TestStudy.h"
#include "engine/SimulatorClass.h"
#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"
#include "random/UserDistributions.h"
#include "rewards/InstantOfTime.h"
#include "rewards/PVModel.h"
#include "rewards/PerformanceVariableNode.h"

namespace runtest {

// What Tick saw when it was sampled at time 0, the start of a batch.
struct BatchStart {
  short count;          // Count's marking
  size_t watched;       // length of the reactivation list
  bool reactivation;    // Tick's own reactivation flag
};

// The shape of the next model, and what its Tick records.
struct RunSettings {
  double delay = 1.0;          // Tick's deterministic delay, or the mean when exponential
  bool exponential = false;
  bool watched = false;        // Tick asks to be watched for reactivation
  short limit = 30000;         // Tick is enabled while Count is below it
  bool frozen = false;         // Tick takes no time and its firing leaves Count as it is
  SimulatorClass* simulator = nullptr;   // set by the test once the simulator is built
  std::vector<double> samples;           // every delay Tick drew
  std::vector<BatchStart> starts;
};

inline RunSettings& Settings() {
  static RunSettings settings;
  return settings;
}

class RunSAN : public SANModel {
 public:
  class TickActivity : public Activity {
   public:
    TickActivity() {
      ActivityInitialize("Tick", 0, Settings().exponential ? Exponential : Deterministic,
                         RaceEnabled, 1, 1, Settings().watched);
    }
    bool Enabled() override {
      OldEnabled = NewEnabled;
      NewEnabled = *Count_Tavrin_Mark < Settings().limit;
      return NewEnabled;
    }
    BaseActionClass* Fire() override {
      if (!Settings().frozen) (*Count_Tavrin_Mark)++;
      return this;
    }
    double Weight() override { return 1.0; }
    int Rank() override { return 1; }
    double Rate() override { return 0; }
    double SampleDistribution() override {
      RunSettings& s = Settings();
      if (s.frozen) return 0.0;   // as an instantaneous activity: no time, nothing recorded
      if (s.simulator != nullptr && s.simulator->CurrentTime == 0)
        s.starts.push_back({*Count_Tavrin_Mark, s.simulator->TheReactivationList.size(),
                            Reactivation});
      double delay = s.exponential ? TheDistribution->Exponential(1.0 / s.delay)
                                   : TheDistribution->Deterministic(s.delay);
      s.samples.push_back(delay);
      return delay;
    }
    double* ReturnDistributionParameters() override { return nullptr; }
    bool ReactivationPredicate() override { return Settings().watched; }
    bool ReactivationFunction() override { return false; }
    void LinkVariables() override { Count->Register(&Count_Tavrin_Mark); }
    Place* Count = nullptr;
    short* Count_Tavrin_Mark = nullptr;
  };

  RunSAN() {
    Count = new Place("Count", 0);
    BaseStateVariableClass* places[] = {Count};
    Activity* activities[] = {&Tick};
    BaseGroupClass* groups[] = {&Tick};
    initializeSANModelNow("RUN", 1, places, 0, nullptr, 1, activities, 1, groups);
    Tick.Count = Count;
    AddAffectArc(Count, &Tick);
    AddEnableArc(Count, &Tick);
    Tick.LinkVariables();
  }
  ~RunSAN() override { delete Count; }

  Place* Count;
  TickActivity Tick;
};

// A reward variable over RUN: its kind, its run type and its first window.
struct VariableRecipe {
  std::string name;
  RewardType reward;
  PVType type;
  double start;
  double stop;
};

inline std::vector<VariableRecipe>& Variables() {
  static std::vector<VariableRecipe> variables;
  return variables;
}

inline short CountOf(BaseModelClass* model) { return static_cast<RunSAN*>(model)->Count->getMark(); }

// Count at the variable's time point.
class CountAtInstant : public InstantOfTime {
 public:
  CountAtInstant() {
    NumModels = 1;
    TheModelPtr = new BaseModelClass**[1]{&RUN};
  }
  ~CountAtInstant() override { delete[] TheModelPtr; }
  double Reward_Function() override { return CountOf(RUN); }
  BaseModelClass* RUN = nullptr;
};

// Count averaged over the node's current window: each interval adds Count times its
// overlap with the window, divided by the window's length.
class CountWindowAverage : public PerformanceVariableWorker {
 public:
  explicit CountWindowAverage(PerformanceVariableNode* node) : Node(node) {
    NumModels = 1;
    TheModelPtr = new BaseModelClass**[1]{&RUN};
  }
  ~CountWindowAverage() override { delete[] TheModelPtr; }
  double Reward_Function() override { return CountOf(RUN); }
  void Accumulate(double next_time, double last_event_time) override {
    double overlap = std::min(next_time, Node->Stop) - std::max(last_event_time, Node->Start);
    Reward = overlap > 0 ? Reward_Function() * overlap / Node->batchSize : 0.0;
    RewardSqr = Reward * Reward;
    RewardFraction = 1.0;
  }
  BaseModelClass* RUN = nullptr;
  PerformanceVariableNode* Node;
};

class RunNode : public PerformanceVariableNode {
 public:
  explicit RunNode(const VariableRecipe& recipe) : Measured(nullptr), Reward(recipe.reward) {
    TheModelPtr = &Measured;
    Type = recipe.type;
    Initialize(recipe.name.c_str(), recipe.reward, 1, &recipe.start, &recipe.stop, 0, 0, 1, 1);
    AddVariableDependency("Count", "RUN");
  }
  void CreateWorkerList() override {
    for (int w = 0; w < NumberOfWorkers; w++)
      WorkerList[w] = Reward == INSTANT_OF_TIME
                          ? static_cast<PerformanceVariableWorker*>(new CountAtInstant())
                          : new CountWindowAverage(this);
  }
  BaseModelClass* Measured;
  RewardType Reward;
};

class RunPVModel : public PVModel {
 public:
  RunPVModel(BaseModelClass* measured, bool expandTimeArrays) {
    TheModel = measured;
    DefineName("RunPVModel");
    CreatePVList(static_cast<int>(Variables().size()), expandTimeArrays);
    Initialize();
  }
  PerformanceVariableNode* createPVNode(int pvindex, int) override {
    if (pvindex < 0 || pvindex >= static_cast<int>(Variables().size())) return nullptr;
    return new RunNode(Variables()[pvindex]);
  }
};

inline PVModel* MakeRunPVModel(BaseModelClass* measured, bool expandTimeArrays) {
  return new RunPVModel(measured, expandTimeArrays);
}

// A simulator built by its own constructor from a command line around a new instance of
// the measured model, measured by the given reward model. Its words stay alive for the
// whole program, since the simulator may keep pointers into them; its set-up lines are not
// under test.
inline std::unique_ptr<SimulatorClass> BuildSimulator(MeasuredModelFactory measured,
                                                      RewardModelFactory reward,
                                                      std::vector<std::string> words) {
  static std::vector<std::unique_ptr<std::string>> storage;
  words.insert(words.begin(), "sim");
  std::vector<char*> argv;
  for (const std::string& word : words) {
    storage.emplace_back(new std::string(word));
    argv.push_back(&(*storage.back())[0]);
  }
  argv.push_back(nullptr);
  unsetenv("SIMTEST");
  UseMeasuredModel(measured);
  UseRewardModel(reward);
  testing::internal::CaptureStdout();
  std::unique_ptr<SimulatorClass> simulator(
      new SimulatorClass(static_cast<int>(words.size()), argv.data()));
  testing::internal::GetCapturedStdout();
  UseRewardModel(nullptr);
  return simulator;
}

// A simulator around a new RunSAN with the given settings and variables.
inline std::unique_ptr<SimulatorClass> BuildRun(const RunSettings& settings,
                                                std::vector<VariableRecipe> variables,
                                                std::vector<std::string> words) {
  Settings() = settings;
  Variables() = std::move(variables);
  std::unique_ptr<SimulatorClass> simulator =
      BuildSimulator(&MakeModel<RunSAN>, &MakeRunPVModel, std::move(words));
  Settings().simulator = simulator.get();
  return simulator;
}

// Runs the simulation and gives back what it printed on the standard output.
inline std::string RunAndCapture(SimulatorClass& simulator) {
  testing::internal::CaptureStdout();
  simulator.Run();
  return testing::internal::GetCapturedStdout();
}

// The observations of an ASCII result file, per variable index, in file order.
inline std::vector<std::vector<double>> AsciiObservations(const std::string& path, int numPVs) {
  std::vector<std::vector<double>> values(static_cast<size_t>(numPVs));
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    size_t comma = line.find(',');
    values.at(static_cast<size_t>(std::stoi(line.substr(0, comma)))).push_back(
        std::stod(line.substr(comma + 1)));
  }
  return values;
}

inline std::string ScratchFile(const std::string& name) {
  return testing::TempDir() + "tavrin_runs_" + name;
}

}  // namespace runtest

#endif
