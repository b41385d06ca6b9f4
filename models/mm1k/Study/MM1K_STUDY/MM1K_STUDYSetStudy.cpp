#include "Study/MM1K_STUDY/MM1K_STUDYSetStudy.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Atomic/MM1K/MM1KSAN.h"
#include "Reward/MM1K_REWARD/MM1K_REWARDPVModel.h"

double lambda;
double mu;
int K;
double horizon;
double transient;
double batchLength;

namespace {

const double lambdaValues[] = {0.5, 0.8, 0.95, 0.8};
const double muValues[] = {1.0, 1.0, 1.0, 1.0};
const int KValues[] = {10, 10, 10, 100};
const double horizonValues[] = {1000.0, 1000.0, 1000.0, 1000.0};
const double transientValues[] = {1000.0, 1000.0, 1000.0, 1000.0};
const double batchLengthValues[] = {10000.0, 10000.0, 10000.0, 10000.0};

const char* const names[] = {"lambda", "mu", "K", "horizon", "transient", "batchLength"};
const char* const types[] = {"double", "double", "int", "double", "double", "double"};

}  // namespace

MM1K_STUDYSetStudy::MM1K_STUDYSetStudy() {
  NumGVs = 6;
  NumExps = 4;
  GVNames = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
  GVTypes = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
  for (unsigned int i = 0; i < NumGVs; i++) {
    GVNames[i] = strdup(names[i]);
    GVTypes[i] = strdup(types[i]);
  }
  SetDefaultTavrinRoot("c:/Tavrin-2.5/");
}

MM1K_STUDYSetStudy::~MM1K_STUDYSetStudy() { delete ThePVModel; }

PVModel* MM1K_STUDYSetStudy::GetPVModel(bool expandTimeArrays) {
  delete ThePVModel;
  ThePVModel = nullptr;
  ThePVModel = new MM1K_REWARDPVModel(expandTimeArrays);
  return ThePVModel;
}

void MM1K_STUDYSetStudy::SetGVs(int expNum) {
  lambda = lambdaValues[expNum];
  mu = muValues[expNum];
  K = KValues[expNum];
  horizon = horizonValues[expNum];
  transient = transientValues[expNum];
  batchLength = batchLengthValues[expNum];
}

void MM1K_STUDYSetStudy::PrintGlobalValues(int expNum) {
  SetGVs(expNum);
  std::cout << "The Global Variable values for experiment " << GetExpName(expNum) << " are:"
            << std::endl;
  std::cout << "lambda\tdouble\t" << lambda << std::endl;
  std::cout << "mu\tdouble\t" << mu << std::endl;
  std::cout << "K\tint\t" << K << std::endl;
  std::cout << "horizon\tdouble\t" << horizon << std::endl;
  std::cout << "transient\tdouble\t" << transient << std::endl;
  std::cout << "batchLength\tdouble\t" << batchLength << std::endl;
}

void* MM1K_STUDYSetStudy::GetGVValue(char* TheGVName) {
  if (std::strcmp("lambda", TheGVName) == 0) return &lambda;
  if (std::strcmp("mu", TheGVName) == 0) return &mu;
  if (std::strcmp("K", TheGVName) == 0) return &K;
  if (std::strcmp("horizon", TheGVName) == 0) return &horizon;
  if (std::strcmp("transient", TheGVName) == 0) return &transient;
  if (std::strcmp("batchLength", TheGVName) == 0) return &batchLength;
  std::cerr << "!! MM1K_STUDYSetStudy::GetGVValue: Global Variable " << TheGVName
            << " does not exist." << std::endl;
  return nullptr;
}

void MM1K_STUDYSetStudy::OverrideGVValue(char* TheGVName, void* TheGVValue) {
  if (std::strcmp("lambda", TheGVName) == 0) {
    lambda = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("mu", TheGVName) == 0) {
    mu = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("K", TheGVName) == 0) {
    K = *static_cast<int*>(TheGVValue);
  } else if (std::strcmp("horizon", TheGVName) == 0) {
    horizon = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("transient", TheGVName) == 0) {
    transient = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("batchLength", TheGVName) == 0) {
    batchLength = *static_cast<double*>(TheGVValue);
  } else {
    std::cerr << "!! MM1K_STUDYSetStudy::OverrideGVValue: Global Variable " << TheGVName
              << " does not exist." << std::endl;
  }
}

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) GlobalStudyPtr = new MM1K_STUDYSetStudy();
  return GlobalStudyPtr;
}

void DestructStudy() {
  delete GlobalStudyPtr;
  GlobalStudyPtr = nullptr;
}
