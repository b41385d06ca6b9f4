#ifndef TAVRIN_TESTS_ENGINE_SIMULATORFIXTURE_H
#define TAVRIN_TESTS_ENGINE_SIMULATORFIXTURE_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TestStudy.h"
#include "engine/ActionAffectsElement.h"
#include "engine/EventList.h"
#include "engine/SimulatorClass.h"

// A simulator built by its own constructor, for one batch, around a new instance of
// Model; SIMTEST is cleared first so the current connectivity builder runs.
template <class Model>
class SimulatorOn {
 public:
  SimulatorOn() {
    unsetenv("SIMTEST");
    UseMeasuredModel(&MakeModel<Model>);
    static char program[] = "engine_tests";
    static char batches[] = "-N";
    static char one[] = "1";
    char* argv[] = {program, batches, one, nullptr};
    testing::internal::CaptureStdout();   // the set-up's progress lines are not under test
    Sim = new SimulatorClass(3, argv);
    testing::internal::GetCapturedStdout();
  }
  ~SimulatorOn() { delete Sim; }
  SimulatorOn(const SimulatorOn&) = delete;
  SimulatorOn& operator=(const SimulatorOn&) = delete;

  Model& model() { return *static_cast<Model*>(Sim->TheModel->TheModel); }

  // What a batch does before its first step: schedule the initially enabled groups from
  // time 0 and point the step at the earliest event.
  void StartBatch() {
    Sim->CurrentTime = 0;
    Sim->GenerateInitialEnabledList();
    Sim->GenerateCompleteEventList();
    Sim->NextEvent = Sim->TheEventList->Earliest();
    Sim->CurrentTime = (*Sim->NextEvent)->exec_time;
    Sim->CurrAction = (*Sim->NextEvent)->action_ptr;
  }

  SimulatorClass* Sim;
};

// The names of the groups in an action's connectivity list, in list order.
inline std::vector<std::string> AffectsNames(BaseActionClass* action) {
  std::vector<std::string> names;
  ForEachAffectedGroup(action->Affects, [&names](BaseActionClass* group) { names.push_back(group->ActionName); });
  return names;
}

#endif
