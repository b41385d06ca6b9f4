#include "Atomic/AVAILABILITY/AVAILABILITYSAN.h"

#include "random/UserDistributions.h"

AVAILABILITYSAN::AVAILABILITYSAN() : UP(nullptr), DOWN(nullptr) {
  UP = new Place("UP", 1);
  DOWN = new Place("DOWN", 0);

  BaseStateVariableClass* places[] = {UP, DOWN};
  Activity* activities[] = {&FAIL, &REPAIR};
  BaseGroupClass* groups[] = {&FAIL, &REPAIR};
  initializeSANModelNow("AVAILABILITY", 2, places, 0, nullptr, 2, activities, 2, groups);

  assignPlacesToActivitiesInst();
  assignPlacesToActivitiesTimed();

  AddAffectArc(UP, &FAIL);
  AddAffectArc(DOWN, &FAIL);
  AddAffectArc(DOWN, &REPAIR);
  AddAffectArc(UP, &REPAIR);
  AddEnableArc(UP, &FAIL);
  AddEnableArc(DOWN, &REPAIR);

  FAIL.LinkVariables();
  REPAIR.LinkVariables();

  CustomInitialization();
}

AVAILABILITYSAN::~AVAILABILITYSAN() {
  delete UP;
  delete DOWN;
}

void AVAILABILITYSAN::assignPlacesToActivitiesInst() {}

void AVAILABILITYSAN::assignPlacesToActivitiesTimed() {
  FAIL.UP = static_cast<Place*>(LocalStateVariables[0]);
  FAIL.DOWN = static_cast<Place*>(LocalStateVariables[1]);
  REPAIR.DOWN = static_cast<Place*>(LocalStateVariables[1]);
  REPAIR.UP = static_cast<Place*>(LocalStateVariables[0]);
}

void AVAILABILITYSAN::CustomInitialization() {}

AVAILABILITYSAN::FAILActivity::FAILActivity()
    : UP(nullptr), UP_Tavrin_Mark(nullptr), DOWN(nullptr), DOWN_Tavrin_Mark(nullptr) {
  TheDistributionParameters = new double[1];
  ActivityInitialize("FAIL", 0, Exponential, RaceEnabled, 2, 1, false);
}

AVAILABILITYSAN::FAILActivity::~FAILActivity() { delete[] TheDistributionParameters; }

void AVAILABILITYSAN::FAILActivity::LinkVariables() {
  UP->Register(&UP_Tavrin_Mark);
  DOWN->Register(&DOWN_Tavrin_Mark);
}

bool AVAILABILITYSAN::FAILActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*UP_Tavrin_Mark > 0);
  return NewEnabled;
}

BaseActionClass* AVAILABILITYSAN::FAILActivity::Fire() {
  (*UP_Tavrin_Mark)--;
  (*DOWN_Tavrin_Mark)++;
  return this;
}

double AVAILABILITYSAN::FAILActivity::Weight() { return 1.0; }
int AVAILABILITYSAN::FAILActivity::Rank() { return 1; }
double AVAILABILITYSAN::FAILActivity::Rate() { return lambda; }
double AVAILABILITYSAN::FAILActivity::SampleDistribution() {
  return TheDistribution->Exponential(lambda);
}
double* AVAILABILITYSAN::FAILActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = lambda;
  return TheDistributionParameters;
}
bool AVAILABILITYSAN::FAILActivity::ReactivationPredicate() { return false; }
bool AVAILABILITYSAN::FAILActivity::ReactivationFunction() { return false; }

AVAILABILITYSAN::REPAIRActivity::REPAIRActivity()
    : DOWN(nullptr), DOWN_Tavrin_Mark(nullptr), UP(nullptr), UP_Tavrin_Mark(nullptr) {
  TheDistributionParameters = new double[1];
  ActivityInitialize("REPAIR", 1, Exponential, RaceEnabled, 2, 1, false);
}

AVAILABILITYSAN::REPAIRActivity::~REPAIRActivity() { delete[] TheDistributionParameters; }

void AVAILABILITYSAN::REPAIRActivity::LinkVariables() {
  DOWN->Register(&DOWN_Tavrin_Mark);
  UP->Register(&UP_Tavrin_Mark);
}

bool AVAILABILITYSAN::REPAIRActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*DOWN_Tavrin_Mark > 0);
  return NewEnabled;
}

BaseActionClass* AVAILABILITYSAN::REPAIRActivity::Fire() {
  (*DOWN_Tavrin_Mark)--;
  (*UP_Tavrin_Mark)++;
  return this;
}

double AVAILABILITYSAN::REPAIRActivity::Weight() { return 1.0; }
int AVAILABILITYSAN::REPAIRActivity::Rank() { return 1; }
double AVAILABILITYSAN::REPAIRActivity::Rate() { return mu; }
double AVAILABILITYSAN::REPAIRActivity::SampleDistribution() {
  return TheDistribution->Exponential(mu);
}
double* AVAILABILITYSAN::REPAIRActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = mu;
  return TheDistributionParameters;
}
bool AVAILABILITYSAN::REPAIRActivity::ReactivationPredicate() { return false; }
bool AVAILABILITYSAN::REPAIRActivity::ReactivationFunction() { return false; }
