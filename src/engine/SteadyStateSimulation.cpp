// Steady-state simulation by batch means: one long run, cut separately for every
// steady-state variable into consecutive batches after its initial transient.

#include <iostream>
#include <utility>

#include "engine/EventList.h"
#include "engine/Heap.h"
#include "engine/SimulatorClass.h"
#include "framework/BaseActionClass.h"
#include "framework/BaseGroupClass.h"
#include "framework/BaseModelClass.h"
#include "output/DataPacket.h"
#include "platform/CPUTime.h"
#include "platform/StopSignal.h"
#include "rewards/PVModel.h"
#include "rewards/PerformanceVariableNode.h"
#include "trace/TraceFileContainer.h"

namespace {

const char kAbsorbing[] =
    "Simulator encountered an absorbing state and is unable to proceed.  Terminating run.";

void Diagnostic(int threshold, const char* text) {
  if (GlobalDebugLevel > threshold) std::cout << "** " << text << std::endl;
}

}  // namespace

void SimulatorClass::SteadyStateSimulation() {
  Diagnostic(3, "Creating initial data structures");
  CurrEvent = Event();
  if (NullAction == nullptr) NullAction = new BaseActionClass();
  int* ResultCounters = new int[NumPVs > 0 ? NumPVs : 1]();
  int* ResultSqrCounters = new int[NumPVs > 0 ? NumPVs : 1]();
  PerformanceVariableNode** ThePVList = TheModel->PerformanceVariableList;
  CurrentTime = 0;
  Diagnostic(3, "Creating initial enabled list");
  GenerateInitialEnabledList();
  Diagnostic(3, "Creating complete event list");
  if (GenerateCompleteEventListSS() != 0) std::cerr << "ERROR: unable to generate event list\n";
  TempAction = NullAction;

  int NumSSPVs = 0;
  for (int i = 0; i < NumPVs; i++)
    if (ThePVList[i]->Type == steady_state) NumSSPVs++;
  StopTimes = new Heap<double>(NumSSPVs);
  CompletedBatches = new Heap<int>(NumSSPVs);
  for (int i = 0; i < NumPVs; i++) {
    PerformanceVariableNode* pv = ThePVList[i];
    if (pv->Type != steady_state) continue;
    // A variable with an initial transient first waits for its end, at count -1.
    if (pv->Start != 0) {
      StopTimes->Insert(pv->Start, i);
      CompletedBatches->Insert(-1, i);
    } else {
      StopTimes->Insert(pv->Stop, i);
      CompletedBatches->Insert(0, i);
    }
  }
  trace->newBatch();
  CurPacket = CreateDataPacket(NumPVs);
  CurSqrPacket = CreateDataPacket(NumPVs);
  delete _cpuTimer;
  _cpuTimer = new CPUTime();
  _cpuTimer->Start();

  if (NumSSPVs == 0) {
    // Without a steady-state variable there is no batch to cut and nothing to measure.
    std::cout << "No steady-state performance variables: nothing to simulate." << std::endl;
    if (SimControl == 0) SimControl = 1;
  } else {
    NextEvent = TheEventList->Earliest();
    if (NextEvent != nullptr) {
      CurrentTime = (*NextEvent)->exec_time;
      CurrAction = (*NextEvent)->action_ptr;
    } else if (SimControl == 0) {
      SimControl = 1;
    }
  }
  if (trace->getTraceLevel() > 0) trace->printInitialState();

  // The trace level does not change during the run: the state-printing test is made once.
  const bool printStates = !trace->empty() && trace->getTraceLevel() > 2;
  while (SimControl == 0) {
    if (GlobalDebugLevel > 2) std::cout << "** " << "CurrentTime" << " = " << CurrentTime << std::endl;
    CheckCompletedBatches(ThePVList, ResultCounters, ResultSqrCounters);
    std::pair<int, int> slowest;
    CompletedBatches->Earliest(slowest);
    if (MaxNumOfBatches > 0 && slowest.first >= MaxNumOfBatches) SimControl = 1;
    // A signal stops the run here; the observations completed so far are written below.
    if (StopSignal() != 0) SimControl = 1;
    if (!SimStepSS()) {
      SimControl = 1;
      std::cout << kAbsorbing << std::endl;
      Traceprintf(0, "%s\n", kAbsorbing);
    }
    if (printStates) trace->printState();
  }

  SendSSResults(ResultCounters, ResultSqrCounters);
  delete StopTimes;
  StopTimes = nullptr;
  delete CompletedBatches;
  CompletedBatches = nullptr;
  delete[] ResultCounters;
  delete[] ResultSqrCounters;
}

// Handles every batch end at or before the current time, earliest first.
void SimulatorClass::CheckCompletedBatches(PerformanceVariableNode** ThePVList,
                                           int* ResultCounters, int* ResultSqrCounters) {
  for (;;) {
    std::pair<double, int> earliest;
    StopTimes->Earliest(earliest);
    if (!(CurrentTime >= earliest.first)) return;
    int i = earliest.second;
    PerformanceVariableNode* pv = ThePVList[i];
    int completed = CompletedBatches->getElement(i);
    if (completed != -1) {
      // A time past the batch end makes the variable complete its batch.
      pv->Accumulate(pv->Stop + 1.0, BaseModelClass::LastActionTime, TheModel->LastAction);
      if (ResultCounters[i] >= CurPacket->GetMaxNumReports()) {
        SendSSResults(ResultCounters, ResultSqrCounters);
        // A stopped run keeps its full report unsent; a further observation has no slot.
        if (ResultCounters[i] >= CurPacket->GetMaxNumReports()) return;
      }
      CurPacket->SetObs(i, ResultCounters[i], pv->TotalReward);
      ResultCounters[i]++;
      CurSqrPacket->SetObs(i, ResultSqrCounters[i], pv->TotalRewardSqr);
      ResultSqrCounters[i]++;
      pv->Reset();
    }
    StopTimes->ModifyKey(i, pv->Stop);
    CompletedBatches->ModifyKey(i, completed + 1);
    trace->newBatch();
  }
}

void SimulatorClass::SendSSResults(int* ResultCounters, int* ResultSqrCounters) {
  if (SimControl == 2) return;
  for (int i = 0; i < NumPVs; i++) {
    CurPacket->SetNumObs(i, ResultCounters[i]);
    CurSqrPacket->SetNumObs(i, ResultSqrCounters[i]);
    ResultCounters[i] = 0;
    ResultSqrCounters[i] = 0;
  }
  CPUSeconds = _cpuTimer->GetTime();
  CheckReportSize(CPUSeconds);
}

short SimulatorClass::GenerateCompleteEventListSS() {
  int numGroups = TheGroupContainer->getNumItems();
  for (int i = 0; i < numGroups; i++) {
    CurrAction = GroupList[i];
    if (CurrAction->Enabled()) {
      Diagnostic(3, "Current Action Enabled");
      ScheduleGroup(CurrAction);
      Diagnostic(3, "After if Enabled");
    }
  }
  return 0;
}

// The steady-state step is the terminating one: the two runs differ only in how they
// cut batches.
bool SimulatorClass::SimStepSS() { return SimStep(); }
