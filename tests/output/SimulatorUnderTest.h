#ifndef TAVRIN_TESTS_OUTPUT_SIMULATORUNDERTEST_H
#define TAVRIN_TESTS_OUTPUT_SIMULATORUNDERTEST_H

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "SimulatorForTests.h"
#include "TestModels.h"
#include "TestStudy.h"
#include "engine/SimulatorClass.h"

namespace testsupport {

// A simulator built by its own constructor from a command line, around a small hand-built
// model with a reward model of no variables: these tests make their own reports. The
// words stay alive for the whole program, since the simulator may keep pointers into them.
inline std::unique_ptr<SimulatorClass> MakeSimulator(std::vector<std::string> words = {"-N", "1"}) {
  static std::vector<std::unique_ptr<std::string>> storage;
  words.insert(words.begin(), "sim");
  std::vector<char*> argv;
  for (const std::string& word : words) {
    storage.emplace_back(new std::string(word));
    argv.push_back(&(*storage.back())[0]);
  }
  argv.push_back(nullptr);
  unsetenv("SIMTEST");
  UseMeasuredModel(&MakeModel<RaceSAN>);
  testing::internal::CaptureStdout();  // the set-up's progress lines are not under test
  std::unique_ptr<SimulatorClass> simulator(
      new SimulatorClass(static_cast<int>(words.size()), argv.data()));
  testing::internal::GetCapturedStdout();
  return simulator;
}

}  // namespace testsupport

#endif
