#include "rewards/PVModel.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <unordered_map>
#include <vector>

#include "engine/SimulatorClass.h"
#include "framework/BaseGroupClass.h"
#include "framework/BaseStateVariableClass.h"
#include "framework/Errors.h"
#include "rewards/RewardMemory.h"

namespace {

const int kInitialPVListCapacity = 100;

void Diagnostic(int threshold, const char* text) {
  if (GlobalDebugLevel > threshold) std::cout << "** " << text << std::endl;
}

template <class T>
void Diagnostic(int threshold, const char* text, const T& value) {
  if (GlobalDebugLevel > threshold) std::cout << "** " << text << " = " << value << std::endl;
}

// The per-firing diagnostics, out of line and cold so the firing's path keeps no stream
// code.
[[gnu::noinline, gnu::cold]] void AccumulationDiagnostics(double time) {
  Diagnostic(3, "PVModel::Accumulate(double)");
  Diagnostic(1, "Accumulation Time", time);
}

[[gnu::noinline, gnu::cold]] void FiringDiagnostic() {
  std::cout << "** PV Model firing action" << std::endl;
}

void FreezeRateData(BaseActionClass* action, int numPVs) {
  for (int p = 0; p < numPVs; p++) action->AffectedRateWorkers[p].NoMoreModifications();
  action->AffectedNodesByRateReward.NoMoreModifications();
}

void FreezeImpulseData(BaseActionClass* action, int numPVs) {
  for (int p = 0; p < numPVs; p++) action->AffectedImpulseRewards[p].NoMoreModifications();
  action->AffectedNodesByImpulseReward.NoMoreModifications();
}

}  // namespace

PVModel::PVModel()
    : PerformanceVariableList(nullptr),
      Number_Of_Performance_Variables(0),
      PVListCapacity(0),
      Trace(0),
      TheModel(nullptr),
      LastAction(nullptr),
      PVListOfActions(nullptr),
      Simulation_Stop_Time(0.0),
      AccumulateStartTime(0.0),
      AccumulateStopTime(0.0),
      AffectingActions(nullptr),
      ListOfAffectedLists(nullptr),
      NumAffectingActions(0),
      NumActionsWithImpulseAffects(0),
      TotalNumAffectingActions(0),
      PVStateIndexLength(0),
      ModelStateSize(0),
      PVModelStateSize(0),
      AdditionalStateSize(0),
      StateMode(0),
      PVStateIndex(nullptr) {
  ZeroImpulseAction.defineName("No Action Fired Yet");
  LastAction = &ZeroImpulseAction;
  BaseModelClass::LastActionTime = 0.0;
}

PVModel::~PVModel() { Destruct(); }

// ---- The measured model, passed through ----

void PVModel::listModels(const char* name, List<BaseModelClass>* models) {
  TheModel->listModels(name, models);
}
void PVModel::CurrentState(void* at) { TheModel->CurrentState(at); }
void PVModel::listActions(List<BaseActionClass>* actions) { TheModel->listActions(actions); }
void PVModel::listGroups(List<BaseGroupClass>* groups) { TheModel->listGroups(groups); }
void PVModel::SetState(void* at) { TheModel->SetState(at); }
int PVModel::StateSize() { return PVModelStateSize; }
bool PVModel::CompareState(void* a, void* b) { return TheModel->CompareState(a, b); }
void PVModel::listActions(const char* name, List<BaseActionClass>* actions) {
  TheModel->listActions(name, actions);
}
void PVModel::listSVs(const char* modelName, const char* svName,
                      List<BaseStateVariableClass>* svContainer,
                      List<BaseModelClass>* modelContainer) {
  TheModel->listSVs(modelName, svName, svContainer, modelContainer);
}
void PVModel::printState(std::ostream* out) { TheModel->printState(out); }

// ---- The variable list ----

