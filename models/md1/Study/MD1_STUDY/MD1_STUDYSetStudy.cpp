#include "Study/MD1_STUDY/MD1_STUDYSetStudy.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Atomic/MD1/MD1SAN.h"
#include "Reward/MD1_REWARD/MD1_REWARDPVModel.h"

double lambda;
double mu;
double transient;
double batchLength;

namespace {

const double lambdaValues[] = {0.5, 0.8};
const double muValues[] = {1.0, 1.0};
const double transientValues[] = {1000.0, 1000.0};
const double batchLengthValues[] = {10000.0, 10000.0};

const char* const names[] = {"lambda", "mu", "transient", "batchLength"};
const char* const types[] = {"double", "double", "double", "double"};

}  // namespace

MD1_STUDYSetStudy::MD1_STUDYSetStudy() {
  NumGVs = 4;
  NumExps = 2;
  GVNames = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
  GVTypes = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
  for (unsigned int i = 0; i < NumGVs; i++) {
    GVNames[i] = strdup(names[i]);
    GVTypes[i] = strdup(types[i]);
  }
  SetDefaultTavrinRoot("c:/Tavrin-2.5/");
}

MD1_STUDYSetStudy::~MD1_STUDYSetStudy() { delete ThePVModel; }

PVModel* MD1_STUDYSetStudy::GetPVModel(bool expandTimeArrays) {
  delete ThePVModel;
  ThePVModel = nullptr;
  ThePVModel = new MD1_REWARDPVModel(expandTimeArrays);
  return ThePVModel;
}

void MD1_STUDYSetStudy::SetGVs(int expNum) {
  lambda = lambdaValues[expNum];
  mu = muValues[expNum];
  transient = transientValues[expNum];
  batchLength = batchLengthValues[expNum];
}

void MD1_STUDYSetStudy::PrintGlobalValues(int expNum) {
  SetGVs(expNum);
  std::cout << "The Global Variable values for experiment " << GetExpName(expNum) << " are:"
            << std::endl;
  std::cout << "lambda\tdouble\t" << lambda << std::endl;
  std::cout << "mu\tdouble\t" << mu << std::endl;
  std::cout << "transient\tdouble\t" << transient << std::endl;
  std::cout << "batchLength\tdouble\t" << batchLength << std::endl;
}

void* MD1_STUDYSetStudy::GetGVValue(char* TheGVName) {
  if (std::strcmp("lambda", TheGVName) == 0) return &lambda;
  if (std::strcmp("mu", TheGVName) == 0) return &mu;
  if (std::strcmp("transient", TheGVName) == 0) return &transient;
  if (std::strcmp("batchLength", TheGVName) == 0) return &batchLength;
  std::cerr << "!! MD1_STUDYSetStudy::GetGVValue: Global Variable " << TheGVName
            << " does not exist." << std::endl;
  return nullptr;
}

void MD1_STUDYSetStudy::OverrideGVValue(char* TheGVName, void* TheGVValue) {
  if (std::strcmp("lambda", TheGVName) == 0) {
    lambda = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("mu", TheGVName) == 0) {
    mu = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("transient", TheGVName) == 0) {
    transient = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("batchLength", TheGVName) == 0) {
    batchLength = *static_cast<double*>(TheGVValue);
  } else {
    std::cerr << "!! MD1_STUDYSetStudy::OverrideGVValue: Global Variable " << TheGVName
              << " does not exist." << std::endl;
  }
}

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) GlobalStudyPtr = new MD1_STUDYSetStudy();
  return GlobalStudyPtr;
}

void DestructStudy() {
  delete GlobalStudyPtr;
  GlobalStudyPtr = nullptr;
}
