#include "rewards/PerformanceVariableNode.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "framework/BaseActionClass.h"
#include "framework/BaseModelClass.h"
#include "framework/Errors.h"
#include "rewards/RewardMemory.h"

int PerformanceVariableNode::the_id = 0;

namespace {

// Membership in a frozen set: its values are ascending, so a binary search suffices.
bool FrozenSetHolds(FastSet& set, int value) {
  int low = 0;
  int high = set.size() - 1;
  while (low <= high) {
    int middle = (low + high) / 2;
    if (set[middle] == value) return true;
    if (set[middle] < value) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  return false;
}

}  // namespace

PerformanceVariableNode::PerformanceVariableNode()
    : TheModelPtr(nullptr),
      Name(nullptr),
      TotalReward(0.0),
      TotalRewardSqr(0.0),
      Start(-1.0),
      Stop(-1.0),
      NumTimes(0),
      StartList(nullptr),
      StopList(nullptr),
      TotalImpulse(0.0),
      TotalImpulseSqr(0.0),
      batchSize(0.0),
      Type(terminating),
      PVRewardType(UNDEFINED),
      Accumulating(acc_later),
      id(-1),
      Trace(0),
      ActionDependencies(nullptr),
      NumberOfActionDependencies(0),
      ModelList(nullptr),
      NumberOfWorkers(0),
      WorkerList(nullptr),
      VarNamesList(nullptr),
      NumberOfVarNames(0),
      ModelNamesList(nullptr),
      NumberOfModelNames(0),
      NumberOfImpulses(0),
      ImpulseNodeList(nullptr),
      ActionNamesList(nullptr),
      ImpulseModelNamesList(nullptr),
      NumberOfImpulseModelNames(nullptr),
      NumberOfImpulseActions(nullptr),
      NumberOfImpulseWorkers(nullptr),
      ImpulseWorkersList(nullptr),
      ImpulseModelList(nullptr),
      MaxVarNames(0),
      MaxModelNames(0),
      MaxImpulses(0) {}

PerformanceVariableNode::~PerformanceVariableNode() {
  DeleteWorkers();
  DeleteImpulseParts();
  delete[] ModelList;
  delete[] VarNamesList;
  for (int i = 0; i < NumberOfModelNames; i++) delete[] ModelNamesList[i];
  delete[] ModelNamesList;
  delete[] ActionDependencies;
  delete[] StartList;
  delete[] StopList;
  delete[] Name;
}

void PerformanceVariableNode::DeleteWorkers() {
  if (WorkerList == nullptr) return;
  for (int w = 0; w < NumberOfWorkers; w++) delete WorkerList[w];
  delete[] WorkerList;
  WorkerList = nullptr;
}

void PerformanceVariableNode::DeleteImpulseParts() {
  for (int i = 0; i < NumberOfImpulses; i++) {
    if (ImpulseWorkersList[i] != nullptr) {
      for (int w = 0; w < NumberOfImpulseWorkers[i]; w++) delete ImpulseWorkersList[i][w];
      delete[] ImpulseWorkersList[i];
    }
    delete[] ImpulseModelList[i];
    for (int m = 0; m < NumberOfImpulseModelNames[i]; m++) delete[] ImpulseModelNamesList[i][m];
    delete[] ImpulseModelNamesList[i];
    delete ImpulseNodeList[i];
  }
  delete[] ImpulseWorkersList;
  delete[] ImpulseModelList;
  delete[] ImpulseModelNamesList;
  delete[] ImpulseNodeList;
  delete[] ActionNamesList;
  delete[] NumberOfImpulseModelNames;
  delete[] NumberOfImpulseActions;
  delete[] NumberOfImpulseWorkers;
}

// ---- Set-up ----

void PerformanceVariableNode::Initialize(const char* name, RewardType rewardtype, int numtimes,
                                         const double* startpts, const double* stoppts,
                                         int timeindex, int number_of_impulses,
                                         int numModelsAffectingReward,
                                         int number_of_variable_dependencies) {
  id = the_id++;
  PVRewardType = rewardtype;
  InitializeTimeArrays(numtimes, startpts, stoppts);
  TAVRIN_ASSERT(timeindex >= 0 && timeindex < NumTimes);
  Start = StartList[timeindex];
  Stop = StopList[timeindex];
  batchSize = Stop - Start;
  ReplaceString(Name, name);

  VarNamesList = NewRewardArray<VarModelPairClass>(number_of_variable_dependencies);
  MaxVarNames = number_of_variable_dependencies;
  ModelNamesList = NewRewardArray<char*>(numModelsAffectingReward);
  MaxModelNames = numModelsAffectingReward;
  if (number_of_impulses > 0) {
    MaxImpulses = number_of_impulses;
    ImpulseNodeList = NewRewardArray<ImpulseNodeClass*>(number_of_impulses);
    ActionNamesList = NewRewardArray<ActionModelPairClass>(number_of_impulses);
    ImpulseModelNamesList = NewRewardArray<char**>(number_of_impulses);
    NumberOfImpulseModelNames = NewRewardArray<int>(number_of_impulses);
    NumberOfImpulseActions = NewRewardArray<int>(number_of_impulses);
    NumberOfImpulseWorkers = NewRewardArray<int>(number_of_impulses);
    ImpulseWorkersList = NewRewardArray<ImpulseNodeClass**>(number_of_impulses);
    ImpulseModelList = NewRewardArray<ModelGroupClass*>(number_of_impulses);
  }
}

void PerformanceVariableNode::InitializeTimeArrays(int numtimes, const double* startpts,
                                                   const double* stoppts) {
  delete[] StartList;
  delete[] StopList;
  NumTimes = numtimes;
  StartList = NewRewardArray<double>(numtimes);
  StopList = NewRewardArray<double>(numtimes);
  for (int i = 0; i < numtimes; i++) {
    StartList[i] = startpts[i];
    StopList[i] = stoppts[i];
  }
}

bool PerformanceVariableNode::IsDependentOnModel(const char* modelname) const {
  for (int i = 0; i < NumberOfModelNames; i++)
    if (std::strcmp(ModelNamesList[i], modelname) == 0) return true;
  return false;
}

void PerformanceVariableNode::AddModelDependency(const char* modelname) {
  if (IsDependentOnModel(modelname)) return;
  TAVRIN_ASSERT(NumberOfModelNames < MaxModelNames);
  ModelNamesList[NumberOfModelNames++] = CopyRewardString(modelname);
}

void PerformanceVariableNode::AddVariableDependency(const char* varname, const char* modelname) {
  TAVRIN_ASSERT(NumberOfVarNames < MaxVarNames);
  VarNamesList[NumberOfVarNames++].SetPair(varname, modelname);
  AddModelDependency(modelname);
}

int PerformanceVariableNode::GetImpulseNumber(const ImpulseNodeClass* impulse) const {
  for (int i = 0; i < NumberOfImpulses; i++)
    if (ImpulseNodeList[i] == impulse) return i;
  return -1;
}

void PerformanceVariableNode::AddImpulse(const char* actionname, const char* modelname,
                                         ImpulseNodeClass* impulse) {
  int number = GetImpulseNumber(impulse);
  if (number < 0) {
    TAVRIN_ASSERT(NumberOfImpulses < MaxImpulses);
    number = NumberOfImpulses++;
    ImpulseNodeList[number] = impulse;
    ImpulseModelNamesList[number] = NewRewardArray<char*>(impulse->NumberOfModelDependencies);
  }
  AddImpulseActionDependency(actionname, modelname, number);
  AddImpulseModelDependency(modelname, impulse);
}

void PerformanceVariableNode::AddImpulseActionDependency(const char* actionname,
                                                         const char* modelname,
                                                         int impulseNumber) {
  ActionNamesList[impulseNumber].SetPair(actionname, modelname);
}

void PerformanceVariableNode::AddImpulseModelDependency(const char* modelname,
                                                        ImpulseNodeClass* impulse) {
  int number = GetImpulseNumber(impulse);
  if (number < 0) {
    std::cerr << "Model Dependency requested on undefined impulse."
              << "  Check code generator.  Error code GP0001." << std::endl;
    std::exit(1);  // a model that cannot be measured is a failed run
  }
  char** names = ImpulseModelNamesList[number];
  int& count = NumberOfImpulseModelNames[number];
  for (int m = 0; m < count; m++)
    if (std::strcmp(names[m], modelname) == 0) return;
  TAVRIN_ASSERT(count < impulse->NumberOfModelDependencies);
  names[count++] = CopyRewardString(modelname);
}

void PerformanceVariableNode::DefineName(const char* name) {
  for (int w = 0; w < NumberOfWorkers; w++)
    if (WorkerList[w] != nullptr) WorkerList[w]->DefineName(name, w);
  for (int i = 0; i < NumberOfImpulses; i++) {
    if (ImpulseWorkersList[i] == nullptr) continue;
    for (int w = 0; w < NumberOfImpulseWorkers[i]; w++) ImpulseWorkersList[i][w]->DefineName(name);
  }
}

// ---- Wiring ----

void PerformanceVariableNode::ListInstances(const char* name,
                                            List<BaseModelClass>* instances) const {
  (*TheModelPtr)->listModels(name, instances);
}

void PerformanceVariableNode::FixReferences(BaseModelClass* model) {
  TAVRIN_ASSERT(TheModelPtr != nullptr);
  *TheModelPtr = model;
  GetNumberOfWorkers();
  GetNumberOfImpulseWorkers();
  DeleteWorkers();
  WorkerList = NewRewardArray<PerformanceVariableWorker*>(NumberOfWorkers);
}

// A node has one worker per combination of instances of the submodels it reads, so
// submodels with many copies each can ask for more workers than a count can hold; such a
// variable cannot be observed, and the run ends naming it rather than observe a wrapped
// count of workers.
int PerformanceVariableNode::CombinationsOf(char** names, int numNames, long long factor) const {
  long long count = factor;
  for (int m = 0; m < numNames; m++) {
    List<BaseModelClass> instances;
    ListInstances(names[m], &instances);
    count *= instances.getNumItems();
    if (count > kMaxWorkers) {
      std::cerr << "ERROR: reward variable " << Name << ": its submodels have more than " << kMaxWorkers
                << " combinations of instances (one worker each), more than a run can hold" << std::endl;
      std::exit(1);
    }
  }
  return static_cast<int>(count);
}

int PerformanceVariableNode::GetNumberOfWorkers() {
  NumberOfWorkers = CombinationsOf(ModelNamesList, NumberOfModelNames, NumberOfModelNames > 0 ? 1 : 0);
  return NumberOfWorkers;
}

// An impulse worker per combination of the impulse's submodels, times the instances of the
// earning activity's model when the impulse does not read that model.
void PerformanceVariableNode::GetNumberOfImpulseWorkers() {
  for (int i = 0; i < NumberOfImpulses; i++) {
    List<BaseModelClass> earning;
    const char* earningModel = ActionNamesList[i].ModelName;
    ListInstances(earningModel, &earning);
    NumberOfImpulseActions[i] = earning.getNumItems();
    bool dependsOnEarningModel = false;
    for (int m = 0; m < NumberOfImpulseModelNames[i]; m++)
      if (std::strcmp(ImpulseModelNamesList[i][m], earningModel) == 0) dependsOnEarningModel = true;
    NumberOfImpulseWorkers[i] = CombinationsOf(ImpulseModelNamesList[i], NumberOfImpulseModelNames[i],
                                               dependsOnEarningModel ? 1 : NumberOfImpulseActions[i]);
  }
}

// Worker w's groups enumerate every combination of instances in mixed radix, the first
// model name most significant: with 2 and 3 instances, worker 4 = (1, 1).
void PerformanceVariableNode::CreateModelGroupList() {
  WorkersIndexed = false;
  delete[] ModelList;
  ModelList = NewRewardArray<ModelGroupClass>(NumberOfWorkers);
  for (int w = 0; w < NumberOfWorkers; w++) ModelList[w].SetNumModels(NumberOfModelNames);
  int radix = NumberOfWorkers;
  for (int m = 0; m < NumberOfModelNames; m++) {
    List<BaseModelClass> instances;
    ListInstances(ModelNamesList[m], &instances);
    int n = instances.getNumItems();
    if (n == 0) {
      const char* modelName = (*TheModelPtr != nullptr) ? (*TheModelPtr)->getName() : nullptr;
      // An instance path beyond a count set on the command line lands here too.
      std::cerr << "ERROR: reward variable " << Name << " reads " << ModelNamesList[m]
                << ", which this model does not have (an instance beyond a replicate's count?)" << std::endl;
      std::cerr << "Number of " << ModelNamesList[m] << "'s was " << n
                << ".  Model cannot be created.\n";
      if (modelName != nullptr) {
        std::cerr << "Model Name was: " << modelName << "\n.";
      } else {
        std::cerr << "Model Name was: NULL\n";
      }
      std::cerr.flush();
      std::exit(1);  // a model that cannot be measured is a failed run
    }
    radix /= n;
    int index = -1;
    for (int w = 0; w < NumberOfWorkers; w++) {
      if (w % radix == 0) index = (index + 1) % n;
      ModelList[w].ModelList[m] = instances[index];
    }
  }
}

void PerformanceVariableNode::FixWorkerList() {
  for (int w = 0; w < NumberOfWorkers; w++) {
    PerformanceVariableWorker* worker = WorkerList[w];
    TAVRIN_ASSERT(worker != nullptr);
    TAVRIN_ASSERT(worker->NumModels <= ModelList[w].NumModels);
    worker->Start = Start;
    worker->Stop = Stop;
    worker->DefineName(Name, w);
    worker->id = id;
    for (int m = 0; m < worker->NumModels; m++) *(worker->TheModelPtr[m]) = ModelList[w].ModelList[m];
  }
}

void PerformanceVariableNode::AddPVWorkersToAction(BaseActionClass* action,
                                                   BaseModelClass* model) {
  if (!WorkersIndexed) IndexWorkersByModel();
  auto found = WorkersOfModel.find(model);
  if (found == WorkersOfModel.end()) return;
  for (int w : found->second) action->AffectedRateWorkers[id].insert(w);
}

void PerformanceVariableNode::IndexWorkersByModel() {
  WorkersOfModel.clear();
  for (int w = 0; w < NumberOfWorkers; w++) {
    ModelGroupClass& group = ModelList[w];
    for (int m = 0; m < group.NumModels; m++) {
      std::vector<int>& workers = WorkersOfModel[group.ModelList[m]];
      // A worker that holds one instance under two model names is listed once.
      if (workers.empty() || workers.back() != w) workers.push_back(w);
    }
  }
  WorkersIndexed = true;
}

// The impulse workers of impulse i fall into k consecutive ranges, one per instance of the
// earning action's model. Each model name's index runs once over all the workers, so the
// earning model's own name advances once per range and range c reads instance c, the
// instance FixImpulseWorkerLists gives it as ContainingModel.
void PerformanceVariableNode::CreateImpulseModelGroupList() {
  for (int i = 0; i < NumberOfImpulses; i++) {
    delete[] ImpulseModelList[i];
    int count = NumberOfImpulseWorkers[i];
    ImpulseModelList[i] = NewRewardArray<ModelGroupClass>(count);
    for (int w = 0; w < count; w++) ImpulseModelList[i][w].SetNumModels(NumberOfImpulseModelNames[i]);
    if (NumberOfImpulseActions[i] > 0) FillImpulseModelGroups(i);
  }
}

void PerformanceVariableNode::FillImpulseModelGroups(int impulse) {
  int count = NumberOfImpulseWorkers[impulse];
  int k = NumberOfImpulseActions[impulse];
  int radix = count / k;
  for (int m = 0; m < NumberOfImpulseModelNames[impulse]; m++) {
    List<BaseModelClass> instances;
    ListInstances(ImpulseModelNamesList[impulse][m], &instances);
    int n = instances.getNumItems();
    if (n >= k) radix /= (n / k);
    TAVRIN_ASSERT(radix > 0);
    // The index never wraps: it stays at the last instance rather than pass the end.
    int index = -1;
    for (int w = 0; w < count; w++) {
      if (w % radix == 0 && index < n - 1) index++;
      ImpulseModelList[impulse][w].ModelList[m] = instances[index];
    }
  }
}

void PerformanceVariableNode::CreateImpulseWorkerLists() {
  for (int i = 0; i < NumberOfImpulses; i++) {
    if (ImpulseWorkersList[i] != nullptr) {
      for (int w = 0; w < NumberOfImpulseWorkers[i]; w++) delete ImpulseWorkersList[i][w];
      delete[] ImpulseWorkersList[i];
    }
    ImpulseWorkersList[i] = ImpulseNodeList[i]->CreateImpulseWorkerList(NumberOfImpulseWorkers[i]);
  }
}

void PerformanceVariableNode::FixImpulseWorkerLists() {
  for (int i = 0; i < NumberOfImpulses; i++) {
    List<BaseModelClass> earning;
    ListInstances(ActionNamesList[i].ModelName, &earning);
    int k = earning.getNumItems();
    int count = NumberOfImpulseWorkers[i];
    for (int c = 0; c < k; c++) {
      // In 64 bits: with one worker per instance, count * c passes 2^31 from some 46341
      // instances on.
      int first = static_cast<int>(static_cast<long long>(count) * c / k);
      int end = static_cast<int>(static_cast<long long>(count) * (c + 1) / k);
      for (int w = first; w < end; w++) {
        ImpulseNodeClass* worker = ImpulseWorkersList[i][w];
        TAVRIN_ASSERT(worker != nullptr);
        TAVRIN_ASSERT(NumberOfImpulseModelNames[i] <= worker->NumberOfModelDependencies);
        worker->Start = Start;
        worker->Stop = Stop;
        worker->DefineName(Name);
        worker->id = id;
        worker->WorkerNumber = w;
        worker->ImpulseNumber = i;
        worker->ContainingModel = earning[c];
        ModelGroupClass& group = ImpulseModelList[i][w];
        for (int m = 0; m < NumberOfImpulseModelNames[i]; m++)
          *(worker->TheModelPtr[m]) = group.ModelList[m];
      }
    }
  }
}

// ---- Run time ----

void PerformanceVariableNode::Accumulate(double new_time, double last_event_time,
                                         BaseActionClass* last_action) {
  if (Accumulating != acc_done && new_time >= Start) {
    CommonAccumulate(new_time, last_event_time, last_action);
    UpdateAccumulate(new_time);
  }
}

void PerformanceVariableNode::CommonAccumulate(double next_time, double last_event_time,
                                               BaseActionClass* last_action) {
  IntegrateRate(next_time);
  if (ImpulseAffectedBy(last_action)) {
    AccumulateImpulseWorkers(next_time, last_event_time, last_action);
    RepeatForSuperposedActions(next_time, last_event_time, last_action);
  }
}

void PerformanceVariableNode::IntegrateRate(double next_time) {
  for (int w = 0; w < NumberOfWorkers; w++) IntegrateWorker(WorkerList[w], next_time);
}

void PerformanceVariableNode::RestartWorkers(double time) {
  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w]->Since = time;
}

