// The link to the simulation manager, on which the simulator is the server, and the output
// pipeline that queues reports and writes them in batches, all on the simulation thread.

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "engine/SimulatorClass.h"
#include "output/DataPacket.h"
#include "output/TavrinQueue.h"
#include "output/WireCodec.h"
#include "platform/ProcessId.h"
#include "platform/TavrinSocket.h"

namespace {

const int kListenBacklog = 100;
const int kMaxPortsTried = 100;            // so that the wait for a free port ends
const int kParameterTextSize = 512;        // the longest parameter text of command 3
const int kReportsWrittenAtOnce = 10;      // the first reports are never kept back
const double kKeepBelowSecondsPerWrite = 0.2;

enum ManagerCommand { kAcknowledge = 1, kQuit = 2, kContinueWithoutManager = 3 };

// Tries successive ports from port on; port ends as the one bound.
bool BindFirstFreePort(TavrinSocket* listener, short& port) {
  if (listener->GetErrorString() != nullptr) return false;  // no socket to bind
  for (int tried = 0; tried < kMaxPortsTried; tried++) {
    unsigned short candidate = static_cast<unsigned short>(port);
    if (listener->Bind(candidate)) return true;
    // Only a port in use is worth moving on from; any other failure has its message.
    if (listener->GetErrorString() != nullptr || candidate == 65535) return false;
    port = static_cast<short>(candidate + 1);
  }
  return false;
}

// The pieces of "name;limit;;": empty pieces count, so ";5;;" names no file.
void SplitParameterText(const char* text, std::string& name, int& limit) {
  std::string all(text);
  size_t first = all.find(';');
  name = all.substr(0, first);
  limit = 0;
  if (first == std::string::npos) return;
  size_t second = all.find(';', first + 1);
  std::string number = all.substr(first + 1, second == std::string::npos ? std::string::npos
                                                                         : second - first - 1);
  limit = static_cast<int>(std::strtol(number.c_str(), nullptr, 10));
}

char* CopyText(const std::string& text) {
  char* copy = new char[text.size() + 1];
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace

DataPacket* SimulatorClass::CreateDataPacket(int numPVs) {
  return new DataPacket(MyClientID, static_cast<int>(TheExperimentNumber), numPVs, ReportSize);
}

TavrinSocket* SimulatorClass::WaitForSimMgrConnection(int timeoutMilliseconds) {
  delete ConnectionSocket;
  ConnectionSocket = new TavrinSocket(true);
  TavrinSocket* connection = new TavrinSocket(false);
  if (!BindFirstFreePort(ConnectionSocket, SocketPort)) {
    std::cerr << "ERROR: Unable to bind a port" << std::endl;
    delete connection;
    return nullptr;
  }
  // The port as the number a manager connects to, even above 32767.
  std::cout << "REGISTER:  Port: [" << static_cast<unsigned short>(SocketPort) << "]"
            << std::endl;
  bool accepted = false;
  if (ConnectionSocket->Listen(kListenBacklog)) {
    while (SimControl == 0 && !accepted && (timeoutMilliseconds == -1 || timeoutMilliseconds > 0)) {
      if (ConnectionSocket->Select(AcceptSelectDelay) && ConnectionSocket->Accept(*connection)) {
        SendAcknowledgement(connection, -1, kAcknowledge);
        accepted = true;
      }
      if (ConnectionSocket->GetErrorString() != nullptr) break;  // the listener is broken
      if (timeoutMilliseconds > 0) timeoutMilliseconds -= AcceptSelectDelay;
    }
  }
  if (accepted) return connection;
  delete connection;
  return nullptr;
}

void SimulatorClass::SendAcknowledgement(TavrinSocket* ms, int status, int code) {
  std::string message = WireCodec::EncodeAcknowledgement(status, code, CurrentProcessId());
  if (ms->Send(&message[0], static_cast<int>(message.size())) < 1) SimControl = 2;
}

void SimulatorClass::OutputCPUTime(TavrinSocket* ms, double seconds) {
  std::string message =
      WireCodec::EncodeCPUTime(MyClientID, static_cast<int>(TheExperimentNumber), seconds);
  if (ms->Send(&message[0], static_cast<int>(message.size())) < 1) SimControl = 2;
}

// A manager that closed the link without an error is gone: the run goes on with its files.
void SimulatorClass::ListenToSimMgr(TavrinSocket* ms) {
  if (!ms->Select(ReadSelectDelay)) {
    if (ms->GetErrorString() != nullptr) {
      std::cout << "Error reading socket 'select'... Exiting." << std::endl;
      SimControl = 2;
    }
    return;
  }
  char command = 0;
  if (ms->Recv(&command, 1) < 1) {
    if (ms->GetErrorString() != nullptr) {
      std::cout << "Error reading socket 'read'... Exiting." << std::endl;
      SimControl = 2;
    } else {
      DropManagerLink(ms);
    }
    return;
  }
  switch (command) {
    case kAcknowledge:
      SendAcknowledgement(ms, -1, kAcknowledge);
      break;
    case kQuit:
      std::cout << "SOCKET::Quit" << std::endl;
      if (GlobalDebugLevel != 0) std::cout << "** " << "LISTEN:  Quit Signal Received" << std::endl;
      SendAcknowledgement(ms, -2, kQuit);
      SimControl = 2;
      break;
    case kContinueWithoutManager:
      ContinueWithoutManager(ms);
      break;
    default:
      std::cerr << "!! Invalid Response Received by Client " << std::endl
                << "!! Simulation" << std::endl;
      break;
  }
}

// Command 3: the manager may name the binary file and the batch limit, then leaves.
void SimulatorClass::ContinueWithoutManager(TavrinSocket* ms) {
  char text[kParameterTextSize + 1];
  char endMarker[] = ";;";
  ms->RecvBlock(text, kParameterTextSize, endMarker);
  std::string name;
  int limit = 0;
  SplitParameterText(text, name, limit);
  SendAcknowledgement(ms, -1, kContinueWithoutManager);
  if (BinFilename == nullptr && !name.empty()) {
    MaxNumOfBatches = limit;
    BinFilename = CopyText(name);
    FileBin = CreateBinFile(BinFilename);
  }
  DropManagerLink(ms);
}

void SimulatorClass::DropManagerLink(TavrinSocket* ms) {
  if (ms == SimMgrSocket) SimMgrSocket = nullptr;
  delete ms;
}

// Waits between commands in Select, so the loop does not spin while the manager is quiet.
void SimulatorClass::ListenToSimMgrLoop(TavrinSocket* ms) {
  while (SimControl == 0 && SimMgrSocket == ms) {
    if (ms->Select(AcceptSelectDelay) || ms->GetErrorString() != nullptr) ListenToSimMgr(ms);
  }
}

int SimulatorClass::CheckReportSize(double seconds) {
  if (SimMgrSocket != nullptr) ListenToSimMgr(SimMgrSocket);
  double secondsPerWrite = seconds / NumberReports;
  OutputPackets->Push(CurPacket);
  OutputPackets->Push(CurSqrPacket);
  CurPacket = UnusedPackets->Pop();
  if (CurPacket == nullptr) CurPacket = CreateDataPacket(NumPVs);
  CurSqrPacket = UnusedPackets->Pop();
  if (CurSqrPacket == nullptr) CurSqrPacket = CreateDataPacket(NumPVs);
  // Fast runs gather reports so they do not spend their time in small writes; the last
  // report of a run (SimControl 1) is always written at once.
  if (NumberReports > kReportsWrittenAtOnce && secondsPerWrite < kKeepBelowSecondsPerWrite &&
      OutputPackets->GetCount() < MaxDataPackets && SimControl != 1)
    return 0;
  NumberReports++;
  OutputThreadFunc();
  return 1;
}

void SimulatorClass::OutputThreadFunc() {
  for (DataPacket* observations = OutputPackets->Pop(); observations != nullptr;
       observations = OutputPackets->Pop()) {
    DataPacket* squares = OutputPackets->Pop();
    if (SimMgrSocket != nullptr) OutputCPUTime(SimMgrSocket, CPUSeconds);
    if (SimMgrSocket != nullptr || FileBin != nullptr)
      OutputDataBinary(SimMgrSocket, FileBin, observations, nullptr);
    if (FileCSV != nullptr) OutputDataCSV(*FileCSV, observations, nullptr);
    UnusedPackets->Push(observations);
    if (squares != nullptr) UnusedPackets->Push(squares);
  }
  if (SimControl == 1 && OutputPackets->GetCount() == 0) SimControl = 2;
  if (FileBin != nullptr) UpdateBinFileHeader(*FileBin);
}

void SimulatorClass::ResetDataPacketBuffer() {
  for (DataPacket* packet = OutputPackets->Pop(); packet != nullptr; packet = OutputPackets->Pop())
    UnusedPackets->Push(packet);
}

void SimulatorClass::SocketThreadFunc() {
  while (SimControl == 0) {
    TavrinSocket* ms = WaitForSimMgrConnection(-1);
    if (ms == nullptr) return;
    delete SimMgrSocket;
    SimMgrSocket = ms;
    ListenToSimMgrLoop(ms);
  }
}

unsigned long SimulatorClass::StaticSocketThreadFunc(void* simulator) {
  static_cast<SimulatorClass*>(simulator)->SocketThreadFunc();
  return 0;
}

unsigned long SimulatorClass::StaticOutputThreadFunc(void* simulator) {
  SimulatorClass* self = static_cast<SimulatorClass*>(simulator);
  while (self->SimControl != 2) self->OutputThreadFunc();
  return 0;
}