void PVModel::CreatePVList(int numPVs, bool expandtimearrays) {
  // Node ids index the per-action tables of this model, so they count from 0 for each
  // reward model and match the positions in the list.
  PerformanceVariableNode::the_id = 0;
  delete[] PerformanceVariableList;
  PerformanceVariableList = NewRewardArray<PerformanceVariableNode*>(kInitialPVListCapacity);
  PVListCapacity = kInitialPVListCapacity;
  Number_Of_Performance_Variables = 0;
  for (int n = 0; n < numPVs; n++) {
    PerformanceVariableNode* node = createPVNode(n, 0);
    TAVRIN_ASSERT(node != nullptr);
    int numTimes = node->GetNumTimePoints();
    ReserveNodes(numTimes);
    AppendNode(node);
    if (!expandtimearrays) continue;
    for (int t = 1; t < numTimes; t++) AppendNode(createPVNode(n, t));
  }
}

void PVModel::ReserveNodes(int needed) {
  if (Number_Of_Performance_Variables + needed <= PVListCapacity - 1) return;
  int capacity = 2 * (PVListCapacity + needed);
  PerformanceVariableNode** bigger = NewRewardArray<PerformanceVariableNode*>(capacity);
  for (int i = 0; i < Number_Of_Performance_Variables; i++) bigger[i] = PerformanceVariableList[i];
  delete[] PerformanceVariableList;
  PerformanceVariableList = bigger;
  PVListCapacity = capacity;
}

void PVModel::AppendNode(PerformanceVariableNode* node) {
  TAVRIN_ASSERT(node != nullptr);
  TAVRIN_ASSERT(Number_Of_Performance_Variables < PVListCapacity);
  TAVRIN_ASSERT(node->id == Number_Of_Performance_Variables);
  PerformanceVariableList[Number_Of_Performance_Variables++] = node;
}

void PVModel::ConsiderOnly(int* NodeIndices, int size) {
  if (NodeIndices == nullptr) {
    for (int i = 0; i < Number_Of_Performance_Variables; i++)
      RelevantNodes.append(PerformanceVariableList[i]);
  } else {
    for (int i = 0; i < size; i++) {
      TAVRIN_ASSERT(NodeIndices[i] >= 0 && NodeIndices[i] < Number_Of_Performance_Variables);
      RelevantNodes.append(PerformanceVariableList[NodeIndices[i]]);
    }
  }
  ListFiringEffects();
}

namespace {

// The leaf actions a group can fire: the group itself when it has no members of its own
// (an activity), its members' leaves otherwise.
void ListLeaves(BaseActionClass* action, std::vector<BaseActionClass*>& leaves) {
  BaseGroupClass* group = dynamic_cast<BaseGroupClass*>(action);
  if (group == nullptr || group->NumActions == 0) {
    leaves.push_back(action);
    return;
  }
  for (int i = 0; i < group->NumActions; i++) {
    BaseGroupClass* member = group->getMember(i);
    if (member == group) {
      leaves.push_back(group);
    } else {
      ListLeaves(member, leaves);
    }
  }
}

}  // namespace

// A group's entries are those of the leaves it can fire, so the rewards a firing changes
// are brought up to date before it, whichever member fires. The model's actions are
// listed too, for a caller that fires an action rather than its group.
void PVModel::ListFiringEffects() {
  int identifiers = BaseActionClass::getMaxID();
  std::vector<BaseActionClass*> byId(identifiers, nullptr);
  for (int a = 0; a < NumActions; a++) byId[ActionList[a]->getID()] = ActionList[a];
  for (int g = 0; g < NumGroups; g++) byId[GroupList[g]->getID()] = GroupList[g];

  RateStart.assign(identifiers + 1, 0);
  RateEntries.clear();
  ImpulseStart.assign(identifiers + 1, 0);
  ImpulseEntries.clear();
  std::vector<BaseActionClass*> leaves;
  for (int id = 0; id < identifiers; id++) {
    RateStart[id] = static_cast<int>(RateEntries.size());
    ImpulseStart[id] = static_cast<int>(ImpulseEntries.size());
    BaseActionClass* action = byId[id];
    if (action == nullptr) continue;
    leaves.clear();
    ListLeaves(action, leaves);
    for (BaseActionClass* leaf : leaves) ListRateEntries(leaf);
    ListImpulseEntries(action);
  }
  RateStart[identifiers] = static_cast<int>(RateEntries.size());
  ImpulseStart[identifiers] = static_cast<int>(ImpulseEntries.size());
}

