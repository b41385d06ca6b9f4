#include "Reward/TANDEM_REWARD/TANDEM_REWARDPVModel.h"

#include <string>

#include "Atomic/STATION/STATIONSAN.h"
#include "Composed/TANDEM/TANDEMJoin.h"

TANDEM_REWARDPVModel::TANDEM_REWARDPVModel(bool expandTimeArrays) {
  TheModel = new TANDEMJoin();
  DefineName("TANDEM_REWARDPVModel");
  CreatePVList(4, expandTimeArrays);
  Initialize();
}

PerformanceVariableNode* TANDEM_REWARDPVModel::createPVNode(int pvindex, int timeindex) {
  if (pvindex == 0) return new TANDEM_REWARDPV0(timeindex);
  if (pvindex >= 1 && pvindex <= 3) return new TANDEM_REWARDQueueNode(pvindex - 1, timeindex);
  return nullptr;
}

// ---- Throughput ----

TANDEM_REWARDPV0::TANDEM_REWARDPV0(int timeindex) : TheTANDEMJoin(nullptr) {
  TheModelPtr = &TheTANDEMJoin;
  Type = steady_state;
  double startpts[1] = {transient};
  double stoppts[1] = {transient + batchLength};
  Initialize("Throughput", STEADY_STATE, 1, startpts, stoppts, timeindex, 1, 0, 0);
  AddImpulse("Serve", "Tandem.Station[0]", new TANDEM_REWARDPV0Impulse0());
}

void TANDEM_REWARDPV0::CreateWorkerList() {}

TANDEM_REWARDPV0Impulse0::TANDEM_REWARDPV0Impulse0() : Station(nullptr) {
  NumberOfModelDependencies = 1;
  TheModelPtr = new BaseModelClass**[NumberOfModelDependencies];
  TheModelPtr[0] = &Station;
}

TANDEM_REWARDPV0Impulse0::~TANDEM_REWARDPV0Impulse0() { delete[] TheModelPtr; }

double TANDEM_REWARDPV0Impulse0::Impulse_Function() { return 1.0; }

ImpulseNodeClass** TANDEM_REWARDPV0Impulse0::CreateImpulseWorkerList(int count) {
  ImpulseNodeClass** workers = new ImpulseNodeClass*[count];
  for (int w = 0; w < count; w++) workers[w] = new TANDEM_REWARDPV0Impulse0();
  return workers;
}

// ---- Queue1 to Queue3 ----

TANDEM_REWARDQueueNode::TANDEM_REWARDQueueNode(int station, int timeindex) : TheTANDEMJoin(nullptr) {
  TheModelPtr = &TheTANDEMJoin;
  Type = steady_state;
  double startpts[1] = {transient};
  double stoppts[1] = {transient + batchLength};
  std::string name = "Queue" + std::to_string(station + 1);
  std::string instance = "Tandem.Station[" + std::to_string(station) + "]";
  Initialize(name.c_str(), STEADY_STATE, 1, startpts, stoppts, timeindex, 0, 1, 1);
  AddVariableDependency("queue", instance.c_str());
}

void TANDEM_REWARDQueueNode::CreateWorkerList() {
  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new TANDEM_REWARDQueueWorker();
}

TANDEM_REWARDQueueWorker::TANDEM_REWARDQueueWorker() : Station(nullptr) {
  NumModels = 1;
  TheModelPtr = new BaseModelClass**[NumModels];
  TheModelPtr[0] = &Station;
}

TANDEM_REWARDQueueWorker::~TANDEM_REWARDQueueWorker() { delete[] TheModelPtr; }

double TANDEM_REWARDQueueWorker::Reward_Function() {
  return static_cast<STATIONSAN*>(Station)->queue->Mark();
}
