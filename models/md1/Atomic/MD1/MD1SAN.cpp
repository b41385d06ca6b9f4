#include "Atomic/MD1/MD1SAN.h"

#include "random/UserDistributions.h"

MD1SAN::MD1SAN() : Queue(nullptr) {
  Queue = new Place("Queue", 0);

  BaseStateVariableClass* places[] = {Queue};
  Activity* activities[] = {&Arrival, &Service};
  BaseGroupClass* groups[] = {&Arrival, &Service};
  initializeSANModelNow("MD1", 1, places, 0, nullptr, 2, activities, 2, groups);

  assignPlacesToActivitiesInst();
  assignPlacesToActivitiesTimed();

  AddAffectArc(Queue, &Arrival);
  AddAffectArc(Queue, &Service);
  AddEnableArc(Queue, &Service);

  Arrival.LinkVariables();
  Service.LinkVariables();

  CustomInitialization();
}

MD1SAN::~MD1SAN() { delete Queue; }

void MD1SAN::assignPlacesToActivitiesInst() {}

void MD1SAN::assignPlacesToActivitiesTimed() {
  Arrival.Queue = static_cast<Place*>(LocalStateVariables[0]);
  Service.Queue = static_cast<Place*>(LocalStateVariables[0]);
}

void MD1SAN::CustomInitialization() {}

MD1SAN::ArrivalActivity::ArrivalActivity() : Queue(nullptr), Queue_Tavrin_Mark(nullptr) {
  ActivityInitialize("Arrival", 0, Exponential, RaceEnabled, 1, 0, false);
}

void MD1SAN::ArrivalActivity::LinkVariables() { Queue->Register(&Queue_Tavrin_Mark); }

bool MD1SAN::ArrivalActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = true;
  return NewEnabled;
}

BaseActionClass* MD1SAN::ArrivalActivity::Fire() {
  (*Queue_Tavrin_Mark)++;
  return this;
}

double MD1SAN::ArrivalActivity::Weight() { return 1.0; }
int MD1SAN::ArrivalActivity::Rank() { return 1; }
double MD1SAN::ArrivalActivity::Rate() { return lambda; }
double MD1SAN::ArrivalActivity::SampleDistribution() {
  return TheDistribution->Exponential(lambda);
}
double* MD1SAN::ArrivalActivity::ReturnDistributionParameters() {
  return TheDistributionParameters;
}
bool MD1SAN::ArrivalActivity::ReactivationPredicate() { return false; }
bool MD1SAN::ArrivalActivity::ReactivationFunction() { return false; }

MD1SAN::ServiceActivity::ServiceActivity() : Queue(nullptr), Queue_Tavrin_Mark(nullptr) {
  ActivityInitialize("Service", 1, Deterministic, RaceEnabled, 1, 1, false);
}

void MD1SAN::ServiceActivity::LinkVariables() { Queue->Register(&Queue_Tavrin_Mark); }

bool MD1SAN::ServiceActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*Queue_Tavrin_Mark > 0);
  return NewEnabled;
}

BaseActionClass* MD1SAN::ServiceActivity::Fire() {
  (*Queue_Tavrin_Mark)--;
  return this;
}

double MD1SAN::ServiceActivity::Weight() { return 1.0; }
int MD1SAN::ServiceActivity::Rank() { return 1; }
double MD1SAN::ServiceActivity::Rate() { return mu; }
double MD1SAN::ServiceActivity::SampleDistribution() {
  return TheDistribution->Deterministic(1.0 / mu);
}
double* MD1SAN::ServiceActivity::ReturnDistributionParameters() {
  return TheDistributionParameters;
}
bool MD1SAN::ServiceActivity::ReactivationPredicate() { return false; }
bool MD1SAN::ServiceActivity::ReactivationFunction() { return false; }
