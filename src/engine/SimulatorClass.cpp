// The simulator's life: construction builds the experiment's whole model in a fixed order,
// Run simulates it, and the destructor releases everything in a fixed order.

#include "engine/SimulatorClass.h"

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "engine/ActionAffectsElement.h"
#include "engine/EventList.h"
#include "engine/Heap.h"
#include "framework/BaseActionClass.h"
#include "framework/BaseGroupClass.h"
#include "output/DataPacket.h"
#include "output/TavrinQueue.h"
#include "platform/CPUTime.h"
#include "platform/StopSignal.h"
#include "platform/TavrinSocket.h"
#include "random/UserDistributions.h"
#include "random/LaggedFibonacci.h"
#include "random/MersenneTwister.h"
#include "random/Tausworthe.h"
#include "rewards/PVModel.h"
#include "rewards/PerformanceVariableNode.h"
#include "study/BaseStudyClass.h"
#include "trace/TraceFileContainer.h"
#include "trace/TraceFileTavrin.h"
#include "trace/TraceFileXML.h"

namespace {

const unsigned int kDefaultSeed = 31415;
const double kLargestDouble = 1.7976931348623157e308;
const char kInvalidDistPrefix[] = "INVALID_DIST_PARAMS:";

void Diagnostic(int threshold, const char* text) {
  if (GlobalDebugLevel > threshold) std::cout << "** " << text << std::endl;
}

std::string WithSuffix(const char* name, const char* suffix) { return std::string(name) + suffix; }

// Whether action is group itself or one of its members at any depth.
bool GroupHolds(BaseGroupClass* group, BaseActionClass* action) {
  if (group == action) return true;
  for (int i = 0; i < group->getNumMembers(); i++)
    if (GroupHolds(group->getMember(i), action)) return true;
  return false;
}

// An action's group id is how the engine finds the group to reschedule when the action
// fires; an id naming a group that does not hold the action would leave that group's
// event stale for the whole run.
void CheckGroupIds(BaseActionClass** actions, int numActions, BaseGroupClass** groups,
                   int numGroups) {
  for (int a = 0; a < numActions; a++) {
    BaseActionClass* action = actions[a];
    int id = action->getGroupId();
    if (id >= 0 && id < numGroups && GroupHolds(groups[id], action)) continue;
    std::cerr << "ERROR: Activity " << action->ActionName << " has group id " << id;
    if (id >= 0 && id < numGroups)
      std::cerr << ", but group " << id << " (" << groups[id]->ActionName << ") does not hold it";
    else
      std::cerr << ", but the model has groups 0 to " << numGroups - 1;
    std::cerr << std::endl;
    std::exit(1);
  }
}

}  // namespace

int SimulatorClass::ExitStatus = 0;

SimulatorClass::SimulatorClass() {
  std::cerr << "SimulatorClass needs the command line" << std::endl;
  std::exit(1);
}

SimulatorClass::SimulatorClass(int argc, char** argv) {
  OverrideString = nullptr;
  Diagnostic(3, "Starting SimulationClass");
  TheGroupContainer = new List<BaseGroupClass>();
  TheActionContainer = new List<BaseActionClass>();
  if (TheDistribution == nullptr || TheDistribution->RNG == nullptr)
    TheDistribution = new UserDistributions(LAGGED_FIBONACCI, kDefaultSeed);
  SetDefaults();

  if (ParseCommandLineOptions(argc, argv) != 0) {
    PrintUsage();
    std::cerr << "ERROR: Parsing command line options" << std::endl;
    std::exit(1);
  }

  CreateTraces();
  BuildModel();
  ConnectModel();
  InstallGenerator();
  // Opened (and so emptied) only once the run is sure to start: a run refused at set-up (an
  // override the study does not have, a model that cannot run) leaves the files of an
  // earlier run as they were.
  OpenResultFiles();

  TheModel->listActions(TheActionContainer);
  ActionList = TheActionContainer->getList();
  for (int i = 0; i < TheModel->getNumActions(); i++) ActionList[i]->Reactivation = false;
  TheDistribution->RNG->srnd(RandomNumberSeed == 0 ? kDefaultSeed : RandomNumberSeed);
  Diagnostic(3, "About to start simulation");
  NumPVs = TheModel->Number_Of_Performance_Variables;
}

