#include "framework/BaseModelClass.h"

#include <gtest/gtest.h>

#include "GroupTestSupport.h"
#include "framework/san/Place.h"

namespace {
// A model kind that supplies only what every model must.
class BareModel : public BaseModelClass {
 public:
  void listModels(const char*, List<BaseModelClass>*) override {}
  void CurrentState(void*) override {}
  void listActions(List<BaseActionClass>*) override {}
  void listGroups(List<BaseGroupClass>*) override {}
  void SetState(void*) override {}
  int StateSize() override { return 0; }
  bool CompareState(void*, void*) override { return true; }
  void listActions(const char*, List<BaseActionClass>*) override {}
  void listSVs(const char*, const char*, List<BaseStateVariableClass>*,
               List<BaseModelClass>*) override {}
};
}  // namespace

TEST(ModelIdentifiers, ModelsAreNumberedInConstructionOrderWithThemselvesAsParent) {
  BareModel first, second;
  EXPECT_EQ(second.getId(), first.getId() + 1);
  EXPECT_EQ(first.getParentId(), first.getId());
  second.SetParentId(first.getId());
  EXPECT_EQ(second.getParentId(), first.getId());
  EXPECT_GE(first.getId(), 1);
}

TEST(ModelArcs, ArcsAreRecordedOnBothTheVariableAndTheAction) {
  BareModel model;
  Place p("P", 0);
  StubActivity a("A");
  model.AddAffectArc(&p, &a);
  model.AddEnableArc(&p, &a);
  ASSERT_EQ(p.getNumAffectingActions(), 1);
  EXPECT_EQ(p.getAffectingAction(0), &a);
  ASSERT_EQ(p.getNumEnabledActions(), 1);
  EXPECT_EQ(p.getEnabledAction(0), &a);
  ASSERT_EQ(a.getNumAffectedSVs(), 1);
  EXPECT_EQ(a.getAffectedSV(0), &p);
  ASSERT_EQ(a.getNumEnablingSVs(), 1);
  EXPECT_EQ(a.getEnablingSV(0), &p);
}

TEST(ModelBase, OperationsOfOtherModelKindsAbort) {
  BareModel model;
  std::forward_list<BaseActionClass*> actions;
  EXPECT_DEATH(model.GetModelType(), "Assertion");
  EXPECT_DEATH(model.GetNumberOfChildren(), "Assertion");
  EXPECT_DEATH(model.HasLocalState(), "Assertion");
  EXPECT_DEATH(model.GetGlobalActions(actions), "Assertion");
}
