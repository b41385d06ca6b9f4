#include "rewards/ActionModelPairClass.h"

#include "rewards/RewardMemory.h"

ActionModelPairClass::ActionModelPairClass() : ModelName(nullptr), ActionName(nullptr) {}

ActionModelPairClass::~ActionModelPairClass() {
  delete[] ModelName;
  delete[] ActionName;
}

void ActionModelPairClass::SetPair(const char* action, const char* model) {
  ReplaceString(ActionName, action);
  ReplaceString(ModelName, model);
}
