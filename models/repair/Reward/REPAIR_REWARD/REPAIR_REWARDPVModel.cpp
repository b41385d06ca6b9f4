#include "Reward/REPAIR_REWARD/REPAIR_REWARDPVModel.h"

#include "Atomic/FACILITY/FACILITYSAN.h"
#include "Atomic/MACHINE/MACHINESAN.h"
#include "Composed/REPAIR/REPAIRJoin.h"

REPAIR_REWARDPVModel::REPAIR_REWARDPVModel(bool expandTimeArrays) {
  TheModel = new REPAIRJoin();
  DefineName("REPAIR_REWARDPVModel");
  CreatePVList(3, expandTimeArrays);
  Initialize();
}

PerformanceVariableNode* REPAIR_REWARDPVModel::createPVNode(int pvindex, int timeindex) {
  switch (pvindex) {
    case 0:
      return new REPAIR_REWARDPV0(timeindex);
    case 1:
      return new REPAIR_REWARDPV1(timeindex);
    case 2:
      return new REPAIR_REWARDPV2(timeindex);
    default:
      return nullptr;
  }
}

// ---- Broken ----

REPAIR_REWARDPV0::REPAIR_REWARDPV0(int timeindex) : TheREPAIRJoin(nullptr) {
  TheModelPtr = &TheREPAIRJoin;
  Type = steady_state;
  double startpts[1] = {transient};
  double stoppts[1] = {transient + batchLength};
  Initialize("Broken", STEADY_STATE, 1, startpts, stoppts, timeindex, 0, 1, 1);
  AddVariableDependency("up", "Machine");
}

void REPAIR_REWARDPV0::CreateWorkerList() {
  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new REPAIR_REWARDPV0Worker();
}

REPAIR_REWARDPV0Worker::REPAIR_REWARDPV0Worker() : Machine(nullptr) {
  NumModels = 1;
  TheModelPtr = new BaseModelClass**[NumModels];
  TheModelPtr[0] = &Machine;
}

REPAIR_REWARDPV0Worker::~REPAIR_REWARDPV0Worker() { delete[] TheModelPtr; }

double REPAIR_REWARDPV0Worker::Reward_Function() {
  return 1 - static_cast<MACHINESAN*>(Machine)->up->Mark();
}

// ---- CrewUtilisation ----

REPAIR_REWARDPV1::REPAIR_REWARDPV1(int timeindex) : TheREPAIRJoin(nullptr) {
  TheModelPtr = &TheREPAIRJoin;
  Type = steady_state;
  double startpts[1] = {transient};
  double stoppts[1] = {transient + batchLength};
  Initialize("CrewUtilisation", STEADY_STATE, 1, startpts, stoppts, timeindex, 0, 1, 1);
  AddVariableDependency("crews", "Facility");
}

void REPAIR_REWARDPV1::CreateWorkerList() {
  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new REPAIR_REWARDPV1Worker();
}

REPAIR_REWARDPV1Worker::REPAIR_REWARDPV1Worker() : Facility(nullptr) {
  NumModels = 1;
  TheModelPtr = new BaseModelClass**[NumModels];
  TheModelPtr[0] = &Facility;
}

REPAIR_REWARDPV1Worker::~REPAIR_REWARDPV1Worker() { delete[] TheModelPtr; }

double REPAIR_REWARDPV1Worker::Reward_Function() {
  return static_cast<double>(crews - static_cast<FACILITYSAN*>(Facility)->crews->Mark()) / crews;
}

// ---- Failures ----

REPAIR_REWARDPV2::REPAIR_REWARDPV2(int timeindex) : TheREPAIRJoin(nullptr) {
  TheModelPtr = &TheREPAIRJoin;
  Type = steady_state;
  double startpts[1] = {transient};
  double stoppts[1] = {transient + batchLength};
  Initialize("Failures", STEADY_STATE, 1, startpts, stoppts, timeindex, 1, 0, 0);
  AddImpulse("Fail", "Machine", new REPAIR_REWARDPV2Impulse0());
}

void REPAIR_REWARDPV2::CreateWorkerList() {}

REPAIR_REWARDPV2Impulse0::REPAIR_REWARDPV2Impulse0() : Machine(nullptr) {
  NumberOfModelDependencies = 1;
  TheModelPtr = new BaseModelClass**[NumberOfModelDependencies];
  TheModelPtr[0] = &Machine;
}

REPAIR_REWARDPV2Impulse0::~REPAIR_REWARDPV2Impulse0() { delete[] TheModelPtr; }

double REPAIR_REWARDPV2Impulse0::Impulse_Function() { return 1.0; }

ImpulseNodeClass** REPAIR_REWARDPV2Impulse0::CreateImpulseWorkerList(int count) {
  ImpulseNodeClass** workers = new ImpulseNodeClass*[count];
  for (int w = 0; w < count; w++) workers[w] = new REPAIR_REWARDPV2Impulse0();
  return workers;
}
