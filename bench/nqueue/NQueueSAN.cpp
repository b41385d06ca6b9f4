#include "nqueue/NQueueSAN.h"

#include <string>

#include "random/UserDistributions.h"

// Arrival i is group 2i and Service i group 2i + 1, each activity a group of its own.
NQueueSAN::NQueueSAN() : Arrivals(N), Services(N) {
  std::vector<BaseStateVariableClass*> places;
  std::vector<Activity*> activities;
  std::vector<BaseGroupClass*> groups;
  for (int i = 0; i < N; i++) {
    Queues.push_back(new Place(("Queue" + std::to_string(i)).c_str(), 0));
    places.push_back(Queues[i]);
    Arrivals[i].Setup(i, Queues[i]);
    Services[i].Setup(i, Queues[i]);
    activities.push_back(&Arrivals[i]);
    activities.push_back(&Services[i]);
    groups.push_back(&Arrivals[i]);
    groups.push_back(&Services[i]);
  }
  initializeSANModelNow("NQueue", N, places.data(), 0, nullptr, 2 * N, activities.data(), 2 * N,
                        groups.data());
  for (int i = 0; i < N; i++) {
    AddAffectArc(Queues[i], &Arrivals[i]);
    AddAffectArc(Queues[i], &Services[i]);
    AddEnableArc(Queues[i], &Arrivals[i]);
    AddEnableArc(Queues[i], &Services[i]);
    Arrivals[i].LinkVariables();
    Services[i].LinkVariables();
  }
}

NQueueSAN::~NQueueSAN() {
  for (Place* queue : Queues) delete queue;
}

void NQueueSAN::ArrivalActivity::Setup(int index, Place* queue) {
  ActivityInitialize(("Arrival" + std::to_string(index)).c_str(), 2 * index, Exponential,
                     RaceEnabled, 1, 1, false);
  Queue = queue;
}
void NQueueSAN::ArrivalActivity::LinkVariables() { Queue->Register(&Queue_Tavrin_Mark); }
bool NQueueSAN::ArrivalActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*Queue_Tavrin_Mark < K);
  return NewEnabled;
}
BaseActionClass* NQueueSAN::ArrivalActivity::Fire() {
  (*Queue_Tavrin_Mark)++;
  return this;
}
double NQueueSAN::ArrivalActivity::Weight() { return 1.0; }
int NQueueSAN::ArrivalActivity::Rank() { return 1; }
double NQueueSAN::ArrivalActivity::Rate() { return lambda; }
double NQueueSAN::ArrivalActivity::SampleDistribution() {
  return TheDistribution->Exponential(lambda);
}
bool NQueueSAN::ArrivalActivity::ReactivationPredicate() { return false; }
bool NQueueSAN::ArrivalActivity::ReactivationFunction() { return false; }

void NQueueSAN::ServiceActivity::Setup(int index, Place* queue) {
  ActivityInitialize(("Service" + std::to_string(index)).c_str(), 2 * index + 1, Exponential,
                     RaceEnabled, 1, 1, false);
  Queue = queue;
}
void NQueueSAN::ServiceActivity::LinkVariables() { Queue->Register(&Queue_Tavrin_Mark); }
bool NQueueSAN::ServiceActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*Queue_Tavrin_Mark > 0);
  return NewEnabled;
}
BaseActionClass* NQueueSAN::ServiceActivity::Fire() {
  (*Queue_Tavrin_Mark)--;
  return this;
}
double NQueueSAN::ServiceActivity::Weight() { return 1.0; }
int NQueueSAN::ServiceActivity::Rank() { return 1; }
double NQueueSAN::ServiceActivity::Rate() { return mu; }
double NQueueSAN::ServiceActivity::SampleDistribution() { return TheDistribution->Exponential(mu); }
bool NQueueSAN::ServiceActivity::ReactivationPredicate() { return false; }
bool NQueueSAN::ServiceActivity::ReactivationFunction() { return false; }