void SimulatorClass::SetDefaults() {
  RandomNumberGenerator = LAGGED_FIBONACCI;
  RandomNumberSeed = kDefaultSeed;
  TheExperimentNumber = 0;
  isTerminatingSimulation = 1;
  MyClientID = 0;
  ListenAddress = nullptr;
  CommandTextTimeout = 10000;
  SendTimeout = 30000;
  FileCSVWhole = 0;
  FileBinWhole = 0;
  NumberReports = 1;
  ReportSize = DEFAULT_REPORT_SIZE;
  ASCIIFilename = nullptr;
  BinFilename = nullptr;
  TraceFilename = nullptr;
  WaitForSocket = false;
  MaxNumOfBatches = -1;
  SocketPort = 10000;
  NoFreePort = false;
  AcceptSelectDelay = 2000;
  ReadSelectDelay = 0;
  MaxDataPackets = 50;
  BatchRuns = 0;
  InitiallyEnabled = nullptr;
  NumInitiallyEnabled = 0;
  UnusedPackets = new TavrinQueue<DataPacket*>(MaxDataPackets);
  OutputPackets = new TavrinQueue<DataPacket*>(MaxDataPackets);
  CurPacket = nullptr;
  CurSqrPacket = nullptr;
  SimMgrSocket = nullptr;
  ConnectionSocket = nullptr;
  InSocket = nullptr;
  SimControl = 0;
  CPUSeconds = 0;
  _fireActionCount = 0;
  _cpuTimer = nullptr;
  EnableTavrinTrace = false;
  EnableXMLTrace = false;
  TraceLevel = 1;
  FileCSV = nullptr;
  FileBin = nullptr;
  trace = nullptr;
  traceMob = nullptr;
  traceXML = nullptr;
  TheStudy = nullptr;
  TheModel = nullptr;
  NumPVs = 0;
  PVList = nullptr;
  GroupList = nullptr;
  ActionList = nullptr;
  EventPointerArray = nullptr;
  TheEventList = nullptr;
  NextEvent = nullptr;
  CurrentTime = 0;
  CurrAction = nullptr;
  TempAction = nullptr;
  NullAction = nullptr;   // made by the run loop, after the model took its identifiers
  AffectsAction = nullptr;
  StopTimes = nullptr;
  CompletedBatches = nullptr;
}

// Files are opened before the study is built, so their headers show the experiment, seed
// and generator as the command line gave them.
// A result file that cannot be opened ends the run before any simulating, so no
// observations are produced that nobody can read.
void SimulatorClass::OpenResultFiles() {
  if (ASCIIFilename != nullptr) {
    FileCSV = CreateAsciiFile(ASCIIFilename);
    if (FileCSV == nullptr) std::exit(1);
  }
  if (BinFilename != nullptr) {
    FileBin = CreateBinFile(BinFilename);
    if (FileBin == nullptr) std::exit(1);
  }
}

void SimulatorClass::CreateTraces() {
  trace = new TraceFileContainer();
  if (!EnableTavrinTrace && !EnableXMLTrace) return;
  trace->setTraceLevel(TraceLevel);
  if (EnableTavrinTrace) {
    if (TraceFilename != nullptr) {
      traceMob = new TraceFileTavrin(WithSuffix(TraceFilename, ".txt").c_str());
    } else {
      std::cout << "Adding cout: " << std::endl;
      traceMob = new TraceFileTavrin(&std::cout);
    }
    traceMob->setTraceLevel(TraceLevel);
    trace->AddTraceFile(traceMob);
  }
  if (EnableXMLTrace) {
    if (TraceFilename != nullptr)
      traceXML = new TraceFileXML(WithSuffix(TraceFilename, ".xml").c_str());
    else
      traceXML = new TraceFileXML(&std::cout);
    traceXML->setTraceLevel(TraceLevel);
    trace->AddTraceFile(traceXML);
  }
}

