#include "rewards/ModelGroupClass.h"

#include "rewards/RewardMemory.h"

ModelGroupClass::ModelGroupClass() : ModelList(nullptr), NumModels(0) {}

ModelGroupClass::~ModelGroupClass() { delete[] ModelList; }

void ModelGroupClass::SetNumModels(int numModels) {
  delete[] ModelList;
  ModelList = NewRewardArray<BaseModelClass*>(numModels);
  NumModels = numModels;
}

bool ModelGroupClass::IsDependentOnModel(const BaseModelClass* model) const {
  for (int i = 0; i < NumModels; i++)
    if (ModelList[i] == model) return true;
  return false;
}