void PVModel::ListRateEntries(BaseActionClass* leaf) {
  if (!leaf->IsPVRateDSAllocated()) return;
  for (int i = 0; i < RelevantNodes.getNumItems(); i++) {
    PerformanceVariableNode* node = RelevantNodes[i];
    FastSet& workers = leaf->AffectedRateWorkers[node->id];
    for (int k = 0; k < workers.size(); k++)
      RateEntries.push_back({node, node->WorkerList[workers[k]]});
  }
}

// The impulse workers an action earns are those its own lists name for each node.
void PVModel::ListImpulseEntries(BaseActionClass* action) {
  if (!action->IsPVImpulseDSAllocated()) return;
  TAVRIN_ASSERT(!action->isSync());
  FastSet& earned = action->AffectedNodesByImpulseReward;
  for (int i = 0; i < RelevantNodes.getNumItems(); i++) {
    PerformanceVariableNode* node = RelevantNodes[i];
    int p = node->id;
    bool listed = false;
    for (int k = 0; k < earned.size(); k++) listed = listed || earned[k] == p;
    if (!listed) continue;
    FastSet& impulses = action->AffectedImpulseRewards[p];
    for (int j = 0; j < impulses.size(); j++) {
      int impulse = impulses[j];
      for (int q = 0; q < action->NumAffectedImpulseWorkers[p][impulse]; q++) {
        int w = action->AffectedImpulseWorkers[p][impulse][q];
        ImpulseEntries.push_back({node, node->ImpulseWorkersList[impulse][w]});
      }
    }
  }
}

// ---- Initialisation ----

void PVModel::Initialize() {
  int numPVs = Number_Of_Performance_Variables;
  ZeroImpulseAction.AllocatePVRateDS(numPVs);
  ZeroImpulseAction.AllocatePVImpulseDS(numPVs);
  FreezeRateData(&ZeroImpulseAction, numPVs);
  FreezeImpulseData(&ZeroImpulseAction, numPVs);
  ZeroImpulseAction.AffectedNodes.NoMoreModifications();

  // The arrays stay the measured model's; Destruct lets go of them before it is deleted.
  GroupList = TheModel->getGroupList();
  Diagnostic(3, "Performance variable model creating PVListOfActions");
  ActionList = TheModel->getActionList();
  NumActions = TheModel->getNumActions();
  Diagnostic(2, "ListOfActions created with number of actions", NumActions);
  NumStateVariables = TheModel->getNumStateVariables();
  NumGroups = TheModel->getNumGroups();
  PVListOfActions = ActionList;
  NumSharedStateVariables = 0;
  Diagnostic(2, "Number of Actions during Initialize", NumActions);

  Diagnostic(3, "Fixing references");
  for (int p = 0; p < numPVs; p++) PerformanceVariableList[p]->FixReferences(TheModel);
  Diagnostic(3, "References Fixed");

  for (int p = 0; p < numPVs; p++)
    if (PerformanceVariableList[p]->Stop > Simulation_Stop_Time)
      Simulation_Stop_Time = PerformanceVariableList[p]->Stop;

  Diagnostic(3, "Making Affected Lists");
  MakeAffectedLists();
  Diagnostic(3, "State Variable affected lists made");
  MakeImpulseAffectedLists();
  Diagnostic(3, "Impulse affected lists made");
  CreateAffectedLists();
  Diagnostic(3, "Lists Created");
  CreatePVStateIndex();
}

