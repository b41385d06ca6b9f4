#include "nqueue/NQueueStudy.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "nqueue/NQueuePVModel.h"
#include "nqueue/NQueueSAN.h"

double lambda;
double mu;
int K;
int N;
double horizon;

namespace {

const int NValues[] = {10, 100, 1000};
const double horizonValues[] = {625000.0, 62500.0, 6250.0};   // 1.6 N firings per unit

const char* const names[] = {"lambda", "mu", "K", "N", "horizon"};
const char* const types[] = {"double", "double", "int", "int", "double"};

}  // namespace

NQueueStudy::NQueueStudy() {
  NumGVs = 5;
  NumExps = 3;
  GVNames = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
  GVTypes = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
  for (unsigned int i = 0; i < NumGVs; i++) {
    GVNames[i] = strdup(names[i]);
    GVTypes[i] = strdup(types[i]);
  }
  SetDefaultTavrinRoot("c:/Tavrin-2.5/");
}

NQueueStudy::~NQueueStudy() { delete ThePVModel; }

PVModel* NQueueStudy::GetPVModel(bool expandTimeArrays) {
  delete ThePVModel;
  ThePVModel = new NQueuePVModel(expandTimeArrays);
  return ThePVModel;
}

void NQueueStudy::SetGVs(int expNum) {
  lambda = 0.8;
  mu = 1.0;
  K = 100;
  N = NValues[expNum];
  horizon = horizonValues[expNum];
}

void NQueueStudy::PrintGlobalValues(int expNum) {
  SetGVs(expNum);
  std::cout << "The Global Variable values for experiment " << GetExpName(expNum) << " are:"
            << std::endl;
  std::cout << "lambda\tdouble\t" << lambda << std::endl;
  std::cout << "mu\tdouble\t" << mu << std::endl;
  std::cout << "K\tint\t" << K << std::endl;
  std::cout << "N\tint\t" << N << std::endl;
  std::cout << "horizon\tdouble\t" << horizon << std::endl;
}

void* NQueueStudy::GetGVValue(char* TheGVName) {
  if (std::strcmp("lambda", TheGVName) == 0) return &lambda;
  if (std::strcmp("mu", TheGVName) == 0) return &mu;
  if (std::strcmp("K", TheGVName) == 0) return &K;
  if (std::strcmp("N", TheGVName) == 0) return &N;
  if (std::strcmp("horizon", TheGVName) == 0) return &horizon;
  std::cerr << "!! NQueueStudy::GetGVValue: Global Variable " << TheGVName << " does not exist."
            << std::endl;
  return nullptr;
}

void NQueueStudy::OverrideGVValue(char* TheGVName, void* TheGVValue) {
  if (std::strcmp("lambda", TheGVName) == 0) {
    lambda = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("mu", TheGVName) == 0) {
    mu = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("K", TheGVName) == 0) {
    K = *static_cast<int*>(TheGVValue);
  } else if (std::strcmp("N", TheGVName) == 0) {
    N = *static_cast<int*>(TheGVValue);
  } else if (std::strcmp("horizon", TheGVName) == 0) {
    horizon = *static_cast<double*>(TheGVValue);
  } else {
    std::cerr << "!! NQueueStudy::OverrideGVValue: Global Variable " << TheGVName
              << " does not exist." << std::endl;
  }
}

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) GlobalStudyPtr = new NQueueStudy();
  return GlobalStudyPtr;
}

void DestructStudy() {
  delete GlobalStudyPtr;
  GlobalStudyPtr = nullptr;
}
