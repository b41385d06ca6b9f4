#ifndef TAVRIN_ENGINE_SIMULATORCLASS_H
#define TAVRIN_ENGINE_SIMULATORCLASS_H

#include <fstream>
#include <list>
#include <ostream>
#include <string>
#include <vector>

#include "engine/Event.h"
#include "framework/List.h"
#include "random/RandomNumberGeneratorType.h"

class ActionAffectsElement;
class SegmentReference;
class BaseActionClass;
class BaseGroupClass;
class BaseStudyClass;
class CPUTime;
class DataPacket;
class EventList;
class PerformanceVariableNode;
class PVModel;
class TavrinSocket;
class TraceFile;
class TraceFileContainer;
template <class T> class Heap;
template <class T> class TavrinQueue;

// Process-wide diagnostic level; diagnostics print only when it exceeds their threshold.
extern int GlobalDebugLevel;

const int MAXARGLENGTH = 128;          // longest accepted command-line word, in bytes
const int DEFAULT_REPORT_SIZE = 1000;  // observations per variable in one report

// SimulatorClass: the one simulator of the process. It builds the experiment's model from
// the command line, runs the terminating or steady-state simulation and reports the
// observations; the operations of each concern live in their own source file.
class SimulatorClass {
 public:
  SimulatorClass();                        // not usable: ends the process with exit code 1
  SimulatorClass(int argc, char** argv);
  ~SimulatorClass();
  SimulatorClass(const SimulatorClass&) = delete;
  SimulatorClass& operator=(const SimulatorClass&) = delete;

  void Run();
  [[noreturn]] void HandleInvalidDistParams(BaseActionClass* action, std::string message);

  // Command line (Options.cpp)
  short ParseCommandLineOptions(int argc, char** argv);
  void PrintUsage();
  std::string to_string(RandomNumberGeneratorType generator);

  // Connectivity list (ConnectivityList.cpp)
  short GenerateConnectivityList();
  short GenerateConnectivityListOld();
  short AddActionAffects(BaseActionClass* group, BaseActionClass* action);
  short AddActionAffectsOld(BaseActionClass* group, BaseActionClass* action);
  void ClearActionAffectsList(BaseActionClass* action);
  void DestructConnectivityList();
  void PrintConnectivityList(std::ostream& out);

  // Simulation step (SimStep.cpp)
  void GenerateInitialEnabledList();
  short GenerateCompleteEventList();
  bool SimStep();
  void CheckReactivationList();
  void RemoveAffectedActions();   // this and the next are inline in SimStep.cpp, for the step
  void InsertAffectedActions();
  // The two for one group, inline in SimStep.cpp, and for the groups of a shared segment
  // of the connectivity list (out of line, so the step's own loops stay small).
  void RemoveIfAffected(BaseActionClass* group);
  void InsertIfEnabled(BaseActionClass* group);
  void RemoveAffectedInSegment(const SegmentReference* reference);
  void InsertAffectedInSegment(const SegmentReference* reference);
  // Scheduling one group: a guarded sample from CurrentTime into CurrEvent, the
  // reactivation predicate, then the insertion. Also used by the steady-state start.
  void ScheduleGroup(BaseActionClass* group);
  double SampleDelay(BaseActionClass* group);   // ends the process on invalid parameters
  void WatchForReactivation(BaseActionClass* group);   // puts the group at the list front
  void StopWatching(BaseActionClass* group);   // flag and handle only; the caller erases
  void ScheduleInStep(BaseActionClass* group);  // ScheduleGroup, inline in SimStep.cpp only

  // Terminating simulation (TerminatingSimulation.cpp)
  void TerminatingSimulation();
  void RunOneBatch();

  // Steady-state simulation (SteadyStateSimulation.cpp)
  void SteadyStateSimulation();
  void CheckCompletedBatches(PerformanceVariableNode** ThePVList, int* ResultCounters,
                             int* ResultSqrCounters);
  void SendSSResults(int* ResultCounters, int* ResultSqrCounters);
  short GenerateCompleteEventListSS();
  bool SimStepSS();