void PVModel::MakeAffectedLists() {
  int numPVs = Number_Of_Performance_Variables;
  for (int p = 0; p < numPVs; p++) {
    PerformanceVariableNode* node = PerformanceVariableList[p];
    node->CreateModelGroupList();
    node->CreateWorkerList();
    node->FixWorkerList();
    for (int v = 0; v < node->NumberOfVarNames; v++) {
      List<BaseStateVariableClass> variables;
      List<BaseModelClass> submodels;
      const VarModelPairClass& pair = node->VarNamesList[v];
      TheModel->listSVs(pair.ModelName, pair.VarName, &variables, &submodels);
      // A rate reward on a place no instance has would read nothing and stay 0 all run.
      if (variables.getNumItems() == 0)
        SetUpError(node, "rate reward reads place", pair.VarName, pair.ModelName, "place",
                   pair.VarName);
      for (int s = 0; s < variables.getNumItems(); s++) {
        // One submodel is listed per instance; a submodel holding two variables of the
        // name is listed once, so the later variables share the last submodel listed.
        int m = (s < submodels.getNumItems()) ? s : submodels.getNumItems() - 1;
        BaseStateVariableClass* variable = variables[s];
        for (int a = 0; a < variable->getNumAffectingActions(); a++)
          AddRateDependency(node, p, variable->getAffectingAction(a), submodels[m]);
      }
    }
  }
  for (int a = 0; a < NumActions; a++) {
    BaseActionClass* action = ActionList[a];
    if (!action->IsPVRateDSAllocated()) action->AllocatePVRateDS(numPVs);
    FreezeRateData(action, numPVs);
  }
}

void PVModel::AddRateDependency(PerformanceVariableNode* node, int p, BaseActionClass* action,
                                BaseModelClass* submodel) {
  if (!action->IsPVRateDSAllocated()) {
    action->AllocatePVRateDS(Number_Of_Performance_Variables);
    NumAffectingActions++;
  }
  if (action->AffectedRateWorkers[p].empty()) {
    bool added = action->AffectedNodesByRateReward.insert(p);
    TAVRIN_ASSERT(added);
    node->NumberOfActionDependencies++;
  }
  node->AddPVWorkersToAction(action, submodel);
}

void PVModel::MakeImpulseAffectedLists() {
  int numPVs = Number_Of_Performance_Variables;
  for (int p = 0; p < numPVs; p++) {
    PerformanceVariableNode* node = PerformanceVariableList[p];
    CheckImpulseNames(node);
    node->CreateImpulseModelGroupList();
    node->CreateImpulseWorkerLists();
    node->FixImpulseWorkerLists();
    for (int i = 0; i < node->NumberOfImpulses; i++) {
      // The impulse workers of each instance, in worker order.
      std::unordered_map<const BaseModelClass*, std::vector<int>> byInstance;
      for (int w = 0; w < node->NumberOfImpulseWorkers[i]; w++)
        byInstance[node->ImpulseWorkersList[i][w]->ContainingModel].push_back(w);
      static const std::vector<int> kNone;
      List<BaseModelClass> instances;
      TheModel->listModels(node->ActionNamesList[i].ModelName, &instances);
      for (int c = 0; c < instances.getNumItems(); c++) {
        auto found = byInstance.find(instances[c]);
        AddImpulseDependency(node, p, i, instances[c], found == byInstance.end() ? kNone : found->second);
      }
    }
  }
  List<BaseActionClass> finished;
  for (int a = 0; a < NumActions; a++) FinishImpulseData(ActionList[a], &finished);
}

// An impulse whose model or action does not exist would never be earned: the variable
// would read 0 for the whole run as if nothing had happened.
void PVModel::CheckImpulseNames(PerformanceVariableNode* node) {
  for (int i = 0; i < node->NumberOfImpulses; i++) {
    const ActionModelPairClass& pair = node->ActionNamesList[i];
    List<BaseModelClass> instances;
    TheModel->listModels(pair.ModelName, &instances);
    if (instances.getNumItems() == 0)
      SetUpError(node, "impulse of action", pair.ActionName, pair.ModelName, "model",
                 pair.ModelName);
    for (int c = 0; c < instances.getNumItems(); c++) {
      List<BaseActionClass> found;
      instances[c]->listActions(pair.ActionName, &found);
      if (found.getNumItems() == 0)
        SetUpError(node, "impulse of action", pair.ActionName, pair.ModelName, "action",
                   pair.ActionName);
    }
  }
}