// The study selects the experiment's global values before it builds the reward model,
// so the model is built with those values.
void SimulatorClass::BuildModel() {
  Diagnostic(3, "Generating Study and getting pv model");
  TheStudy = GenerateStudy();
  // The experiment selects a row of the study's value tables; a study without global
  // variables has no table, and any experiment number only labels its results.
  if (TheStudy->GetNumGVs() > 0 && TheExperimentNumber >= TheStudy->GetNumExps()) {
    std::cerr << "ERROR: Experiment " << TheExperimentNumber << " asked for (-e), but the study has "
              << TheStudy->GetNumExps() << " experiments, numbered from 0" << std::endl;
    std::exit(1);
  }
  TheStudy->SetGVs(TheExperimentNumber);
  if (OverrideString != nullptr) {
    if (!TheStudy->overrideGVs(OverrideString)) {
      std::cerr << "ERROR: the global variable overrides (-O) could not all be applied; nothing was run"
                << std::endl;
      std::exit(1);
    }
    std::cout << "Overriding global variables in simulator" << std::endl;
  }
  TheModel = TheStudy->GetPVModel(true);
  if (EnableTavrinTrace || EnableXMLTrace) trace->addPVModel(TheModel);
  trace->printHeader();
  SelectRunVariables();
}

// A window the run cannot observe would give silent zeros (an interval that ends before it
// starts, a time point before time 0), a division by zero (a time average over no time) or,
// for a steady-state batch of no length, a run that cuts batches without end and never
// advances: refused, naming the variable, before anything runs. Windows usually come from
// global variables, so they are checked for the experiment and overrides of this run.
void SimulatorClass::CheckWindow(PerformanceVariableNode* node) {
  double start = node->Start;
  double stop = node->Stop;
  std::string problem;
  if (!std::isfinite(start) || !std::isfinite(stop)) {
    problem = "its window is not finite";
  } else if (node->PVRewardType == STEADY_STATE) {
    if (start < 0) problem = "its initial transient is negative";
    else if (!(stop > start)) problem = "its batch length is not positive";
  } else if (node->PVRewardType == INSTANT_OF_TIME) {
    if (start < 0) problem = "its time point is before time 0";
  } else if (start < 0) {
    problem = "its interval starts before time 0";
  } else if (stop < start) {
    problem = "its interval ends before it starts";
  } else if (node->PVRewardType == TIMEAVE_INTERVAL_OF_TIME && stop == start) {
    problem = "its interval has no length to average over";
  }
  if (problem.empty()) return;
  char window[96];
  std::snprintf(window, sizeof window, " (start %.17g, stop %.17g)", start, stop);
  std::cerr << "ERROR: reward variable " << node->Name << ": " << problem << window << std::endl;
  std::exit(1);
}

// Only the variables of the run's kind take part; the others never reach their window end.
// The run stops at the latest window end of its own variables: the windows of the other
// kind would otherwise stretch every terminating batch to the end of a steady-state batch.
void SimulatorClass::SelectRunVariables() {
  int wanted = isTerminatingSimulation != 0 ? terminating : steady_state;
  int count = TheModel->Number_Of_Performance_Variables;
  int* indices = new int[count > 0 ? count : 1];
  int selected = 0;
  double stopTime = 0.0;
  for (int i = 0; i < count; i++) {
    PerformanceVariableNode* node = TheModel->PerformanceVariableList[i];
    if (node->Type == wanted) {
      CheckWindow(node);
      indices[selected++] = i;
      if (node->Stop > stopTime) stopTime = node->Stop;
    } else {
      node->Stop = kLargestDouble;
    }
  }
  TheModel->Simulation_Stop_Time = stopTime;
  TheModel->ConsiderOnly(indices, selected);
  delete[] indices;
  PVList = TheModel->PerformanceVariableList;
}

void SimulatorClass::ConnectModel() {
  Diagnostic(3, "Getting groups");
  TheModel->listGroups(TheGroupContainer);
  GroupList = TheGroupContainer->getList();
  int numGroups = TheGroupContainer->getNumItems();
  EventPointerArray = new PAddress[numGroups > 0 ? numGroups : 1];
  for (int i = 0; i < numGroups; i++) GroupList[i]->EventPointer = &EventPointerArray[i];
  Diagnostic(3, "End getting groups");
  CheckGroupIds(TheModel->getActionList(), TheModel->getNumActions(), GroupList, numGroups);

  CPUTime timer;
  timer.Start();
  const char* simtest = std::getenv("SIMTEST");
  long builder = (simtest == nullptr) ? 2 : std::strtol(simtest, nullptr, 10);
  short result = 0;
  if (builder == 2) {
    std::cout << "GenerateConnectivityList()" << std::endl;
    result = GenerateConnectivityList();
  } else if (builder == 0 || builder == 1) {
    std::cout << "GenerateConnectivityListOld()" << std::endl;
    result = GenerateConnectivityListOld();
  }
  if (result != 0) {
    std::cerr << "Error Generating Connectivity List\n";
    std::exit(1);
  }
  std::cout << "GenerateConnectivityList() Time=" << timer.GetTime() << std::endl;
  std::cout.flush();

  TheEventList = new EventList(numGroups + 1);
}

