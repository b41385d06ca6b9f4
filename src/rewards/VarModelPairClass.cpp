#include "rewards/VarModelPairClass.h"

#include "rewards/RewardMemory.h"

VarModelPairClass::VarModelPairClass() : ModelName(nullptr), VarName(nullptr) {}

VarModelPairClass::~VarModelPairClass() {
  delete[] ModelName;
  delete[] VarName;
}

void VarModelPairClass::SetPair(const char* var, const char* model) {
  ReplaceString(VarName, var);
  ReplaceString(ModelName, model);
}