void PVModel::SetUpError(PerformanceVariableNode* node, const char* what, const char* name,
                         const char* model, const char* kind, const char* missing) {
  std::cerr << "ERROR: Reward variable " << (node->Name != nullptr ? node->Name : "(unnamed)")
            << ": " << what << " " << (name != nullptr ? name : "(none)") << " of model "
            << (model != nullptr ? model : "(none)") << ": the model has no " << kind
            << " named " << (missing != nullptr ? missing : "(none)") << std::endl;
  std::exit(1);
}

void PVModel::AddImpulseDependency(PerformanceVariableNode* node, int p, int impulse,
                                   BaseModelClass* instance, const std::vector<int>& workers) {
  List<BaseActionClass> found;
  instance->listActions(node->ActionNamesList[impulse].ActionName, &found);
  if (found.getNumItems() == 0) return;
  BaseActionClass* action = found[0];
  if (!action->IsPVImpulseDSAllocated()) {
    action->AllocatePVImpulseDS(Number_Of_Performance_Variables);
    NumActionsWithImpulseAffects++;
  }
  if (action->AffectedImpulseWorkers[p] == nullptr) {
    action->AffectedNodesByImpulseReward.insert(p);
    node->NumberOfActionDependencies++;
    action->AffectedImpulseWorkers[p] = NewRewardArray<int*>(node->NumberOfImpulses);
    action->NumAffectedImpulseWorkers[p] = NewRewardArray<int>(node->NumberOfImpulses);
  }
  if (action->AffectedImpulseWorkers[p][impulse] == nullptr)
    action->AffectedImpulseRewards[p].insert(impulse);
  // The action's array holds exactly its workers: sized by the whole impulse's worker count,
  // N actions of N copies would take N^2 integers.
  int& listed = action->NumAffectedImpulseWorkers[p][impulse];
  int* grown = NewRewardArray<int>(listed + static_cast<int>(workers.size()));
  for (int q = 0; q < listed; q++) grown[q] = action->AffectedImpulseWorkers[p][impulse][q];
  for (int w : workers) grown[listed++] = w;
  delete[] action->AffectedImpulseWorkers[p][impulse];
  action->AffectedImpulseWorkers[p][impulse] = grown;
}

// TODO: the superposed actions of a synchronising action need impulse data and frozen sets
// as well; the framework has no synchronised action class to enumerate them yet, and no
// action of this system is synchronised.
void PVModel::FinishImpulseData(BaseActionClass* action, List<BaseActionClass>* finished) {
  TAVRIN_ASSERT(!action->isSync());
  if (finished->contains(action)) return;
  if (!action->IsPVImpulseDSAllocated()) action->AllocatePVImpulseDS(Number_Of_Performance_Variables);
  FreezeImpulseData(action, Number_Of_Performance_Variables);
  finished->append(action);
}

void PVModel::CreateAffectedLists() {
  int numPVs = Number_Of_Performance_Variables;
  for (int p = 0; p < numPVs; p++) {
    PerformanceVariableNode* node = PerformanceVariableList[p];
    if (node->NumberOfActionDependencies == 0) continue;
    delete[] node->ActionDependencies;
    node->ActionDependencies = NewRewardArray<BaseActionClass*>(node->NumberOfActionDependencies);
    node->NumberOfActionDependencies = 0;
  }
  if (NumAffectingActions == 0 && NumActionsWithImpulseAffects == 0) return;

  Diagnostic(3, "Creating Affects List");
  AffectingActions = NewRewardArray<BaseActionClass*>(NumActions);
  ListOfAffectedLists = NewRewardArray<FastSet*>(NumActions);
  for (int a = 0; a < NumActions; a++) {
    BaseActionClass* action = ActionList[a];
    if (action->AffectedNodesByRateReward.size() == 0 &&
        action->AffectedNodesByImpulseReward.size() == 0)
      continue;
    CreateTotalPVAffectsList(action);
    AffectingActions[TotalNumAffectingActions] = action;
    ListOfAffectedLists[TotalNumAffectingActions] = &action->AffectedNodes;
    TotalNumAffectingActions++;
    for (int k = 0; k < action->AffectedNodes.size(); k++) {
      PerformanceVariableNode* node = PerformanceVariableList[action->AffectedNodes[k]];
      node->ActionDependencies[node->NumberOfActionDependencies++] = action;
    }
  }
  if (GlobalDebugLevel > 3) {
    for (int p = 0; p < numPVs; p++)
      std::cout << "** \tFor Node: " << p << " Number of dependencies = "
                << PerformanceVariableList[p]->NumberOfActionDependencies << std::endl;
  }
  if (GlobalDebugLevel != 0)
    std::cout << "** Number Of Actions with affects is: " << TotalNumAffectingActions
              << " , NumActions is: " << NumActions << std::endl;
}