void PerformanceVariableNode::AccumulateBeforeChange(double firing_time, FastSet& workers) {
  for (int k = 0; k < workers.size(); k++)
    AccumulateWorkerBeforeChange(WorkerList[workers[k]], firing_time);
}

void PerformanceVariableNode::AccumulateImpulse(double new_time, double last_event_time,
                                                BaseActionClass* last_action) {
  if (Accumulating == acc_done || new_time < Start) return;
  if (new_time > Stop) IntegrateRate(new_time);
  AccumulateImpulseWorkers(new_time, last_event_time, last_action);
  RepeatForSuperposedActions(new_time, last_event_time, last_action);
  UpdateAccumulate(new_time);
}

void PerformanceVariableNode::AccumulateImpulseWorkers(double next_time, double last_event_time,
                                                       BaseActionClass* action) {
  FastSet& impulses = action->AffectedImpulseRewards[id];
  for (int j = 0; j < impulses.size(); j++) {
    int impulse = impulses[j];
    int* workers = action->AffectedImpulseWorkers[id][impulse];
    int count = action->NumAffectedImpulseWorkers[id][impulse];
    for (int q = 0; q < count; q++)
      ImpulseWorkersList[impulse][workers[q]]->Accumulate(next_time, last_event_time);
  }
}

void PerformanceVariableNode::UpdateAccumulate(double new_time) {
  if (new_time > Stop) {
    Accumulating = acc_done;
    TotalAccumulation();
  } else {
    Accumulating = acc_now;
  }
}

