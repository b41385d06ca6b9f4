// The command line: every setting of a run comes from it; there is no configuration file.

#include <arpa/inet.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "engine/SimulatorClass.h"

int GlobalDebugLevel = 0;

namespace {

// Decimal prefix of a word, as the C library converts it; text that is no number gives 0.
long ToNumber(const char* text) { return std::strtol(text, nullptr, 10); }

char* CopyText(const char* text) {
  char* copy = new char[std::strlen(text) + 1];
  std::strcpy(copy, text);
  return copy;
}

void ReplaceText(char*& field, const char* text) {
  delete[] field;
  field = CopyText(text);
}

}  // namespace

short SimulatorClass::ParseCommandLineOptions(int argc, char** argv) {
  ReportSize = DEFAULT_REPORT_SIZE;
  MaxNumOfBatches = 0;
  bool traceFileSet = false;

  if (argc == 1) {
    std::cerr << "ERROR: No command line options specified" << std::endl;
    return 1;
  }

  for (int i = 1; i < argc; i++) {
    const char* word = argv[i];
    size_t length = std::strlen(word);
    if (length > static_cast<size_t>(MAXARGLENGTH)) {
      std::cerr << "ERROR: Command Line Argument Too Long, Limited to " << MAXARGLENGTH
                << " Characters\n";
      return 1;
    }
    if (word[0] != '-') continue;

    char letter = word[1];
    const char* parameter = nullptr;
    if (length == 2) {
      if (i + 1 < argc && argv[i + 1][0] != '-') parameter = argv[++i];
    } else if (length > 2) {
      parameter = word + 2;
    }

    // Flag options take no parameter; every other known option needs one.
    bool isFlag = (letter == 'm' || letter == 'x' || letter == 'w');
    if (std::strchr("abcefmxlnNprstwOL", letter) == nullptr || letter == '\0') {
      std::cerr << "ERROR: Unrecognized Command Line option: " << word << "\n";
      return 1;
    }
    if (isFlag && parameter != nullptr) {
      std::cerr << "Did not expect a parameter after '-" << letter << "'\n";
      return 1;
    }
    if (!isFlag && parameter == nullptr) {
      std::cerr << "Expect a parameter after '-" << letter << "'\n";
      return 1;
    }

    switch (letter) {
      case 'a':
        ReplaceText(ASCIIFilename, parameter);
        std::cout << "ASCIIFilename: " << ASCIIFilename << std::endl;
        break;
      case 'b':
        ReplaceText(BinFilename, parameter);
        std::cout << "BinFilename: " << BinFilename << std::endl;
        break;
      case 'c':
        MyClientID = static_cast<int>(ToNumber(parameter));
        std::cout << "ClientID: " << MyClientID << std::endl;
        break;
      case 'e':
        TheExperimentNumber = static_cast<unsigned int>(ToNumber(parameter));
        std::cout << "Experiment: " << TheExperimentNumber << std::endl;
        break;
      case 'f':
        ReplaceText(TraceFilename, parameter);
        traceFileSet = true;
        std::cout << "TraceFile: " << TraceFilename << std::endl;
        break;
      case 'l':
        TraceLevel = static_cast<int>(ToNumber(parameter));
        traceFileSet = true;
        std::cout << "TraceLevel: " << TraceLevel << std::endl;
        break;
      case 'm':
        EnableTavrinTrace = true;
        break;
      case 'x':
        EnableXMLTrace = true;
        break;
      case 'n': {
        // A report must hold at least one observation, or no report could ever complete;
        // a size beyond an int would wrap to nonsense when the packets are made.
        long size = ToNumber(parameter);
        if (size < 1) {
          std::cerr << "ERROR: Report size must be at least 1\n";
          return 1;
        }
        if (size > INT_MAX) {
          std::cerr << "ERROR: Report size must be at most " << INT_MAX << "\n";
          return 1;
        }
        ReportSize = static_cast<int>(size);
        std::cout << "ReportSize: " << ReportSize << std::endl;
        break;
      }
      case 'N':
        MaxNumOfBatches = static_cast<int>(ToNumber(parameter));
        std::cout << "Max Number of Batches: " << MaxNumOfBatches << std::endl;
        break;
      case 'p':
        SocketPort = static_cast<short>(ToNumber(parameter));
        std::cout << "Port: " << SocketPort << std::endl;
        break;
      case 'r': {
        long generator = ToNumber(parameter);
        if (generator < LAGGED_FIBONACCI || generator > MERSENNE_TWISTER) return 1;
        RandomNumberGenerator = static_cast<RandomNumberGeneratorType>(generator);
        std::cout << "Random Number Generator: " << to_string(RandomNumberGenerator) << std::endl;
        break;
      }
      case 's':
        RandomNumberSeed = static_cast<unsigned int>(ToNumber(parameter));
        std::cout << "Random Number Seed: " << RandomNumberSeed << std::endl;
        break;
      case 't':
        isTerminatingSimulation = static_cast<int>(ToNumber(parameter));
        std::cout << "Is Terminating Simulation: " << isTerminatingSimulation << std::endl;
        break;
      case 'w':
        WaitForSocket = true;
        std::cout << "Wait For Socket Enabled" << std::endl;
        break;
      case 'O':
        ReplaceText(OverrideString, parameter);
        std::cout << "OverrideString is " << OverrideString << std::endl;
        break;
      case 'L': {
        // The manager port listens on the loopback interface unless told otherwise: anyone
        // who can reach the port can stop the run or have it create files.
        in_addr address;
        if (inet_pton(AF_INET, parameter, &address) != 1) {
          std::cerr << "ERROR: Listen address '" << parameter
                    << "' is not an IPv4 address (a.b.c.d)\n";
          return 1;
        }
        ReplaceText(ListenAddress, parameter);
        std::cout << "Listen Address: " << ListenAddress << std::endl;
        break;
      }
    }
  }

  if (traceFileSet && !EnableTavrinTrace && !EnableXMLTrace) EnableTavrinTrace = true;
  return 0;
}

void SimulatorClass::PrintUsage() {
  std::cerr << "Valid Options\n"
            << "-a <name>: write ASCII output to file <name>\n"
            << "-b <name>: write binary output to file <name>\n"
            << "-c <num>: Client identification number (default=0)\n"
            << "-e <num>: Experiment to run, 'Experiment 1' is num=0 (default = 0)\n"
            << "-f <name>: Trace file name (default=<stdout>)\n"
            << "-m: Enable Tavrin trace \n"
            << "-l <num>: Trace Level (1, 2,3,4 [default=1])\n"
            << "-x: Enable XML trace \n"
            << "-n <num>: Num observations sent in 1 update to SimMgr. (default=1000)\n"
            << "-N <num>: Maximum number of batches to run (default=infinite)\n"
            << "-p <num>: Communication port of network server (default=10000)\n"
            << "-r <num>: Random Number Generator (0 = Lagged Fibonacci[default], 1 = Tausworthe, "
               "2 = Mersenne Twister\n"
            << "-s <num>: Random Number Seed (31415[default])\n"
            << "-t <num>: Simulation Type (1 = Terminating[default] 0 = Steady State)\n"
            << "-w: Simulator will wait to send output until socket connection is established.\n"
            << "\n";
  std::cerr.flush();
}

std::string SimulatorClass::to_string(RandomNumberGeneratorType generator) {
  switch (generator) {
    case LAGGED_FIBONACCI: return "Lagged Fibonacci";
    case TAUSWORTHE: return "Tausworthe";
    case MERSENNE_TWISTER: return "Mersenne Twister";
    default: return "Unknown";
  }
}
