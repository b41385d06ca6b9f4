#ifndef TAVRIN_TESTS_REWARDS_REWARDFIXTURES_H
#define TAVRIN_TESTS_REWARDS_REWARDFIXTURES_H

// Small models and reward classes that the reward tests script by hand.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/BaseModelClass.h"
#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"
#include "rewards/ImpulseNodeClass.h"
#include "rewards/InstantOfTime.h"
#include "rewards/IntervalOfTime.h"
#include "rewards/PVModel.h"
#include "rewards/PerformanceVariableNode.h"
#include "rewards/SteadyState.h"

namespace rewardtest {

// An atomic model with one place X and one activity Bump, whose firing adds one token to X.
class CounterModel : public SANModel {
 public:
  class BumpActivity : public Activity {
   public:
    BumpActivity() : X(nullptr) {
      ActivityInitialize("Bump", 0, Exponential, RaceEnabled, 1, 0, false);
    }
    void LinkVariables() override {}
    BaseActionClass* Fire() override {
      X->Mark()++;
      return this;
    }
    Place* X;
  };

  explicit CounterModel(const char* name) : X(new Place("X", 0)) {
    BaseStateVariableClass* places[] = {X};
    Activity* activities[] = {&Bump};
    BaseGroupClass* groups[] = {&Bump};
    initializeSANModelNow(name, 1, places, 0, nullptr, 1, activities, 1, groups);
    Bump.X = X;
    AddAffectArc(X, &Bump);
  }
  ~CounterModel() override { delete X; }

  Place* X;   // owned
  BumpActivity Bump;
};

// A composed model: its submodel instances (owned), found by name, with all their actions.
class CompositeModel : public BaseModelClass {
 public:
  explicit CompositeModel(const char* name) {
    if (name != nullptr) DefineName(name);
  }
  ~CompositeModel() override {
    for (CounterModel* child : Children) delete child;
  }

  CounterModel* Add(const char* name) {
    CounterModel* child = new CounterModel(name);
    Children.push_back(child);
    delete[] ActionList;
    NumActions = static_cast<int>(Children.size());
    ActionList = new BaseActionClass*[NumActions];
    for (int i = 0; i < NumActions; i++) ActionList[i] = &Children[i]->Bump;
    return child;
  }

  void listModels(const char* name, List<BaseModelClass>* models) override {
    for (CounterModel* child : Children) child->listModels(name, models);
  }
  void CurrentState(void* at) override {
    char* p = static_cast<char*>(at);
    for (CounterModel* child : Children) {
      child->CurrentState(p);
      p += child->StateSize();
    }
  }
  void listActions(List<BaseActionClass>* actions) override {
    for (CounterModel* child : Children) child->listActions(actions);
  }
  void listGroups(List<BaseGroupClass>* groups) override {
    for (CounterModel* child : Children) child->listGroups(groups);
  }
  void SetState(void* at) override {
    char* p = static_cast<char*>(at);
    for (CounterModel* child : Children) {
      child->SetState(p);
      p += child->StateSize();
    }
  }
  int StateSize() override {
    int size = 0;
    for (CounterModel* child : Children) size += child->StateSize();
    return size;
  }
  bool CompareState(void*, void*) override { return false; }
  void listActions(const char* name, List<BaseActionClass>* actions) override {
    for (CounterModel* child : Children) child->listActions(name, actions);
  }
  void listSVs(const char* modelName, const char* svName, List<BaseStateVariableClass>* svs,
               List<BaseModelClass>* models) override {
    for (CounterModel* child : Children) child->listSVs(modelName, svName, svs, models);
  }