void PerformanceVariableNode::TotalAccumulation() {
  if (PVRewardType == INSTANT_OF_TIME && NumberOfWorkers > 0) {
    double reward = 0.0;
    for (int w = 0; w < NumberOfWorkers; w++) reward += WorkerList[w]->Reward;
    double fraction = WorkerList[0]->RewardFraction;
    TotalReward += fraction * reward;
    TotalRewardSqr += fraction * reward * reward;
  }
  TotalImpulse = 0.0;
  TotalImpulseSqr = 0.0;
  for (int i = 0; i < NumberOfImpulses; i++) {
    for (int w = 0; w < NumberOfImpulseWorkers[i]; w++) {
      double impulse = ImpulseWorkersList[i][w]->Impulse;
      TotalImpulse += impulse;
      TotalImpulseSqr += impulse * impulse;
    }
  }
  TotalReward += TotalImpulse;
  TotalRewardSqr += TotalImpulseSqr;
}

void PerformanceVariableNode::EndAccumulate(double finish_time, double last_event_time,
                                            BaseActionClass* last_action) {
  if (Accumulating == acc_done) return;
  CommonAccumulate(finish_time, last_event_time, last_action);
  for (int i = 0; i < NumberOfImpulses; i++)
    for (int w = 0; w < NumberOfImpulseWorkers[i]; w++)
      ImpulseWorkersList[i][w]->completeAccumulation(finish_time);
  // One time unit past the batch end completes every node whose window ends by then.
  UpdateAccumulate(finish_time + 1.0);
}

