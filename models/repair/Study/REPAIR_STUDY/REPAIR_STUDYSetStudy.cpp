#include "Study/REPAIR_STUDY/REPAIR_STUDYSetStudy.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Reward/REPAIR_REWARD/REPAIR_REWARDPVModel.h"

int numMachines;
int crews;
double lambda;
double mu;
double transient;
double batchLength;

namespace {

const int numMachinesValues[] = {5, 10};
const int crewsValues[] = {2, 3};
const double lambdaValues[] = {0.5, 0.2};
const double muValues[] = {1.0, 1.0};
const double transientValues[] = {100.0, 100.0};
const double batchLengthValues[] = {1000.0, 1000.0};

const char* const names[] = {"numMachines", "crews", "lambda", "mu", "transient", "batchLength"};
const char* const types[] = {"int", "int", "double", "double", "double", "double"};

}  // namespace

REPAIR_STUDYSetStudy::REPAIR_STUDYSetStudy() {
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

REPAIR_STUDYSetStudy::~REPAIR_STUDYSetStudy() { delete ThePVModel; }

PVModel* REPAIR_STUDYSetStudy::GetPVModel(bool expandTimeArrays) {
  delete ThePVModel;
  ThePVModel = nullptr;
  ThePVModel = new REPAIR_REWARDPVModel(expandTimeArrays);
  return ThePVModel;
}

void REPAIR_STUDYSetStudy::SetGVs(int expNum) {
  numMachines = numMachinesValues[expNum];
  crews = crewsValues[expNum];
  lambda = lambdaValues[expNum];
  mu = muValues[expNum];
  transient = transientValues[expNum];
  batchLength = batchLengthValues[expNum];
}

void REPAIR_STUDYSetStudy::PrintGlobalValues(int expNum) {
  SetGVs(expNum);
  std::cout << "The Global Variable values for experiment " << GetExpName(expNum) << " are:"
            << std::endl;
  std::cout << "numMachines\tint\t" << numMachines << std::endl;
  std::cout << "crews\tint\t" << crews << std::endl;
  std::cout << "lambda\tdouble\t" << lambda << std::endl;
  std::cout << "mu\tdouble\t" << mu << std::endl;
  std::cout << "transient\tdouble\t" << transient << std::endl;
  std::cout << "batchLength\tdouble\t" << batchLength << std::endl;
}

void* REPAIR_STUDYSetStudy::GetGVValue(char* TheGVName) {
  if (std::strcmp("numMachines", TheGVName) == 0) return &numMachines;
  if (std::strcmp("crews", TheGVName) == 0) return &crews;
  if (std::strcmp("lambda", TheGVName) == 0) return &lambda;
  if (std::strcmp("mu", TheGVName) == 0) return &mu;
  if (std::strcmp("transient", TheGVName) == 0) return &transient;
  if (std::strcmp("batchLength", TheGVName) == 0) return &batchLength;
  std::cerr << "!! REPAIR_STUDYSetStudy::GetGVValue: Global Variable " << TheGVName
            << " does not exist." << std::endl;
  return nullptr;
}

void REPAIR_STUDYSetStudy::OverrideGVValue(char* TheGVName, void* TheGVValue) {
  if (std::strcmp("numMachines", TheGVName) == 0) {
    numMachines = *static_cast<int*>(TheGVValue);
  } else if (std::strcmp("crews", TheGVName) == 0) {
    crews = *static_cast<int*>(TheGVValue);
  } else if (std::strcmp("lambda", TheGVName) == 0) {
    lambda = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("mu", TheGVName) == 0) {
    mu = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("transient", TheGVName) == 0) {
    transient = *static_cast<double*>(TheGVValue);
  } else if (std::strcmp("batchLength", TheGVName) == 0) {
    batchLength = *static_cast<double*>(TheGVValue);
  } else {
    std::cerr << "!! REPAIR_STUDYSetStudy::OverrideGVValue: Global Variable " << TheGVName
              << " does not exist." << std::endl;
  }
}

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) GlobalStudyPtr = new REPAIR_STUDYSetStudy();
  return GlobalStudyPtr;
}

void DestructStudy() {
  delete GlobalStudyPtr;
  GlobalStudyPtr = nullptr;
}