  std::vector<CounterModel*> Children;
};

// Reads X of each of its instances; the reward is X of the first instance plus ten times X
// of the second, so tests can tell which instances a worker was given.
class MarkWorker : public InstantOfTime {
 public:
  explicit MarkWorker(int numModels) : Instances(numModels, nullptr) {
    NumModels = numModels;
    TheModelPtr = new BaseModelClass**[numModels];
    for (int m = 0; m < numModels; m++) TheModelPtr[m] = &Instances[m];
  }
  ~MarkWorker() override { delete[] TheModelPtr; }
  double Reward_Function() override {
    double reward = 0.0;
    double weight = 1.0;
    for (BaseModelClass* instance : Instances) {
      reward += weight * static_cast<CounterModel*>(instance)->X->getMark();
      weight *= 10.0;
    }
    return reward;
  }
  std::vector<BaseModelClass*> Instances;
};

// A worker for the accumulating reward types: X of its instance times the interval length,
// weighted by a fixed fraction.
class IntervalWorker : public MarkWorker {
 public:
  explicit IntervalWorker(double fraction) : MarkWorker(1), Fraction(fraction) {}
  void Accumulate(double next_time, double last_event_time) override {
    Reward = (next_time - last_event_time) * Reward_Function();
    RewardSqr = Reward * Reward;
    RewardFraction = Fraction;
  }
  double Fraction;
};

// X of one instance as the rate reward of one of the library's accumulating worker types
// (IntervalOfTime, SteadyState), which clip each interval to the window themselves.
template <class WorkerType, class ModelType = CounterModel>
class XWorker : public WorkerType {
 public:
  XWorker() : Instance(nullptr) {
    this->NumModels = 1;
    this->TheModelPtr = new BaseModelClass**[1];
    this->TheModelPtr[0] = &Instance;
  }
  ~XWorker() override { delete[] this->TheModelPtr; }
  double Reward_Function() override {
    return static_cast<ModelType*>(Instance)->X->getMark();
  }
  BaseModelClass* Instance;
};

// An impulse of one per accumulation, reading one instance.
class CountingImpulse : public ImpulseNodeClass {
 public:
  CountingImpulse() : Instance(nullptr) {
    NumberOfModelDependencies = 2;
    TheModelPtr = new BaseModelClass**[2];
    TheModelPtr[0] = &Instance;
    TheModelPtr[1] = &Other;
  }
  ~CountingImpulse() override { delete[] TheModelPtr; }
  void completeAccumulation(double) override { Completed++; }
  double Impulse_Function() override { return 1.0; }
  void Accumulate(double, double) override {
    Impulse += Impulse_Function();
    ImpulseSqr = Impulse * Impulse;
  }
  void CurrentImpulse() override {
    Impulse = Impulse_Function();
    ImpulseSqr = 1.0;
  }
  void Reset() override { ImpulseNodeClass::Reset(); }
  ImpulseNodeClass** CreateImpulseWorkerList(int count) override {
    ImpulseNodeClass** workers = new ImpulseNodeClass*[count];
    for (int w = 0; w < count; w++) workers[w] = new CountingImpulse();
    return workers;
  }
  BaseModelClass* Instance;
  BaseModelClass* Other = nullptr;
  int Completed = 0;
};

// What a test node depends on.
struct NodeRecipe {
  std::string Name = "V";
  RewardType Reward = INSTANT_OF_TIME;
  PVType Kind = terminating;
  std::vector<double> Starts = {0.0};
  std::vector<double> Stops = {0.0};
  std::vector<std::string> Models;                              // model dependencies
  std::vector<std::pair<std::string, std::string>> Variables;  // (variable, model)
  std::vector<std::pair<std::string, std::string>> Impulses;   // (action, model)
  std::vector<std::string> ImpulseModels;   // further models every impulse depends on
  std::function<PerformanceVariableWorker*()> MakeWorker;   // default: MarkWorker
};

// A node built the way a generated constructor builds one.
class TestNode : public PerformanceVariableNode {
 public:
  TestNode(const NodeRecipe& recipe, int timeindex) : Measured(nullptr), Recipe(recipe) {
    TheModelPtr = &Measured;
    Type = recipe.Kind;
    int numModels = static_cast<int>(recipe.Models.size() + recipe.Variables.size());
    Initialize(recipe.Name.c_str(), recipe.Reward, static_cast<int>(recipe.Starts.size()),
               recipe.Starts.data(), recipe.Stops.data(), timeindex,
               static_cast<int>(recipe.Impulses.size()), numModels,
               static_cast<int>(recipe.Variables.size()));
    for (const std::string& model : recipe.Models) AddModelDependency(model.c_str());
    for (const auto& variable : recipe.Variables)
      AddVariableDependency(variable.first.c_str(), variable.second.c_str());
    for (const auto& impulse : recipe.Impulses) {
      CountingImpulse* prototype = new CountingImpulse();
      AddImpulse(impulse.first.c_str(), impulse.second.c_str(), prototype);
      for (const std::string& model : recipe.ImpulseModels)
        AddImpulseModelDependency(model.c_str(), prototype);
    }
  }
  void CreateWorkerList() override {
    int numModels = NumberOfModelNames;
    for (int w = 0; w < NumberOfWorkers; w++)
      WorkerList[w] = Recipe.MakeWorker ? Recipe.MakeWorker() : new MarkWorker(numModels);
  }

  BaseModelClass* Measured;
  NodeRecipe Recipe;
};

// A reward model over a given measured model, with one node per recipe.
class TestPVModel : public PVModel {
 public:
  TestPVModel(BaseModelClass* measured, std::vector<NodeRecipe> recipes, bool expand = true,
              bool initialize = true)
      : Recipes(std::move(recipes)) {
    TheModel = measured;
    DefineName("TestPVModel");
    CreatePVList(static_cast<int>(Recipes.size()), expand);
    if (initialize) Initialize();
  }
  PerformanceVariableNode* createPVNode(int pvindex, int timeindex) override {
    if (pvindex < 0 || pvindex >= static_cast<int>(Recipes.size())) return nullptr;
    return new TestNode(Recipes[pvindex], timeindex);
  }
  std::vector<NodeRecipe> Recipes;
};

}  // namespace rewardtest

#endif
