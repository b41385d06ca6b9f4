// Terminating simulation: independent batches from the initial marking at time 0 to the
// model's stop time, each giving one observation of every variable of the run.

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "engine/EventList.h"
#include "engine/SimulatorClass.h"
#include "framework/BaseActionClass.h"
#include "output/DataPacket.h"
#include "platform/CPUTime.h"
#include "platform/StopSignal.h"
#include "rewards/PVModel.h"
#include "rewards/PerformanceVariableNode.h"
#include "trace/TraceFileContainer.h"

namespace {

void DiagnosticValue(int threshold, const char* text, double value) {
  if (GlobalDebugLevel > threshold) std::cout << "** " << text << " = " << value << std::endl;
}

}  // namespace

void SimulatorClass::TerminatingSimulation() {
  CurrEvent = Event();
  if (NullAction == nullptr) NullAction = new BaseActionClass();
  DiagnosticValue(2, "Size of original state", TheModel->StateSize());
  int stateSize = TheModel->StateSize();
  char* OrigState = new char[stateSize > 0 ? stateSize : 1];
  TheModel->CurrentState(OrigState);
  if (GlobalDebugLevel > 3)
    for (int i = 0; i < stateSize; i++) std::printf("OriginalState[%d] = %d\n", i, OrigState[i]);
  int NextReport = ReportSize;
  GenerateInitialEnabledList();
  delete _cpuTimer;
  _cpuTimer = new CPUTime();
  _cpuTimer->Start();
  CurPacket = CreateDataPacket(NumPVs);
  CurSqrPacket = CreateDataPacket(NumPVs);
  PerformanceVariableNode** ThePVList = TheModel->PerformanceVariableList;
  trace->newBatch();
  int batch = 0;
  bool SendResults = false;

  int numTerminating = 0;
  for (int i = 0; i < NumPVs; i++)
    if (ThePVList[i]->Type == terminating) numTerminating++;
  if (numTerminating == 0 && SimControl == 0) {
    // Without a terminating variable a batch has no stop time and measures nothing: every
    // batch would be an instant of zeros, written as if observed, without end when no batch
    // limit is given. The run says so and hands over only the empty final report.
    std::cout << "No terminating performance variables: nothing to simulate." << std::endl;
    SimControl = 1;
    for (int i = 0; i < NumPVs; i++) {
      CurPacket->SetNumObs(i, 0);
      CurSqrPacket->SetNumObs(i, 0);
    }
    CPUSeconds = _cpuTimer->GetTime();
    CheckReportSize(CPUSeconds);
  }

  while (SimControl == 0) {
    RunOneBatch();
    if (GlobalDebugLevel > 1) std::cout << "** " << "Done with batch " << " = " << batch << std::endl;
    if (!trace->empty()) trace->newBatch();
    double StopTime = TheModel->Simulation_Stop_Time;
    TheModel->EndAccumulate(StopTime);
    for (int i = 0; i < NumPVs; i++) {
      CurPacket->SetObs(i, batch, ThePVList[i]->TotalReward);
      CurSqrPacket->SetObs(i, batch, ThePVList[i]->TotalRewardSqr);
    }
    batch++;
    BatchRuns++;
    DiagnosticValue(2, "Batch", batch);
    DiagnosticValue(2, "NextReport", NextReport);
    // A packet may hold fewer columns than the report size (it is sized by the batch limit).
    if (batch == NextReport || batch == CurPacket->GetMaxNumReports()) SendResults = true;
    // A stop asked for by a signal ends the run like the batch limit: the batch just
    // completed is the last, and everything held is written.
    if ((MaxNumOfBatches > 0 && BatchRuns >= MaxNumOfBatches) || StopSignal() != 0) {
      if (SimControl == 0) SimControl = 1;
      SendResults = true;
    }
    if (SendResults) {
      for (int i = 0; i < NumPVs; i++) {
        CurPacket->SetNumObs(i, batch);
        CurSqrPacket->SetNumObs(i, batch);
      }
      CPUSeconds = _cpuTimer->GetTime();
      CheckReportSize(CPUSeconds);
      batch = 0;
      SendResults = false;
    }
    // The state size is a walk over the state variables: it is worked out only when printed.
    if (GlobalDebugLevel > 2)
      DiagnosticValue(2, "Resetting State of the Model.  State Size:", TheModel->StateSize());
    TheModel->SetState(OrigState);
    TheModel->PVReset();
  }
  delete[] OrigState;
}

// One batch from time 0: events at exactly the stop time fire, the first one after it
// does not. The stop time is read afresh, as the model may change it between batches.
void SimulatorClass::RunOneBatch() {
  CurrentTime = 0;
  TheEventList->ClearEventList();
  for (BaseActionClass* group : TheReactivationList) group->Reactivation = false;
  TheReactivationList.clear();
  if (GenerateCompleteEventList() != 0) {
    std::cerr << "ERROR: unable to generate event list\n";
    std::exit(1);
  }
  TempAction = NullAction;
  double StopTime = TheModel->Simulation_Stop_Time;
  if (trace->getTraceLevel() > 0) trace->printInitialState();
  NextEvent = TheEventList->Earliest();
  if (NextEvent == nullptr) return;
  CurrentTime = (*NextEvent)->exec_time;
  CurrAction = (*NextEvent)->action_ptr;
  // The state is printed only by a registered writer at trace level 3 or more; the test
  // is made once per batch rather than once per firing.
  const bool printStates = !trace->empty() && trace->getTraceLevel() > 2;
  while (CurrentTime <= StopTime) {
    if (!SimStep()) break;
    if (printStates) trace->printState();
  }
}
