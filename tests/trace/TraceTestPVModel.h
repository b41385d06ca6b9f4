#ifndef TAVRIN_TESTS_TRACE_TRACETESTPVMODEL_H
#define TAVRIN_TESTS_TRACE_TRACETESTPVMODEL_H

#include "rewards/PVModel.h"

// A reward model without variables around a given measured model, which it then owns, as
// a generated reward model owns the model it builds.
class TestPVModel : public PVModel {
 public:
  explicit TestPVModel(BaseModelClass* measured) {
    TheModel = measured;
    DefineName("TEST_REWARD");
    CreatePVList(0, false);
    Initialize();
  }
  PerformanceVariableNode* createPVNode(int, int) override { return nullptr; }
};

#endif