void PerformanceVariableNode::Reset() {
  Accumulating = acc_later;
  TotalReward = 0.0;
  TotalRewardSqr = 0.0;
  TotalImpulse = 0.0;
  TotalImpulseSqr = 0.0;
  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w]->Reset();
  for (int i = 0; i < NumberOfImpulses; i++)
    for (int w = 0; w < NumberOfImpulseWorkers[i]; w++) ImpulseWorkersList[i][w]->Reset();
  if (Type == steady_state) {
    Start = Stop;
    Stop = Stop + batchSize;
  }
}

void PerformanceVariableNode::CurrentReward(BaseActionClass* action) {
  TotalReward = 0.0;
  TotalRewardSqr = 0.0;
  for (int w = 0; w < NumberOfWorkers; w++) {
    WorkerList[w]->CurrentReward();
    TotalReward += WorkerList[w]->Reward;
    TotalRewardSqr += WorkerList[w]->RewardSqr;
  }
  TotalImpulse = 0.0;
  TotalImpulseSqr = 0.0;
  if (!ImpulseAffectedBy(action)) return;
  FastSet& impulses = action->AffectedImpulseRewards[id];
  for (int j = 0; j < impulses.size(); j++) {
    int impulse = impulses[j];
    int* workers = action->AffectedImpulseWorkers[id][impulse];
    int count = action->NumAffectedImpulseWorkers[id][impulse];
    for (int q = 0; q < count; q++) {
      ImpulseNodeClass* worker = ImpulseWorkersList[impulse][workers[q]];
      worker->CurrentImpulse();
      TotalImpulse += worker->Impulse;
      TotalImpulseSqr += worker->ImpulseSqr;
    }
  }
}