  // Result files (output/ResultFiles.cpp)
  static const int BinFileVersion = 1;
  static const int NumberTextSize = 330;  // room for any double in fixed point, ten decimals
  std::ofstream* CreateAsciiFile(char* filename);  // null, after its message, when it cannot open
  void CloseAsciiFile(std::ofstream& file);
  std::string CreateBinFileHeader(int fileVersion);
  std::ofstream* CreateBinFile(char* filename);    // null, after its message, when it cannot open
  void UpdateBinFileHeader(std::ofstream& file);
  void CloseBinFile(std::ofstream& file);
  double EndianConvertDouble(double value);
  int OutputInt(TavrinSocket* socket, std::ostream* stream, int value);
  int OutputShort(TavrinSocket* socket, std::ostream* stream, short value);
  int OutputByte(TavrinSocket* socket, std::ostream* stream, char value);
  int Output(TavrinSocket* socket, std::ostream* stream, double* array, int sizeArray);
  // False when the socket did not take the whole record (the run is then stopped).
  bool OutputDataBinary(TavrinSocket* socket, std::ostream* stream, DataPacket* dp,
                        DataPacket* dpsqr);
  void OutputDataCSV(std::ostream& stream, DataPacket* dp, DataPacket* dpsqr);
  void RemoveTrailingZeros(char* str, double d);  // str holds NumberTextSize characters
  // A result file that could not be written: reported, cut back to its last whole report,
  // closed, and the run stopped with exit status 1.
  void ResultFileFailed(std::ofstream*& file, const char* filename, std::streamoff wholeSize);
  std::streamoff FileCSVWhole;   // bytes of the ASCII file known to be written whole
  std::streamoff FileBinWhole;   // bytes of the binary file known to be written whole
  std::string ConversionBuffer;  // big-endian doubles of Output, kept between calls
  std::string RecordBuffer;      // one whole data record of OutputDataBinary, kept between calls

  // Manager link and output pipeline (output/ManagerLink.cpp)
  DataPacket* CreateDataPacket(int numPVs);
  TavrinSocket* WaitForSimMgrConnection(int timeoutMilliseconds);
  void ListenToSimMgr(TavrinSocket* ms);
  void ListenToSimMgrLoop(TavrinSocket* ms);
  void ContinueWithoutManager(TavrinSocket* ms);  // command 3
  void DropManagerLink(TavrinSocket* ms);         // closes and deletes ms
  void SendAcknowledgement(TavrinSocket* ms, int status, int code);
  bool OutputCPUTime(TavrinSocket* ms, double seconds);  // false when the send failed
  int CheckReportSize(double seconds);  // 1 when the queued reports were written now
  void OutputThreadFunc();
  void ResetDataPacketBuffer();
  void SocketThreadFunc();
  static unsigned long StaticSocketThreadFunc(void* simulator);
  static unsigned long StaticOutputThreadFunc(void* simulator);

  // Options and run control
  char* OverrideString;                 // owned copy of -O, handed to the study
  unsigned int TheExperimentNumber;
  int isTerminatingSimulation;          // non-zero: terminating; 0: steady state
  int MaxNumOfBatches;                  // 0 or less: no limit
  RandomNumberGeneratorType RandomNumberGenerator;
  unsigned int RandomNumberSeed;        // 0 is replaced by 31415 when seeding
  bool WaitForSocket;
  int SimControl;                       // 0 running, 1 drain the output, 2 stop now
  int BatchRuns;
  double CPUSeconds;
  // 64 bits: a long steady-state run passes 2^31 firings within minutes.
  long long _fireActionCount;
  // Where the clock stood at the last check that it still advances (see CheckClockAdvances).
  static constexpr long long kClockCheckMask = (1LL << 24) - 1;
  double _clockCheckTime = -1.0;
  int _clockCheckBatch = -1;
  CPUTime* _cpuTimer;                   // owned: made by the simulation loop

