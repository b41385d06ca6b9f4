#include "Study/AVAILABILITY_STUDY/AVAILABILITY_STUDYSetStudy.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Atomic/AVAILABILITY/AVAILABILITYSAN.h"
#include "Reward/AVAILABILITY_REWARD/AVAILABILITY_REWARDPVModel.h"

double lambda;
double mu;

namespace {

const unsigned int kNumExperiments = 2;
const double lambdaValues[kNumExperiments] = {1.0, 0.5};
const double muValues[kNumExperiments] = {4.0, 0.5};

// The base class releases names and types with the C allocator.
char* CopyText(const char* text) {
  char* copy = static_cast<char*>(std::malloc(std::strlen(text) + 1));
  std::strcpy(copy, text);
  return copy;
}

}  // namespace

AVAILABILITY_STUDYSetStudy::AVAILABILITY_STUDYSetStudy() {
  NumGVs = 2;
  NumExps = kNumExperiments;
  GVNames = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
  GVTypes = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
  GVNames[0] = CopyText("lambda");
  GVTypes[0] = CopyText("double");
  GVNames[1] = CopyText("mu");
  GVTypes[1] = CopyText("double");
  SetDefaultTavrinRoot("c:/Tavrin-2.5/");
}

AVAILABILITY_STUDYSetStudy::~AVAILABILITY_STUDYSetStudy() { delete ThePVModel; }

PVModel* AVAILABILITY_STUDYSetStudy::GetPVModel(bool expandTimeArrays) {
  delete ThePVModel;
  ThePVModel = nullptr;
  ThePVModel = new AVAILABILITY_REWARDPVModel(expandTimeArrays);
  return ThePVModel;
}

// A run of an experiment the study does not have would leave both rates unset (zero), so
// it ends here with a message instead of failing later in the first sample.
void AVAILABILITY_STUDYSetStudy::SetGVs(int expNum) {
  if (expNum < 0 || static_cast<unsigned int>(expNum) >= NumExps) {
    std::cerr << "!! AVAILABILITY_STUDYSetStudy::SetGVs: Experiment " << expNum
              << " does not exist; the study has experiments 0 to " << NumExps - 1 << "."
              << std::endl;
    std::exit(1);
  }
  lambda = lambdaValues[expNum];
  mu = muValues[expNum];
}

void AVAILABILITY_STUDYSetStudy::PrintGlobalValues(int expNum) {
  SetGVs(expNum);
  std::cout << "The Global Variable values for experiment " << GetExpName(expNum) << " are:"
            << std::endl;
  std::cout << "lambda\tdouble\t" << lambda << std::endl;
  std::cout << "mu\tdouble\t" << mu << std::endl;
}

void* AVAILABILITY_STUDYSetStudy::GetGVValue(char* TheGVName) {
  if (std::strcmp("lambda", TheGVName) == 0) return &lambda;
  if (std::strcmp("mu", TheGVName) == 0) return &mu;
  std::cerr << "!! AVAILABILITY_STUDYSetStudy::GetGVValue: Global Variable " << TheGVName
            << " does not exist." << std::endl;
  return nullptr;
}

void AVAILABILITY_STUDYSetStudy::OverrideGVValue(char* TheGVName, void* TheGVValue) {
  if (std::strcmp("lambda", TheGVName) == 0)
    lambda = *static_cast<double*>(TheGVValue);
  else if (std::strcmp("mu", TheGVName) == 0)
    mu = *static_cast<double*>(TheGVValue);
  else
    std::cerr << "!! AVAILABILITY_STUDYSetStudy::OverrideGVValue: Global Variable " << TheGVName
              << " does not exist." << std::endl;
}

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) GlobalStudyPtr = new AVAILABILITY_STUDYSetStudy();
  return GlobalStudyPtr;
}

void DestructStudy() {
  delete GlobalStudyPtr;
  GlobalStudyPtr = nullptr;
}