// An action the reward model never prepared (no impulse data) affects no variable; the
// prepared ones have frozen sets.
bool PerformanceVariableNode::ImpulseAffectedBy(BaseActionClass* action) {
  if (action == nullptr || !action->IsPVImpulseDSAllocated()) return false;
  if (FrozenSetHolds(action->AffectedNodesByImpulseReward, id)) return true;
  return SuperposedActionAffects(action);
}

void PerformanceVariableNode::UpdateDependencies() {
  if (Type != terminating) return;
  for (int a = 0; a < NumberOfActionDependencies; a++) {
    BaseActionClass* action = ActionDependencies[a];
    action->TotalNumCollected++;
    if (action->TotalNumCollected == action->AffectedNodes.size()) action->AffectedNodes.clear();
  }
}

// TODO: a synchronising action must repeat the accumulation for each of its superposed
// actions and count as affecting when one of them does; the framework has no synchronised
// action class to enumerate them yet. No action of this system is synchronised, and one
// that is stops here instead of being accumulated wrongly.
void PerformanceVariableNode::RepeatForSuperposedActions(double, double,
                                                         BaseActionClass* action) {
  TAVRIN_ASSERT(!action->isSync());
}

bool PerformanceVariableNode::SuperposedActionAffects(BaseActionClass* action) {
  TAVRIN_ASSERT(!action->isSync());
  return false;
}
