#include "framework/BaseActionClass.h"

#include <gtest/gtest.h>

#include <sstream>

#include "framework/BaseStateVariableClass.h"
#include "framework/san/Place.h"

namespace {
// A structured variable made of two places: it adds its leaves, never itself.
class TwoPlaceStruct : public BaseStateVariableClass {
 public:
  TwoPlaceStruct() : BaseStateVariableClass("pair", ""), First("first", 1), Second("second", 2) {}
  int StateSize() override { return 4; }
  void SetState(void*) override {}
  void CurrentState(void*) override {}
  void share(BaseStateVariableClass*) override {}
  bool isLeafNode() override { return false; }
  void addSelfAsEnablingSVToAction(BaseActionClass* a) override {
    a->addEnablingSV(&First);
    a->addEnablingSV(&Second);
  }
  void addSelfAsAffectedSVToAction(BaseActionClass* a) override {
    a->addAffectedSV(&First);
    a->addAffectedSV(&Second);
  }
  void removeSelfFromEnablingSVOfAction(BaseActionClass* a) override {
    a->removeEnablingSV(&First);
    a->removeEnablingSV(&Second);
  }
  Place First;
  Place Second;
};

class ThreeStageAction : public BaseActionClass {
 public:
  double ErlangParamM() override { return 3.0; }
};
}  // namespace

TEST(ActionIdentifiers, ActionsBuiltInARowGetConsecutiveIdentifiers) {
  int base = BaseActionClass::getMaxID();
  BaseActionClass a, b, c;
  EXPECT_EQ(a.getID(), base);
  EXPECT_EQ(b.getID(), base + 1);
  EXPECT_EQ(c.getID(), base + 2);
  EXPECT_EQ(BaseActionClass::getMaxID(), base + 3);
}

TEST(ActionDefaults, DefaultActionIsAnEnabledRaceExponentialNamedDefault) {
  BaseActionClass a;
  EXPECT_EQ(a.DistributionType, Exponential);
  EXPECT_EQ(a.ExecutionPolicy, RaceEnabled);
  EXPECT_TRUE(a.Disabled);
  EXPECT_FALSE(a.Reactivation);
  EXPECT_FALSE(a.Fired);
  EXPECT_EQ(a.phase, 1);
  EXPECT_EQ(a.GroupID, 0);
  EXPECT_STREQ(a.ActionName, "default");
  EXPECT_EQ(a.Affects, nullptr);
  EXPECT_EQ(a.EventPointer, nullptr);
  EXPECT_EQ(a.TheModel, nullptr);
  EXPECT_FALSE(a.IsPVRateDSAllocated());
  EXPECT_FALSE(a.IsPVImpulseDSAllocated());
}

TEST(ActionDefaults, InitializeSetsNameGroupKindPolicyAndReactivation) {
  BaseActionClass a;
  a.BaseActionClassInitialize("Serve", 4, Erlang, RaceAge, 2, 1, true);
  EXPECT_STREQ(a.ActionName, "Serve");
  EXPECT_EQ(a.getGroupId(), 4);
  EXPECT_EQ(a.DistributionType, Erlang);
  EXPECT_EQ(a.ExecutionPolicy, RaceAge);
  EXPECT_TRUE(a.Reactivation);
  a.SetFired(7);
  EXPECT_TRUE(a.Fired);
  a.SetFired(0);
  EXPECT_FALSE(a.Fired);
}

TEST(ActionDefaults, NameIsAPrivateCopy) {
  char name[] = "Arrive";
  BaseActionClass a;
  a.defineName(name);
  name[0] = 'X';
  EXPECT_STREQ(a.ActionName, "Arrive");
}

TEST(ActionStateVariables, SameLeafTwiceAsEnablingVariableLeavesOneEntry) {
  BaseActionClass a;
  Place p("P", 0);
  a.addEnablingSV(&p);
  a.addEnablingSV(&p);
  EXPECT_EQ(a.getNumEnablingSVs(), 1);
  EXPECT_EQ(a.getEnablingSV(0), &p);
  EXPECT_EQ(a.getNumAffectedSVs(), 0);
}

TEST(ActionStateVariables, StructuredVariableIsExpandedIntoItsLeaves) {
  BaseActionClass a;
  TwoPlaceStruct pair;
  a.addEnablingSV(&pair);
  a.addAffectedSV(&pair);
  ASSERT_EQ(a.getNumEnablingSVs(), 2);
  EXPECT_EQ(a.getEnablingSV(0), &pair.First);
  EXPECT_EQ(a.getEnablingSV(1), &pair.Second);
  ASSERT_EQ(a.getNumAffectedSVs(), 2);
  EXPECT_EQ(a.getAffectedSV(1), &pair.Second);
  a.removeEnablingSV(&pair);
  EXPECT_EQ(a.getNumEnablingSVs(), 0);
}

