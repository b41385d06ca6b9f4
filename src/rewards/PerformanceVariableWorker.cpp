#include "rewards/PerformanceVariableWorker.h"

#include <iostream>

#include "rewards/RewardMemory.h"

PerformanceVariableWorker::PerformanceVariableWorker()
    : TheModelPtr(nullptr),
      NumModels(0),
      lastQualification(0),
      Name(nullptr),
      Trace(0),
      Number(-1),
      id(-1),
      Reward(0.0),
      RewardSqr(0.0),
      RewardFraction(0.0),
      Start(0.0),
      Stop(0.0),
      Since(0.0) {}

PerformanceVariableWorker::~PerformanceVariableWorker() { delete[] Name; }

void PerformanceVariableWorker::CurrentReward() {
  std::cerr << "!! Calling PerformanceVariableWorker::CurrentReward()" << std::endl;
}

void PerformanceVariableWorker::Reset() {
  Reward = 0.0;
  RewardSqr = 0.0;
}

void PerformanceVariableWorker::DefineName(const char* name, int number) {
  ReplaceString(Name, name);
  Number = number;
}
