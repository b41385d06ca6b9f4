#include "Study/TANDEM_STUDY/TANDEM_STUDYSetStudy.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Reward/TANDEM_REWARD/TANDEM_REWARDPVModel.h"

int population;
double mu1;
double mu2;
double mu3;
double transient;
double batchLength;

namespace {

const int populationValues[] = {4, 6};
const double mu1Values[] = {1.0, 1.0};
const double mu2Values[] = {2.0, 1.0};
const double mu3Values[] = {1.5, 0.8};
const double transientValues[] = {100.0, 100.0};
const double batchLengthValues[] = {1000.0, 1000.0};

const char* const names[] = {"population", "mu1", "mu2", "mu3", "transient", "batchLength"};
const char* const types[] = {"int", "double", "double", "double", "double", "double"};

}  // namespace

TANDEM_STUDYSetStudy::TANDEM_STUDYSetStudy() {
  NumGVs = 6;
  NumExps = 2;
  GVNames = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
  GVTypes = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
  for (unsigned int i = 0; i < NumGVs; i++) {
    GVNames[i] = strdup(names[i]);
    GVTypes[i] = strdup(types[i]);
  }
  SetDefaultTavrinRoot("c:/Tavrin-2.5/");
}

TANDEM_STUDYSetStudy::~TANDEM_STUDYSetStudy() { delete ThePVModel; }

PVModel* TANDEM_STUDYSetStudy::GetPVModel(bool expandTimeArrays) {
  delete ThePVModel;
  ThePVModel = nullptr;
  ThePVModel = new TANDEM_REWARDPVModel(expandTimeArrays);
  return ThePVModel;
}

void TANDEM_STUDYSetStudy::SetGVs(int expNum) {
  population = populationValues[expNum];
  mu1 = mu1Values[expNum];
  mu2 = mu2Values[expNum];
  mu3 = mu3Values[expNum];
  transient = transientValues[expNum];
  batchLength = batchLengthValues[expNum];
}

void TANDEM_STUDYSetStudy::PrintGlobalValues(int expNum) {
  SetGVs(expNum);
  std::cout << "The Global Variable values for experiment " << GetExpName(expNum) << " are:"
            << std::endl;
  std::cout << "population\tint\t" << population << std::endl;
  std::cout << "mu1\tdouble\t" << mu1 << std::endl;
  std::cout << "mu2\tdouble\t" << mu2 << std::endl;
  std::cout << "mu3\tdouble\t" << mu3 << std::endl;
  std::cout << "transient\tdouble\t" << transient << std::endl;
  std::cout << "batchLength\tdouble\t" << batchLength << std::endl;
}

void* TANDEM_STUDYSetStudy::GetGVValue(char* TheGVName) {
  if (std::strcmp("population", TheGVName) == 0) return &population;
  if (std::strcmp("mu1", TheGVName) == 0) return &mu1;
  if (std::strcmp("mu2", TheGVName) == 0) return &mu2;
  if (std::strcmp("mu3", TheGVName) == 0) return &mu3;
  if (std::strcmp("transient", TheGVName) == 0) return &transient;
  if (std::strcmp("batchLength", TheGVName) == 0) return &batchLength;
  std::cerr << "!! TANDEM_STUDYSetStudy::GetGVValue: Global Variable " << TheGVName
            << " does not exist." << std::endl;
  return nullptr;
}

void TANDEM_STUDYSetStudy::OverrideGVValue(char* TheGVName, void* TheGVValue) {
  if (std::strcmp("population", TheGVName) == 0) {
    population = *static_cast<int*>(TheGVValue);
  } else if (std::strcmp("mu1", TheGVName) == 0) {
    mu1 = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("mu2", TheGVName) == 0) {
    mu2 = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("mu3", TheGVName) == 0) {
    mu3 = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("transient", TheGVName) == 0) {
    transient = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("batchLength", TheGVName) == 0) {
    batchLength = *static_cast<double*>(TheGVValue);
  } else {
    std::cerr << "!! TANDEM_STUDYSetStudy::OverrideGVValue: Global Variable " << TheGVName
              << " does not exist." << std::endl;
  }
}

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) GlobalStudyPtr = new TANDEM_STUDYSetStudy();
  return GlobalStudyPtr;
}

void DestructStudy() {
  delete GlobalStudyPtr;
  GlobalStudyPtr = nullptr;
}