void PVModel::CreateTotalPVAffectsList(BaseActionClass* action) {
  TAVRIN_ASSERT(action->AffectedNodes.empty());
  for (int k = 0; k < action->AffectedNodesByRateReward.size(); k++)
    action->AffectedNodes.insert(action->AffectedNodesByRateReward[k]);
  for (int k = 0; k < action->AffectedNodesByImpulseReward.size(); k++)
    action->AffectedNodes.insert(action->AffectedNodesByImpulseReward[k]);
  action->AffectedNodes.NoMoreModifications();
}

void PVModel::CreatePVStateIndex() {
  ModelStateSize = TheModel->StateSize();
  PVModelStateSize = ModelStateSize + AdditionalStateSize;
}

// ---- Run time ----

// Only the nodes whose impulses the last firing earned; rate rewards are brought up to
// date before the firings that change them (FireAction) and at the end of each batch.
void PVModel::Accumulate(double new_time) {
  if (GlobalDebugLevel > 1) AccumulationDiagnostics(new_time);
  int id = LastAction->getID();
  if (id >= static_cast<int>(ImpulseStart.size()) - 1) return;
  for (int k = ImpulseStart[id]; k < ImpulseStart[id + 1]; k++) {
    const ImpulseEntry& entry = ImpulseEntries[k];
    entry.node->AccumulateImpulseWorker(entry.worker, new_time, BaseModelClass::LastActionTime,
                                        LastAction);
  }
}

void PVModel::EndAccumulate(double finish_time) {
  Diagnostic(3, "PVModel::EndAccumulate(double)");
  Diagnostic(1, "Simulator called EndAccumulate at time", finish_time);
  for (int i = 0; i < RelevantNodes.getNumItems(); i++) {
    PerformanceVariableNode* node = RelevantNodes[i];
    if (GlobalDebugLevel > 3)
      std::cout << "** " << node->Name << "->Accumulating: " << node->Accumulating << std::endl;
    if (node->Accumulating != acc_done)
      node->EndAccumulate(finish_time, BaseModelClass::LastActionTime, LastAction);
  }
}

BaseActionClass* PVModel::FireAction(BaseActionClass* action, double FiringTime) {
  int id = action->getID();
  if (id < static_cast<int>(RateStart.size()) - 1) {
    for (int k = RateStart[id]; k < RateStart[id + 1]; k++)
      RateEntries[k].node->AccumulateWorkerBeforeChange(RateEntries[k].worker, FiringTime);
  }
  BaseModelClass::LastActionTime = FiringTime;
  if (GlobalDebugLevel != 0) FiringDiagnostic();
  LastAction = action->Fire();
  return LastAction;
}

void PVModel::PVReset() {
  if (GlobalDebugLevel > 3) {
    std::cout << "** Calling PVReset" << std::endl;
    for (int a = 0; a < NumActions; a++) {
      BaseActionClass* action = ActionList[a];
      std::cout << "** For Action: " << action->ActionName << std::endl;
      FastSet& nodes = action->AffectedNodesByRateReward;
      if (nodes.size() == 0) std::cout << "** \tNULL" << std::endl;
      for (int k = 0; k < nodes.size(); k++) std::cout << "** \t" << nodes[k] << std::endl;
    }
  }
  for (int p = 0; p < Number_Of_Performance_Variables; p++) {
    PerformanceVariableNode* node = PerformanceVariableList[p];
    if (node->Accumulating == acc_now || node->Accumulating == acc_done) node->Reset();
    node->RestartWorkers(0.0);
  }
  LastAction = &ZeroImpulseAction;
  BaseModelClass::LastActionTime = 0.0;
}

