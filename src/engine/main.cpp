// Program entry: one simulator per process, built from the command line, run once.

#include <iostream>

#include "engine/SimulatorClass.h"

int main(int argc, char** argv) {
  SimulatorClass* simulator = new SimulatorClass(argc, argv);
  std::cout << "SIMULATOR::Preparing to run()" << std::endl;
  simulator->Run();
  // A run stopped by a signal or by a result file that could not be written has said so;
  // it is no good exit, and its status tells the caller (closing the files may still fail).
  if (SimulatorClass::ExitStatus == 0) {
    std::cout << "SIMULATOR::MAIN()-GOOD EXIT" << std::endl;
    std::cout.flush();
    std::cerr << "SIMULATOR::MAIN()-GOOD EXIT" << std::endl;
    std::cerr.flush();
  }
  delete simulator;
  return SimulatorClass::ExitStatus;
}