void SimulatorClass::InstallGenerator() {
  if (RandomNumberGenerator == TAUSWORTHE) {
    delete TheDistribution->RNG;
    TheDistribution->RNG = new Tausworthe();
    Diagnostic(3, "Using Tausworthe Random Number Generator");
  } else if (RandomNumberGenerator == MERSENNE_TWISTER) {
    delete TheDistribution->RNG;
    TheDistribution->RNG = new MersenneTwister();
    Diagnostic(3, "Using Mersenne Twister Random Number Generator");
  } else {
    Diagnostic(3, "Using Lagged Fibonacci Random Number Generator");
  }
  Diagnostic(3, "Done creating random number generator");
}

void SimulatorClass::Run() {
  InstallStopSignalHandlers();
  if (WaitForSocket) {
    SimMgrSocket = WaitForSimMgrConnection(60000);
    if (SimMgrSocket == nullptr) SimControl = 2;
    // A manager waiting for the announcement must learn that none will come.
    if (NoFreePort && ExitStatus == 0) ExitStatus = 1;
  }
  if (isTerminatingSimulation != 0)
    TerminatingSimulation();
  else
    SteadyStateSimulation();
  if (FileBin != nullptr) {
    CloseBinFile(*FileBin);
    delete FileBin;
    FileBin = nullptr;
  }
  trace->printFooter();
  if (StopSignal() != 0) {
    // A steady-state run counts no batches of its own: each variable cuts its own.
    std::cerr << "SIMULATOR: stopped by signal " << StopSignal();
    if (isTerminatingSimulation != 0) std::cerr << " after " << BatchRuns << " batches";
    std::cerr << "; the result files hold every batch written" << std::endl;
    if (ExitStatus == 0) ExitStatus = 128 + StopSignal();
  }
  std::cout << "Actions fired: " << _fireActionCount << std::endl;
  std::cout << "CPU time (s): " << (_cpuTimer != nullptr ? _cpuTimer->GetTime() : 0.0) << std::endl;
}

SimulatorClass::~SimulatorClass() {
  delete TheGroupContainer;
  delete TheActionContainer;
  delete TheEventList;
  delete[] EventPointerArray;
  delete SimMgrSocket;
  delete ConnectionSocket;
  delete trace;
  delete traceMob;
  delete traceXML;
  ConnectionSocket = nullptr;
  if (FileCSV != nullptr) {
    CloseAsciiFile(*FileCSV);
    delete FileCSV;
  }
  if (FileBin != nullptr) {
    CloseBinFile(*FileBin);
    delete FileBin;
  }
  DeleteQueuedPackets(OutputPackets);
  DeleteQueuedPackets(UnusedPackets);
  delete CurPacket;
  delete CurSqrPacket;
  delete[] ASCIIFilename;
  delete[] BinFilename;
  delete[] TraceFilename;
  delete[] OverrideString;
  delete[] ListenAddress;
  delete[] InitiallyEnabled;
  DestructConnectivityList();
  DestructStudy();
  delete NullAction;
  delete _cpuTimer;
  delete StopTimes;
  delete CompletedBatches;
  TheReactivationList.clear();
}

void SimulatorClass::DeleteQueuedPackets(TavrinQueue<DataPacket*>* queue) {
  for (DataPacket* packet = queue->Pop(); packet != nullptr; packet = queue->Pop()) delete packet;
  delete queue;
}

void SimulatorClass::HandleInvalidDistParams(BaseActionClass* action, std::string message) {
  size_t prefix = message.find(kInvalidDistPrefix);
  assert(prefix != std::string::npos && "a sampling failure must carry its prefix");
  message.erase(prefix, sizeof(kInvalidDistPrefix) - 1);
  std::cerr << "FATAL ERROR: In action " << action->ActionName << "," << message << std::endl;
  std::exit(1);
}