TEST(ActionStateVariables, ReplaceSwapsAVariableAndDropsItWhenTheNewOneIsThere) {
  BaseActionClass a;
  Place p("P", 0), q("Q", 0), r("R", 0);
  a.addAffectedSV(&p);
  a.addAffectedSV(&q);
  a.replaceAffectedSV(&p, &r);
  EXPECT_EQ(a.getAffectedSV(0), &r);
  a.replaceAffectedSV(&q, &r);   // r is already listed: q just goes
  EXPECT_EQ(a.getNumAffectedSVs(), 1);
  a.removeAffectedSV(&r);
  EXPECT_EQ(a.getNumAffectedSVs(), 0);
}

TEST(ActionPrinting, PrintInfoWithoutArcsShowsEmptyHeadings) {
  BaseActionClass a;
  a.BaseActionClassInitialize("Idle", 3, Deterministic, RaceResampling, 0, 0, false);
  testing::internal::CaptureStdout();
  a.PrintInfo();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "********* Idle**********\n\nEnabled by:\nAffects:\nGroup ID = 3\n"
            "Execution Policy = 0\nDisabled = 1\nReactivation = 0\nDistributionType = 2\n");
}

TEST(ActionPrinting, PrintInfoListsEachVariableIndentedByElevenSpaces) {
  BaseActionClass a;
  Place p("P", 0), q("Q", 0);
  a.addEnablingSV(&p);
  a.addAffectedSV(&p);
  a.addAffectedSV(&q);
  testing::internal::CaptureStdout();
  a.PrintInfo();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Enabled by:\n           P\nAffects:\n           P\n           Q\nGroup ID"),
            std::string::npos)
      << out;
}

TEST(ActionPrinting, StatesArePrintedInListOrder) {
  BaseActionClass a;
  Place p("P", 4), q("Q", 5);
  a.addEnablingSV(&q);
  a.addEnablingSV(&p);
  a.addAffectedSV(&p);
  std::ostringstream enabling, affected;
  a.printEnablingState(&enabling);
  a.printAffectedState(&affected);
  EXPECT_EQ(enabling.str(), "Q = 5\nP = 4\n");
  EXPECT_EQ(affected.str(), "P = 4\n");
  EXPECT_EQ(a.getPrintedAction(), &a);
}

TEST(ActionRewardData, AllocationCreatesEmptySetsAndNullImpulseEntries) {
  BaseActionClass a;
  a.AllocatePVRateDS(3);
  EXPECT_TRUE(a.IsPVRateDSAllocated());
  EXPECT_FALSE(a.IsPVImpulseDSAllocated());
  EXPECT_TRUE(a.AffectedRateWorkers[2].empty());
  a.AllocatePVImpulseDS(2);
  EXPECT_TRUE(a.IsPVImpulseDSAllocated());
  EXPECT_TRUE(a.AffectedImpulseRewards[1].empty());
  EXPECT_EQ(a.AffectedImpulseWorkers[0], nullptr);
  EXPECT_EQ(a.AffectedImpulseWorkers[1], nullptr);
  EXPECT_EQ(a.NumAffectedImpulseWorkers[1], nullptr);
  a.AffectedRateWorkers[2].insert(5);
  EXPECT_TRUE(a.AffectedRateWorkers[2].find(5));
  a.DeallocatePVRateDS();
  a.DeallocatePVImpulseDS();
  EXPECT_FALSE(a.IsPVRateDSAllocated());
  EXPECT_FALSE(a.IsPVImpulseDSAllocated());
  a.DeallocatePVImpulseDS();   // a second release finds nothing to free
}

TEST(ActionStages, BaseActionIsReadyAtTheFirstStageOnly) {
  BaseActionClass a;
  EXPECT_TRUE(a.ReadyToFire());
  a.Age();
  EXPECT_FALSE(a.ReadyToFire());
  a.ResetPhase();
  EXPECT_TRUE(a.ReadyToFire());
}

TEST(ActionStages, ThreeStageActionIsReadyAfterTwoAgeings) {
  ThreeStageAction a;
  a.Age();
  EXPECT_FALSE(a.ReadyToFire());
  a.Age();
  EXPECT_TRUE(a.ReadyToFire());   // phase 3 equals ErlangParamM 3
  EXPECT_EQ(a.phase, 3);
}
