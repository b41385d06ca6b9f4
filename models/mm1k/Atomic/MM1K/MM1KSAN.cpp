#include "Atomic/MM1K/MM1KSAN.h"

#include "random/UserDistributions.h"

MM1KSAN::MM1KSAN() : Queue(nullptr) {
  Queue = new Place("Queue", 0);

  BaseStateVariableClass* places[] = {Queue};
  Activity* activities[] = {&Arrival, &Service};
  BaseGroupClass* groups[] = {&Arrival, &Service};
  initializeSANModelNow("MM1K", 1, places, 0, nullptr, 2, activities, 2, groups);

  assignPlacesToActivitiesInst();
  assignPlacesToActivitiesTimed();

  AddAffectArc(Queue, &Arrival);
  AddAffectArc(Queue, &Service);
  AddEnableArc(Queue, &Arrival);
  AddEnableArc(Queue, &Service);

  Arrival.LinkVariables();
  Service.LinkVariables();

  CustomInitialization();
}

MM1KSAN::~MM1KSAN() { delete Queue; }

void MM1KSAN::assignPlacesToActivitiesInst() {}

void MM1KSAN::assignPlacesToActivitiesTimed() {
  Arrival.Queue = static_cast<Place*>(LocalStateVariables[0]);
  Service.Queue = static_cast<Place*>(LocalStateVariables[0]);
}

void MM1KSAN::CustomInitialization() {}

MM1KSAN::ArrivalActivity::ArrivalActivity() : Queue(nullptr), Queue_Tavrin_Mark(nullptr) {
  ActivityInitialize("Arrival", 0, Exponential, RaceEnabled, 1, 1, false);
}

void MM1KSAN::ArrivalActivity::LinkVariables() { Queue->Register(&Queue_Tavrin_Mark); }

bool MM1KSAN::ArrivalActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*Queue_Tavrin_Mark < K);
  return NewEnabled;
}

BaseActionClass* MM1KSAN::ArrivalActivity::Fire() {
  (*Queue_Tavrin_Mark)++;
  return this;
}

double MM1KSAN::ArrivalActivity::Weight() { return 1.0; }
int MM1KSAN::ArrivalActivity::Rank() { return 1; }
double MM1KSAN::ArrivalActivity::Rate() { return lambda; }
double MM1KSAN::ArrivalActivity::SampleDistribution() {
  return TheDistribution->Exponential(lambda);
}
double* MM1KSAN::ArrivalActivity::ReturnDistributionParameters() {
  return TheDistributionParameters;
}
bool MM1KSAN::ArrivalActivity::ReactivationPredicate() { return false; }
bool MM1KSAN::ArrivalActivity::ReactivationFunction() { return false; }

MM1KSAN::ServiceActivity::ServiceActivity() : Queue(nullptr), Queue_Tavrin_Mark(nullptr) {
  ActivityInitialize("Service", 1, Exponential, RaceEnabled, 1, 1, false);
}

void MM1KSAN::ServiceActivity::LinkVariables() { Queue->Register(&Queue_Tavrin_Mark); }

bool MM1KSAN::ServiceActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*Queue_Tavrin_Mark > 0);
  return NewEnabled;
}

BaseActionClass* MM1KSAN::ServiceActivity::Fire() {
  (*Queue_Tavrin_Mark)--;
  return this;
}

double MM1KSAN::ServiceActivity::Weight() { return 1.0; }
int MM1KSAN::ServiceActivity::Rank() { return 1; }
double MM1KSAN::ServiceActivity::Rate() { return mu; }
double MM1KSAN::ServiceActivity::SampleDistribution() { return TheDistribution->Exponential(mu); }
double* MM1KSAN::ServiceActivity::ReturnDistributionParameters() {
  return TheDistributionParameters;
}
bool MM1KSAN::ServiceActivity::ReactivationPredicate() { return false; }
bool MM1KSAN::ServiceActivity::ReactivationFunction() { return false; }