  // Model handles
  BaseStudyClass* TheStudy;             // made by GenerateStudy, released by DestructStudy
  PVModel* TheModel;                    // not owned: the study's reward model
  int NumPVs;
  PerformanceVariableNode** PVList;     // not owned: the reward model's variable list
  List<BaseGroupClass>* TheGroupContainer;    // owned
  BaseGroupClass** GroupList;                 // the group container's array
  List<BaseActionClass>* TheActionContainer;  // owned
  BaseActionClass** ActionList;               // the action container's array
  PAddress* EventPointerArray;                // owned: entry i belongs to group i

  // Event engine state
  EventList* TheEventList;              // owned
  Event CurrEvent;                      // scratch record each new event is built in
  Event** NextEvent;                    // the slot of the event to fire next
  double CurrentTime;
  BaseActionClass* CurrAction;          // not owned: group of the event being handled
  BaseActionClass* TempAction;          // not owned: action that fired in the last step
  BaseActionClass* NullAction;          // owned: the initial TempAction of each batch
  ActionAffectsElement* AffectsAction;  // cursor over the fired action's connectivity list
  // Owned: the first nodes of the connectivity list's shared segments (ConnectivityList.cpp).
  std::vector<ActionAffectsElement*> AffectsSegments;
  BaseActionClass** InitiallyEnabled;   // owned array
  int NumInitiallyEnabled;
  std::list<BaseActionClass*> TheReactivationList;

  // Steady-state bookkeeping
  Heap<double>* StopTimes;              // owned
  Heap<int>* CompletedBatches;          // owned

  // Output and manager link
  char* ASCIIFilename;                  // owned copy
  char* BinFilename;                    // owned copy
  std::ofstream* FileCSV;               // owned
  std::ofstream* FileBin;               // owned
  TavrinQueue<DataPacket*>* UnusedPackets;   // owned, with the packets it holds
  TavrinQueue<DataPacket*>* OutputPackets;   // owned, with the packets it holds
  DataPacket* CurPacket;                // owned
  DataPacket* CurSqrPacket;             // owned
  int MaxDataPackets;
  int NumberReports;
  int ReportSize;
  TavrinSocket* SimMgrSocket;           // owned
  TavrinSocket* ConnectionSocket;       // owned
  TavrinSocket* InSocket;               // not used
  int AcceptSelectDelay;
  int ReadSelectDelay;
  short SocketPort;
  bool NoFreePort;                      // the wait for the manager found no port to bind
  int MyClientID;
  char* ListenAddress;                  // owned copy of -L; none: the loopback interface
  int CommandTextTimeout;               // ms a command's parameter text may take to arrive
  int SendTimeout;                      // ms a send to the manager may go without progress

  // Exit status of the process once the simulator is gone: 0, 1 when a result file could
  // not be written whole, 128 + the signal that stopped the run.
  static int ExitStatus;

  // Tracing
  char* TraceFilename;                  // owned copy
  int TraceLevel;
  bool EnableTavrinTrace;
  bool EnableXMLTrace;
  TraceFileContainer* trace;            // owned, with its writers
  TraceFile* traceMob;                  // not owned: the plain-text writer in trace
  TraceFile* traceXML;                  // not owned: the XML writer in trace

 private:
  // Construction, step by step (SimulatorClass.cpp)
  void SetDefaults();
  void OpenResultFiles();
  void CreateTraces();
  void BuildModel();
  [[gnu::noinline, gnu::cold]] void CheckClockAdvances();
  void SelectRunVariables();
  static void CheckWindow(PerformanceVariableNode* node);
  void ConnectModel();
  void InstallGenerator();
  static void DeleteQueuedPackets(TavrinQueue<DataPacket*>* queue);
};

#endif
