#ifndef TAVRIN_TESTS_ENGINE_TESTSTUDY_H
#define TAVRIN_TESTS_ENGINE_TESTSTUDY_H

// The study of the engine tests, in place of a generated one: GenerateStudy() returns a
// study whose GetPVModel wraps a new instance of the measured model the running test chose
// with UseMeasuredModel, in a reward model without variables. So a SimulatorClass can be
// built by its own constructor around a hand-built model.

#include "framework/BaseModelClass.h"
#include "rewards/PVModel.h"

using MeasuredModelFactory = BaseModelClass* (*)();

// The model every following GetPVModel builds, until the next call.
void UseMeasuredModel(MeasuredModelFactory factory);

// A reward model over the measured model, in place of the empty one; tests that measure
// variables set it before building a simulator and clear it (null) afterwards.
using RewardModelFactory = PVModel* (*)(BaseModelClass* measured, bool expandTimeArrays);
void UseRewardModel(RewardModelFactory factory);

template <class Model>
BaseModelClass* MakeModel() {
  return new Model();
}

// A reward model in the generated form with no performance variable.
class EmptyPVModel : public PVModel {
 public:
  EmptyPVModel(BaseModelClass* measured, bool expandTimeArrays);
  PerformanceVariableNode* createPVNode(int pvindex, int timeindex) override;
};

#endif
