// Program entry: one simulator per process, built from the command line, run once.

#include <iostream>
#include <new>

#include "engine/SimulatorClass.h"
#include "framework/Errors.h"

int main(int argc, char** argv) {
  // A model too large for the machine (a replicate of millions of copies, say) runs out of
  // memory while it is built: the run ends with the memory message and status 1, wherever
  // the allocation failed, rather than abort.
  std::set_new_handler(MemoryAllocationError);
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
