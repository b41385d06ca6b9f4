#include "Atomic/L2_CACHE/L2_CACHESAN.h"

L2_CACHESAN::L2_CACHESAN() : READ(nullptr), WRITE(nullptr), L2_CONTENT(nullptr) {
  READ = new Place("READ", 0);
  WRITE = new Place("WRITE", 1);
  L2_CONTENT = new Place("L2_CONTENT", 0);

  BaseStateVariableClass* places[] = {READ, WRITE, L2_CONTENT};
  Activity* activities[] = {&T_READ, &T_WRITE};
  BaseGroupClass* groups[] = {&T_READ, &T_WRITE};
  initializeSANModelNow("L2_CACHE", 3, places, 0, nullptr, 2, activities, 2, groups);

  assignPlacesToActivitiesInst();
  assignPlacesToActivitiesTimed();

  AddAffectArc(READ, &T_READ);
  AddAffectArc(L2_CONTENT, &T_READ);
  AddAffectArc(WRITE, &T_WRITE);
  AddAffectArc(L2_CONTENT, &T_WRITE);
  AddEnableArc(READ, &T_READ);
  AddEnableArc(WRITE, &T_WRITE);

  T_READ.LinkVariables();
  T_WRITE.LinkVariables();

  CustomInitialization();
}

L2_CACHESAN::~L2_CACHESAN() {
  delete READ;
  delete WRITE;
  delete L2_CONTENT;
}

void L2_CACHESAN::assignPlacesToActivitiesInst() {
  T_READ.READ = static_cast<Place*>(LocalStateVariables[0]);
  T_READ.L2_CONTENT = static_cast<Place*>(LocalStateVariables[2]);
  T_WRITE.WRITE = static_cast<Place*>(LocalStateVariables[1]);
  T_WRITE.L2_CONTENT = static_cast<Place*>(LocalStateVariables[2]);
}

void L2_CACHESAN::assignPlacesToActivitiesTimed() {}

void L2_CACHESAN::CustomInitialization() {}

L2_CACHESAN::T_READActivity::T_READActivity()
    : READ(nullptr), READ_Tavrin_Mark(nullptr), L2_CONTENT(nullptr),
      L2_CONTENT_Tavrin_Mark(nullptr) {
  ActivityInitialize("T_READ", 0, Instantaneous, RaceEnabled, 2, 1, false);
}

void L2_CACHESAN::T_READActivity::LinkVariables() {
  READ->Register(&READ_Tavrin_Mark);
  L2_CONTENT->Register(&L2_CONTENT_Tavrin_Mark);
}

bool L2_CACHESAN::T_READActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*READ_Tavrin_Mark > 0);
  return NewEnabled;
}

BaseActionClass* L2_CACHESAN::T_READActivity::Fire() {
  (*READ_Tavrin_Mark)--;
  (*L2_CONTENT_Tavrin_Mark)++;
  return this;
}

double L2_CACHESAN::T_READActivity::Weight() { return 1.0; }
int L2_CACHESAN::T_READActivity::Rank() { return 1; }
double L2_CACHESAN::T_READActivity::Rate() { return 0.0; }
double L2_CACHESAN::T_READActivity::SampleDistribution() { return 0.0; }
double* L2_CACHESAN::T_READActivity::ReturnDistributionParameters() {
  return TheDistributionParameters;
}
bool L2_CACHESAN::T_READActivity::ReactivationPredicate() { return false; }
bool L2_CACHESAN::T_READActivity::ReactivationFunction() { return false; }

L2_CACHESAN::T_WRITEActivity::T_WRITEActivity()
    : WRITE(nullptr), WRITE_Tavrin_Mark(nullptr), L2_CONTENT(nullptr),
      L2_CONTENT_Tavrin_Mark(nullptr) {
  ActivityInitialize("T_WRITE", 1, Instantaneous, RaceEnabled, 2, 1, false);
}

void L2_CACHESAN::T_WRITEActivity::LinkVariables() {
  WRITE->Register(&WRITE_Tavrin_Mark);
  L2_CONTENT->Register(&L2_CONTENT_Tavrin_Mark);
}

bool L2_CACHESAN::T_WRITEActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*WRITE_Tavrin_Mark > 0);
  return NewEnabled;
}

BaseActionClass* L2_CACHESAN::T_WRITEActivity::Fire() {
  (*WRITE_Tavrin_Mark)--;
  (*L2_CONTENT_Tavrin_Mark)++;
  return this;
}

double L2_CACHESAN::T_WRITEActivity::Weight() { return 1.0; }
int L2_CACHESAN::T_WRITEActivity::Rank() { return 1; }
double L2_CACHESAN::T_WRITEActivity::Rate() { return 0.0; }
double L2_CACHESAN::T_WRITEActivity::SampleDistribution() { return 0.0; }
double* L2_CACHESAN::T_WRITEActivity::ReturnDistributionParameters() {
  return TheDistributionParameters;
}
bool L2_CACHESAN::T_WRITEActivity::ReactivationPredicate() { return false; }
bool L2_CACHESAN::T_WRITEActivity::ReactivationFunction() { return false; }
