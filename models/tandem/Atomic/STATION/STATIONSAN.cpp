#include "Atomic/STATION/STATIONSAN.h"

#include "random/UserDistributions.h"

namespace {
double* RateOf(int station) {
  if (station == 0) return &mu1;
  if (station == 1) return &mu2;
  return &mu3;
}
}  // namespace

STATIONSAN::STATIONSAN(int station) : Serve(RateOf(station)) {
  queue = new Place("queue", static_cast<short>(station == 0 ? population : 0));
  next = new Place("next", 0);
  BaseStateVariableClass* places[] = {queue, next};
  Activity* activities[] = {&Serve};
  BaseGroupClass* groups[] = {&Serve};
  initializeSANModelNow("Station", 2, places, 0, nullptr, 1, activities, 1, groups);
  Serve.queue = queue;
  Serve.next = next;
  AddAffectArc(queue, &Serve);
  AddAffectArc(next, &Serve);
  AddEnableArc(queue, &Serve);
  Serve.LinkVariables();
}

STATIONSAN::~STATIONSAN() {
  delete queue;
  delete next;
}

STATIONSAN::ServeActivity::ServeActivity(double* rate)
    : queue(nullptr),
      next(nullptr),
      queue_Tavrin_Mark(nullptr),
      next_Tavrin_Mark(nullptr),
      ServiceRate(rate) {
  ActivityInitialize("Serve", 0, Exponential, RaceEnabled, 2, 1, false);
}
void STATIONSAN::ServeActivity::LinkVariables() {
  queue->Register(&queue_Tavrin_Mark);
  next->Register(&next_Tavrin_Mark);
}
bool STATIONSAN::ServeActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*queue_Tavrin_Mark > 0);
  return NewEnabled;
}
BaseActionClass* STATIONSAN::ServeActivity::Fire() {
  (*queue_Tavrin_Mark)--;
  (*next_Tavrin_Mark)++;
  return this;
}
double STATIONSAN::ServeActivity::Weight() { return 1.0; }
int STATIONSAN::ServeActivity::Rank() { return 1; }
double STATIONSAN::ServeActivity::Rate() { return *ServiceRate; }
double STATIONSAN::ServeActivity::SampleDistribution() {
  return TheDistribution->Exponential(*ServiceRate);
}
double* STATIONSAN::ServeActivity::ReturnDistributionParameters() { return TheDistributionParameters; }
bool STATIONSAN::ServeActivity::ReactivationPredicate() { return false; }
bool STATIONSAN::ServeActivity::ReactivationFunction() { return false; }