void PVModel::SteadyState() {
  PVReset();
  for (int p = 0; p < Number_Of_Performance_Variables; p++)
    if (PerformanceVariableList[p]->Type == steady_state)
      PerformanceVariableList[p]->Accumulating = acc_now;
}

// ---- State-by-state evaluation ----

void PVModel::FireAction(void* state, BaseActionClass* action) {
  LastAction = action->Fire();
  for (int i = 0; i < RelevantNodes.getNumItems(); i++) RelevantNodes[i]->CurrentReward(action);
  TheModel->CurrentState(state);
}

void PVModel::AgeAction(char*, BaseActionClass*) {
  LastAction = &ZeroImpulseAction;
  for (int i = 0; i < RelevantNodes.getNumItems(); i++)
    RelevantNodes[i]->CurrentReward(&ZeroImpulseAction);
}

void PVModel::PutPVState(void*) {
  for (int i = 0; i < RelevantNodes.getNumItems(); i++) {
    RelevantNodes[i]->CurrentReward(&ZeroImpulseAction);
    RelevantNodes[i]->TotalImpulse = 0.0;
  }
}

void PVModel::GetPVState(void*) {}

// ---- The type file and tear-down ----

void PVModel::WritePVTypeFile(const char* filename) {
  std::ofstream out(filename, std::ios::out | std::ios::trunc);
  out << "Version:1\n";
  out << "NumPV:" << Number_Of_Performance_Variables << "\n";
  for (int p = 0; p < Number_Of_Performance_Variables; p++) {
    PerformanceVariableNode* node = PerformanceVariableList[p];
    out << "Name:" << node->Name << "\n";
    out << "Type:" << static_cast<int>(node->PVRewardType) << "\n";
    out << "NumTimes:" << node->NumTimes << "\n";
    for (int i = 0; i < node->NumTimes; i++) {
      out << "Start:" << node->StartList[i] << "\n";
      out << "Stop:" << node->StopList[i] << "\n";
    }
  }
}

// Frees the reward data the reward model hung into an action, while the nodes that size
// the per-variable impulse arrays still exist.
void PVModel::ReleaseActionData(BaseActionClass* action) {
  if (action->IsPVImpulseDSAllocated()) {
    for (int p = 0; p < Number_Of_Performance_Variables; p++) {
      if (action->AffectedImpulseWorkers[p] == nullptr) continue;
      for (int i = 0; i < PerformanceVariableList[p]->NumberOfImpulses; i++)
        delete[] action->AffectedImpulseWorkers[p][i];
      delete[] action->AffectedImpulseWorkers[p];
      delete[] action->NumAffectedImpulseWorkers[p];
    }
  }
  action->DeallocatePVRateDS();
  action->DeallocatePVImpulseDS();
}

void PVModel::Destruct() {
  ReleaseActionData(&ZeroImpulseAction);
  for (int a = 0; a < NumActions; a++) ReleaseActionData(ActionList[a]);
  delete[] AffectingActions;
  AffectingActions = nullptr;
  delete[] ListOfAffectedLists;
  ListOfAffectedLists = nullptr;
  RelevantNodes.clearList();
  for (int p = 0; p < Number_Of_Performance_Variables; p++) delete PerformanceVariableList[p];
  delete[] PerformanceVariableList;
  PerformanceVariableList = nullptr;
  Number_Of_Performance_Variables = 0;
  // The group and action arrays belong to the measured model, which frees them.
  GroupList = nullptr;
  ActionList = nullptr;
  PVListOfActions = nullptr;
  NumActions = 0;
  NumGroups = 0;
  delete TheModel;
  TheModel = nullptr;
}
