#include "Study/L2_STUDY/L2_STUDYSetStudy.h"

#include <cstdlib>
#include <iostream>

#include "Reward/L2_REWARD/L2_REWARDPVModel.h"

L2_STUDYSetStudy::L2_STUDYSetStudy() {
  NumGVs = 0;
  NumExps = 1;
  // The C allocator may answer a request for no entries with null; that is an empty array.
  GVNames = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
  GVTypes = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));
  SetDefaultTavrinRoot("c:/Tavrin-2.5/");
}

L2_STUDYSetStudy::~L2_STUDYSetStudy() { delete ThePVModel; }

PVModel* L2_STUDYSetStudy::GetPVModel(bool expandTimeArrays) {
  delete ThePVModel;
  ThePVModel = nullptr;
  ThePVModel = new L2_REWARDPVModel(expandTimeArrays);
  return ThePVModel;
}

void L2_STUDYSetStudy::SetGVs(int) {}

void L2_STUDYSetStudy::PrintGlobalValues(int) {
  std::cout << "There are no global variables." << std::endl;
}

void* L2_STUDYSetStudy::GetGVValue(char* TheGVName) {
  std::cerr << "!! L2_STUDYSetStudy::GetGVValue: Global Variable " << TheGVName
            << " does not exist." << std::endl;
  return nullptr;
}

void L2_STUDYSetStudy::OverrideGVValue(char* TheGVName, void*) {
  std::cerr << "!! L2_STUDYSetStudy::OverrideGVValue: Global Variable " << TheGVName
            << " does not exist." << std::endl;
}

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) GlobalStudyPtr = new L2_STUDYSetStudy();
  return GlobalStudyPtr;
}

void DestructStudy() {
  delete GlobalStudyPtr;
  GlobalStudyPtr = nullptr;
}
