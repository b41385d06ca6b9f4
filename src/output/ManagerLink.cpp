// The link to the simulation manager, on which the simulator is the server, and the output
// pipeline that queues reports and writes them in batches, all on the simulation thread.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <string>

#include "engine/SimulatorClass.h"
#include "output/DataPacket.h"
#include "output/TavrinQueue.h"
#include "output/WireCodec.h"
#include "platform/ProcessId.h"
#include "platform/StopSignal.h"
#include "platform/TavrinSocket.h"

namespace {

const int kListenBacklog = 100;
const int kParameterTextSize = 512;        // the longest parameter text of command 3
const int kReportsWrittenAtOnce = 10;      // the first reports are never kept back
const double kKeepBelowSecondsPerWrite = 0.2;

enum ManagerCommand { kAcknowledge = 1, kQuit = 2, kContinueWithoutManager = 3 };

const char kLoopback[] = "127.0.0.1";

// Tries successive ports from port on until one is bound and listened on; port ends as
// that one. Ports still held by connections of an earlier run (TIME_WAIT) are taken, so
// clients started one campaign after another find the same ports free. Two simulators may
// both bind a port before either listens; the one whose listen fails moves on, on a new
// socket, since a bound socket cannot be bound again.
bool ListenOnFirstFreePort(TavrinSocket*& listener, short& port, const char* address) {
  for (int tried = 0; tried < WireCodec::PortsTried; tried++) {
    if (listener->GetErrorString() != nullptr) return false;  // no socket to bind
    unsigned short candidate = static_cast<unsigned short>(port);
    listener->SetReuseAddress();
    if (listener->Bind(candidate, address)) {
      if (listener->Listen(kListenBacklog)) return true;
      if (listener->GetErrorString() != nullptr) return false;
      delete listener;
      listener = new TavrinSocket(true);
    } else if (listener->GetErrorString() != nullptr) {
      // Only a port in use is worth moving on from; any other failure has its message.
      return false;
    }
    if (candidate == 65535) return false;
    port = static_cast<short>(candidate + 1);
  }
  return false;
}

// The pieces of "name;limit;;": empty pieces count, so ";5;;" names no file. hasLimit is
// false when the limit is missing or is not a number in the range of an int.
void SplitParameterText(const char* text, std::string& name, int& limit, bool& hasLimit) {
  std::string all(text);
  size_t first = all.find(';');
  name = all.substr(0, first);
  limit = 0;
  hasLimit = false;
  if (first == std::string::npos) return;
  size_t second = all.find(';', first + 1);
  std::string number = all.substr(first + 1, second == std::string::npos ? std::string::npos
                                                                         : second - first - 1);
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(number.c_str(), &end, 10);
  if (end == number.c_str() || errno == ERANGE || value < INT_MIN || value > INT_MAX) return;
  limit = static_cast<int>(value);
  hasLimit = true;
}

// A file name from the manager may only create a new file below the working directory:
// a relative path with no empty, "." or ".." part, whose directories exist and are no
// symbolic links. Returns the reason it is refused, or null.
const char* RefusalOfManagerFileName(const std::string& name) {
  if (name.empty()) return "it is empty";
  if (name[0] == '/') return "it is an absolute path";
  std::string directory;
  size_t start = 0;
  for (;;) {
    size_t slash = name.find('/', start);
    std::string part = name.substr(start, slash == std::string::npos ? std::string::npos
                                                                     : slash - start);
    if (part.empty() || part == "." || part == "..") return "it has an empty, '.' or '..' part";
    if (slash == std::string::npos) break;
    directory = name.substr(0, slash);
    struct stat info;
    if (lstat(directory.c_str(), &info) != 0) return "a directory on its path does not exist";
    if (S_ISLNK(info.st_mode)) return "a directory on its path is a symbolic link";
    if (!S_ISDIR(info.st_mode)) return "a part of its path is not a directory";
    start = slash + 1;
  }
  struct stat info;
  if (lstat(name.c_str(), &info) == 0) return "a file of that name exists already";
  return nullptr;
}

// Creates the file new and empty, never through a symbolic link, so that the result file
// opened on it afterwards truncates nothing that existed.
bool CreateNewFile(const std::string& name) {
  int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0644);
  if (fd < 0) return false;
  close(fd);
  return true;
}

char* CopyText(const std::string& text) {
  char* copy = new char[text.size() + 1];
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace

// A terminating run never fills more columns than its batch limit, so a packet has no
// more (a later, larger limit from the manager only makes reports cut earlier). A report
// that could not fit in the machine's memory is refused before anything is simulated.
DataPacket* SimulatorClass::CreateDataPacket(int numPVs) {
  int columns = ReportSize;
  if (isTerminatingSimulation != 0 && MaxNumOfBatches > 0 && MaxNumOfBatches < columns)
    columns = MaxNumOfBatches;
  double bytes = 8.0 * (numPVs > 0 ? numPVs : 1) * columns;
  double memory = static_cast<double>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE);
  DataPacket* packet = nullptr;
  // The run keeps an observations packet and a squares packet: both must fit.
  if (memory <= 0 || 2 * bytes < memory) {
    try {
      packet = new DataPacket(MyClientID, static_cast<int>(TheExperimentNumber), numPVs, columns);
    } catch (const std::bad_alloc&) {
      packet = nullptr;
    }
  }
  if (packet == nullptr) {
    std::cerr << "ERROR: Unable to allocate reports of " << columns << " observations for "
              << numPVs << " performance variables (" << bytes / (1 << 20)
              << " MiB each); choose a smaller report size (-n)" << std::endl;
    std::exit(1);
  }
  return packet;
}

