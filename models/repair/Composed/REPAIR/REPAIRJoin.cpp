#include "Composed/REPAIR/REPAIRJoin.h"

#include "Atomic/FACILITY/FACILITYSAN.h"
#include "Atomic/MACHINE/MACHINESAN.h"

namespace {
BaseModelClass* MakeMachine() { return new MACHINESAN(); }
}  // namespace

MachinesRep::MachinesRep() {
  const char* shared[] = {"idle"};
  initializeRepModelNow("Machines", numMachines, MakeMachine, 1, shared);
}

REPAIRJoin::REPAIRJoin() {
  BaseModelClass* children[] = {new MachinesRep(), new FACILITYSAN()};
  const JoinPlace crewPlaces[] = {{1, "crews"}, {0, "idle"}};
  const JoinSharedVariable shared[] = {{"crews", 2, crewPlaces}};
  initializeJoinModelNow("Repair", 2, children, 1, shared);
}
