#include "Atomic/MACHINE/MACHINESAN.h"

#include "random/UserDistributions.h"

MACHINESAN::MACHINESAN() {
  up = new Place("up", 1);
  waiting = new Place("waiting", 0);
  repairing = new Place("repairing", 0);
  idle = new Place("idle", 0);

  BaseStateVariableClass* places[] = {up, waiting, repairing, idle};
  Activity* activities[] = {&Fail, &Seize, &Repair};
  BaseGroupClass* groups[] = {&Fail, &Seize, &Repair};
  initializeSANModelNow("Machine", 4, places, 0, nullptr, 3, activities, 3, groups);

  Fail.up = up;
  Fail.waiting = waiting;
  Seize.waiting = waiting;
  Seize.repairing = repairing;
  Seize.idle = idle;
  Repair.repairing = repairing;
  Repair.up = up;
  Repair.idle = idle;

  AddAffectArc(up, &Fail);
  AddAffectArc(waiting, &Fail);
  AddEnableArc(up, &Fail);
  AddAffectArc(waiting, &Seize);
  AddAffectArc(repairing, &Seize);
  AddAffectArc(idle, &Seize);
  AddEnableArc(waiting, &Seize);
  AddEnableArc(idle, &Seize);
  AddAffectArc(repairing, &Repair);
  AddAffectArc(up, &Repair);
  AddAffectArc(idle, &Repair);
  AddEnableArc(repairing, &Repair);

  Fail.LinkVariables();
  Seize.LinkVariables();
  Repair.LinkVariables();
}

MACHINESAN::~MACHINESAN() {
  delete up;
  delete waiting;
  delete repairing;
  delete idle;
}

// ---- Fail ----

MACHINESAN::FailActivity::FailActivity()
    : up(nullptr), waiting(nullptr), up_Tavrin_Mark(nullptr), waiting_Tavrin_Mark(nullptr) {
  ActivityInitialize("Fail", 0, Exponential, RaceEnabled, 2, 1, false);
}
void MACHINESAN::FailActivity::LinkVariables() {
  up->Register(&up_Tavrin_Mark);
  waiting->Register(&waiting_Tavrin_Mark);
}
bool MACHINESAN::FailActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*up_Tavrin_Mark == 1);
  return NewEnabled;
}
BaseActionClass* MACHINESAN::FailActivity::Fire() {
  *up_Tavrin_Mark = 0;
  *waiting_Tavrin_Mark = 1;
  return this;
}
double MACHINESAN::FailActivity::Weight() { return 1.0; }
int MACHINESAN::FailActivity::Rank() { return 1; }
double MACHINESAN::FailActivity::Rate() { return lambda; }
double MACHINESAN::FailActivity::SampleDistribution() { return TheDistribution->Exponential(lambda); }
double* MACHINESAN::FailActivity::ReturnDistributionParameters() { return TheDistributionParameters; }
bool MACHINESAN::FailActivity::ReactivationPredicate() { return false; }
bool MACHINESAN::FailActivity::ReactivationFunction() { return false; }

// ---- Seize ----

MACHINESAN::SeizeActivity::SeizeActivity()
    : waiting(nullptr),
      repairing(nullptr),
      idle(nullptr),
      waiting_Tavrin_Mark(nullptr),
      repairing_Tavrin_Mark(nullptr),
      idle_Tavrin_Mark(nullptr) {
  ActivityInitialize("Seize", 1, Instantaneous, RaceEnabled, 3, 2, false);
}
void MACHINESAN::SeizeActivity::LinkVariables() {
  waiting->Register(&waiting_Tavrin_Mark);
  repairing->Register(&repairing_Tavrin_Mark);
  idle->Register(&idle_Tavrin_Mark);
}
bool MACHINESAN::SeizeActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*waiting_Tavrin_Mark == 1 && *idle_Tavrin_Mark > 0);
  return NewEnabled;
}
BaseActionClass* MACHINESAN::SeizeActivity::Fire() {
  *waiting_Tavrin_Mark = 0;
  *repairing_Tavrin_Mark = 1;
  (*idle_Tavrin_Mark)--;
  return this;
}
double MACHINESAN::SeizeActivity::Weight() { return 1.0; }
int MACHINESAN::SeizeActivity::Rank() { return 1; }
double MACHINESAN::SeizeActivity::Rate() { return 0.0; }
double MACHINESAN::SeizeActivity::SampleDistribution() { return 0.0; }
double* MACHINESAN::SeizeActivity::ReturnDistributionParameters() { return TheDistributionParameters; }
bool MACHINESAN::SeizeActivity::ReactivationPredicate() { return false; }
bool MACHINESAN::SeizeActivity::ReactivationFunction() { return false; }

// ---- Repair ----

MACHINESAN::RepairActivity::RepairActivity()
    : repairing(nullptr),
      up(nullptr),
      idle(nullptr),
      repairing_Tavrin_Mark(nullptr),
      up_Tavrin_Mark(nullptr),
      idle_Tavrin_Mark(nullptr) {
  ActivityInitialize("Repair", 2, Exponential, RaceEnabled, 3, 1, false);
}
void MACHINESAN::RepairActivity::LinkVariables() {
  repairing->Register(&repairing_Tavrin_Mark);
  up->Register(&up_Tavrin_Mark);
  idle->Register(&idle_Tavrin_Mark);
}
bool MACHINESAN::RepairActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*repairing_Tavrin_Mark == 1);
  return NewEnabled;
}
BaseActionClass* MACHINESAN::RepairActivity::Fire() {
  *repairing_Tavrin_Mark = 0;
  *up_Tavrin_Mark = 1;
  (*idle_Tavrin_Mark)++;
  return this;
}
double MACHINESAN::RepairActivity::Weight() { return 1.0; }
int MACHINESAN::RepairActivity::Rank() { return 1; }
double MACHINESAN::RepairActivity::Rate() { return mu; }
double MACHINESAN::RepairActivity::SampleDistribution() { return TheDistribution->Exponential(mu); }
double* MACHINESAN::RepairActivity::ReturnDistributionParameters() { return TheDistributionParameters; }
bool MACHINESAN::RepairActivity::ReactivationPredicate() { return false; }
bool MACHINESAN::RepairActivity::ReactivationFunction() { return false; }