TavrinSocket* SimulatorClass::WaitForSimMgrConnection(int timeoutMilliseconds) {
  delete ConnectionSocket;
  ConnectionSocket = new TavrinSocket(true);
  TavrinSocket* connection = new TavrinSocket(false);
  // Only the loopback interface unless -L says otherwise: whoever reaches the port can
  // stop the run or have it write a file.
  const char* address = ListenAddress != nullptr ? ListenAddress : kLoopback;
  if (!ListenOnFirstFreePort(ConnectionSocket, SocketPort, address)) {
    std::cerr << WireCodec::NoFreePortText << std::endl;
    NoFreePort = true;
    delete connection;
    return nullptr;
  }
  // Listening started before the announcement, so a manager that connects as soon as it
  // reads the line finds the port open.
  // The port as the number a manager connects to, even above 32767.
  std::cout << "REGISTER:  Port: [" << static_cast<unsigned short>(SocketPort) << "]"
            << std::endl;
  bool accepted = false;
  while (SimControl == 0 && !accepted && StopSignal() == 0 &&
         (timeoutMilliseconds == -1 || timeoutMilliseconds > 0)) {
    if (ConnectionSocket->Select(AcceptSelectDelay) && ConnectionSocket->Accept(*connection)) {
      // A manager that stops reading must not hold the run for ever.
      connection->SetSendTimeout(SendTimeout);
      SendAcknowledgement(connection, -1, kAcknowledge);
      accepted = true;
    }
    if (ConnectionSocket->GetErrorString() != nullptr) break;  // the listener is broken
    if (timeoutMilliseconds > 0) timeoutMilliseconds -= AcceptSelectDelay;
  }
  if (accepted) return connection;
  delete connection;
  return nullptr;
}

void SimulatorClass::SendAcknowledgement(TavrinSocket* ms, int status, int code) {
  std::string message = WireCodec::EncodeAcknowledgement(status, code, CurrentProcessId());
  if (ms->Send(&message[0], static_cast<int>(message.size())) < 1) SimControl = 2;
}

bool SimulatorClass::OutputCPUTime(TavrinSocket* ms, double seconds) {
  std::string message =
      WireCodec::EncodeCPUTime(MyClientID, static_cast<int>(TheExperimentNumber), seconds);
  if (ms->Send(&message[0], static_cast<int>(message.size())) >= 1) return true;
  SimControl = 2;
  return false;
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
// A parameter text that does not end within CommandTextTimeout ends the connection as a
// failed read does. A file name that could reach outside the working directory or touch an
// existing file is refused, and the run goes on as if none had come.
void SimulatorClass::ContinueWithoutManager(TavrinSocket* ms) {
  char text[kParameterTextSize + 1];
  char endMarker[] = ";;";
  ms->RecvBlock(text, kParameterTextSize, endMarker, CommandTextTimeout);
  if (ms->GetErrorString() != nullptr) {
    std::cout << "Error reading socket 'read'... Exiting." << std::endl;
    SimControl = 2;
    DropManagerLink(ms);   // a peer that stalls gets no more sends to stall on
    return;
  }
  std::string name;
  int limit = 0;
  bool hasLimit = false;
  SplitParameterText(text, name, limit, hasLimit);
  SendAcknowledgement(ms, -1, kContinueWithoutManager);
  if (BinFilename == nullptr && !name.empty()) {
    const char* refusal = RefusalOfManagerFileName(name);
    if (refusal == nullptr && !CreateNewFile(name)) refusal = std::strerror(errno);
    if (refusal != nullptr) {
      std::cerr << "ERROR: Binary file name '" << name << "' from the manager refused: "
                << refusal << std::endl;
    } else {
      if (hasLimit) MaxNumOfBatches = limit;
      BinFilename = CopyText(name);
      FileBin = CreateBinFile(BinFilename);
      FileBinWhole = FileBin != nullptr ? static_cast<std::streamoff>(FileBin->tellp()) : 0;
    }
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
    // A send that failed may have left part of a message on the link: the manager is
    // treated as gone, and nothing more goes to it, so it never reads a cut stream as
    // messages.
    if (SimMgrSocket != nullptr && !OutputCPUTime(SimMgrSocket, CPUSeconds))
      DropManagerLink(SimMgrSocket);
    if ((SimMgrSocket != nullptr || FileBin != nullptr) &&
        !OutputDataBinary(SimMgrSocket, FileBin, observations, nullptr))
      DropManagerLink(SimMgrSocket);
    if (FileBin != nullptr && !FileBin->good()) ResultFileFailed(FileBin, BinFilename, FileBinWhole);
    if (FileCSV != nullptr) {
      OutputDataCSV(*FileCSV, observations, nullptr);
      if (FileCSV->good())
        FileCSVWhole = FileCSV->tellp();
      else
        ResultFileFailed(FileCSV, ASCIIFilename, FileCSVWhole);
    }
    UnusedPackets->Push(observations);
    if (squares != nullptr) UnusedPackets->Push(squares);
  }
  if (SimControl == 1 && OutputPackets->GetCount() == 0) SimControl = 2;
  // The binary file counts as whole up to here only once its header tells its batches.
  if (FileBin != nullptr) {
    UpdateBinFileHeader(*FileBin);
    if (FileBin->good())
      FileBinWhole = FileBin->tellp();
    else
      ResultFileFailed(FileBin, BinFilename, FileBinWhole);
  }
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
