#ifndef REPAIRJOIN_H
#define REPAIRJOIN_H

#include "framework/composed/JoinModel.h"
#include "framework/composed/RepModel.h"

extern int numMachines;   // number of machines

// MachinesRep: the replicated model "Machines": numMachines copies of the machine model,
// sharing their place idle.
class MachinesRep : public RepModel {
 public:
  MachinesRep();
};

// REPAIRJoin: the composed model "Repair": the machines joined with the repair facility,
// their shared idle crews being the facility's crews (shared variable crews; the
// facility's place comes first, so its initial marking is the one kept).
class REPAIRJoin : public JoinModel {
 public:
  REPAIRJoin();
};

#endif
