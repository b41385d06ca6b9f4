#include "framework/BaseActionClass.h"

#include <cmath>
#include <cstring>
#include <iostream>
#include <new>

#include "framework/BaseStateVariableClass.h"
#include "framework/Errors.h"
#include "framework/composed/ComposedModel.h"

int BaseActionClass::MaxID = 0;

namespace {
char* copyName(const char* name) {
  char* copy = new (std::nothrow) char[std::strlen(name) + 1];
  if (copy == nullptr) MemoryAllocationError();
  std::strcpy(copy, name);
  return copy;
}
}  // namespace

BaseActionClass::BaseActionClass()
    : EventPointer(nullptr),
      Affects(nullptr),
      ID(MaxID++),
      GroupID(0),
      ExecutionPolicy(RaceEnabled),
      DistributionType(Exponential),
      phase(1),
      Reactivation(false),
      Disabled(true),
      Fired(false),
      ActionName(copyName("default")),
      FractionComplete(0.0),
      TheModel(nullptr),
      AffectedImpulseRewards(nullptr),
      AffectedImpulseWorkers(nullptr),
      NumAffectedImpulseWorkers(nullptr),
      AffectedRateWorkers(nullptr),
      TotalNumCollected(0) {}

BaseActionClass::~BaseActionClass() {
  DeallocatePVRateDS();
  DeallocatePVImpulseDS();
  delete[] ActionName;
}

void BaseActionClass::BaseActionClassInitialize(const char* name, int groupId,
                                                Distribution distribution,
                                                ExecutionPolicyType policy, int, int,
                                                bool reactivation) {
  defineName(name);
  Reactivation = reactivation;
  GroupID = groupId;
  DistributionType = distribution;
  ExecutionPolicy = policy;
}

void BaseActionClass::defineName(const char* name) {
  char* copy = copyName(name);
  delete[] ActionName;
  ActionName = copy;
}

bool BaseActionClass::isSync() { return false; }
bool BaseActionClass::Enabled() { return false; }
double BaseActionClass::Weight() { return 0.0; }
double BaseActionClass::Rate() { return 0.0; }
bool BaseActionClass::ReactivationPredicate() { return false; }
bool BaseActionClass::ReactivationFunction() { return false; }
double BaseActionClass::SampleDistribution() { return 0.0; }
double* BaseActionClass::ReturnDistributionParameters() { return nullptr; }
void BaseActionClass::SetFired(int fired) { Fired = (fired != 0); }
BaseActionClass* BaseActionClass::Fire() { return nullptr; }
int BaseActionClass::Rank() { return 0; }
bool BaseActionClass::EnablingChange() { return false; }
bool BaseActionClass::IsAMember(BaseActionClass* action) { return action == this; }
double BaseActionClass::Probability(BaseActionClass*) { return 1.0; }
void BaseActionClass::printAffectedState(std::ostream* out) {
  printStates(AffectedStateVariables, out);
}
void BaseActionClass::printEnablingState(std::ostream* out) {
  printStates(EnablingStateVariables, out);
}
BaseActionClass* BaseActionClass::getPrintedAction() { return this; }
double BaseActionClass::ErlangParamM() { return 1.0; }

double BaseActionClass::CheckedWeight(const char* chooser) {
  double weight = Weight();
  if (!(weight >= 0.0) || !std::isfinite(weight))
    InvalidWeight((ActionName + InstanceNote()).c_str(), chooser, weight);
  return weight;
}

std::string BaseActionClass::InstanceNote() const {
  if (TheModel == nullptr) return "";
  std::string path = ComposedModel::instancePathOf(TheModel);
  return path.find('.') == std::string::npos ? "" : " in " + path;
}

void BaseActionClass::addEnablingSV(BaseStateVariableClass* sv) {
  if (sv->isLeafNode())
    EnablingStateVariables.append(sv);
  else
    sv->addSelfAsEnablingSVToAction(this);
}

void BaseActionClass::removeEnablingSV(BaseStateVariableClass* sv) {
  if (sv->isLeafNode())
    EnablingStateVariables.remove(sv);
  else
    sv->removeSelfFromEnablingSVOfAction(this);
}

void BaseActionClass::replaceEnablingSV(BaseStateVariableClass* oldSV,
                                        BaseStateVariableClass* newSV) {
  EnablingStateVariables.replaceItem(oldSV, newSV);
}

void BaseActionClass::addAffectedSV(BaseStateVariableClass* sv) {
  if (sv->isLeafNode())
    AffectedStateVariables.append(sv);
  else
    sv->addSelfAsAffectedSVToAction(this);
}

void BaseActionClass::removeAffectedSV(BaseStateVariableClass* sv) {
  if (sv->isLeafNode())
    AffectedStateVariables.remove(sv);
  else
    sv->removeSelfFromAffectedSVOfAction(this);
}

void BaseActionClass::replaceAffectedSV(BaseStateVariableClass* oldSV,
                                        BaseStateVariableClass* newSV) {
  AffectedStateVariables.replaceItem(oldSV, newSV);
}

void BaseActionClass::PrintInfo() {
  std::cout << "********* " << ActionName << "**********" << std::endl;
  std::cout << std::endl;
  std::cout << "Enabled by:" << std::endl;
  printNames(EnablingStateVariables);
  std::cout << "Affects:" << std::endl;
  printNames(AffectedStateVariables);
  std::cout << "Group ID = " << GroupID << std::endl;
  std::cout << "Execution Policy = " << static_cast<int>(ExecutionPolicy) << std::endl;
  std::cout << "Disabled = " << (Disabled ? 1 : 0) << std::endl;
  std::cout << "Reactivation = " << (Reactivation ? 1 : 0) << std::endl;
  std::cout << "DistributionType = " << static_cast<int>(DistributionType) << std::endl;
}

void BaseActionClass::AllocatePVRateDS(int numPVs) {
  DeallocatePVRateDS();
  AffectedRateWorkers = new (std::nothrow) FastSet[numPVs];
  if (AffectedRateWorkers == nullptr) MemoryAllocationError();
}

void BaseActionClass::AllocatePVImpulseDS(int numPVs) {
  DeallocatePVImpulseDS();
  AffectedImpulseRewards = new (std::nothrow) FastSet[numPVs];
  AffectedImpulseWorkers = new (std::nothrow) int**[numPVs]();
  NumAffectedImpulseWorkers = new (std::nothrow) int*[numPVs]();
  if (AffectedImpulseRewards == nullptr || AffectedImpulseWorkers == nullptr ||
      NumAffectedImpulseWorkers == nullptr)
    MemoryAllocationError();
}

void BaseActionClass::DeallocatePVRateDS() {
  delete[] AffectedRateWorkers;
  AffectedRateWorkers = nullptr;
}

void BaseActionClass::DeallocatePVImpulseDS() {
  delete[] AffectedImpulseRewards;
  delete[] AffectedImpulseWorkers;
  delete[] NumAffectedImpulseWorkers;
  AffectedImpulseRewards = nullptr;
  AffectedImpulseWorkers = nullptr;
  NumAffectedImpulseWorkers = nullptr;
}

void BaseActionClass::printStates(const List<BaseStateVariableClass>& variables,
                                  std::ostream* out) {
  for (int i = 0; i < variables.getNumItems(); i++) variables.getItem(i)->printState(out);
}

void BaseActionClass::printNames(const List<BaseStateVariableClass>& variables) {
  for (int i = 0; i < variables.getNumItems(); i++)
    std::cout << "           " << variables.getItem(i)->getName() << std::endl;
}
