#include "Atomic/L2_CACHE/L2_CACHESAN.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace {
// The three markings, read back from the model's state vector.
struct Markings {
  explicit Markings(L2_CACHESAN& model) {
    EXPECT_EQ(model.StateSize(), 6);
    unsigned char bytes[6];
    model.CurrentState(bytes);
    std::memcpy(&read, bytes, 2);
    std::memcpy(&write, bytes + 2, 2);
    std::memcpy(&content, bytes + 4, 2);
  }
  short read, write, content;
};
}  // namespace

TEST(CacheModelAssembly, MembersTakeIdentifiersInDeclarationOrder) {
  int base = BaseActionClass::getMaxID();
  L2_CACHESAN model;
  // With the reward model's two embedded actions built first, base is 2: T_READ 2 ... 6.
  EXPECT_EQ(model.T_READ.getID(), base);
  EXPECT_EQ(model.T_WRITE.getID(), base + 1);
  EXPECT_EQ(model.ImmediateGroup.getID(), base + 2);
  EXPECT_EQ(model.T_READGroup.getID(), base + 3);
  EXPECT_EQ(model.T_WRITEGroup.getID(), base + 4);
  EXPECT_EQ(BaseActionClass::getMaxID(), base + 5);
}

TEST(CacheModelAssembly, ActivitiesCarryTheirDeclarations) {
  L2_CACHESAN model;
  EXPECT_STREQ(model.getName(), "L2_CACHE");
  EXPECT_STREQ(model.T_READ.ActionName, "T_READ");
  EXPECT_STREQ(model.T_WRITE.ActionName, "T_WRITE");
  EXPECT_EQ(model.T_READ.getGroupId(), 0);
  EXPECT_EQ(model.T_WRITE.getGroupId(), 1);
  EXPECT_EQ(model.T_WRITE.DistributionType, Instantaneous);
  EXPECT_EQ(model.T_WRITE.ExecutionPolicy, RaceEnabled);
  EXPECT_FALSE(model.T_READ.Reactivation);
  EXPECT_EQ(model.T_READ.TheModel, &model);
  EXPECT_EQ(model.T_WRITE.TheModel, &model);
  // The generator's spare groups are built but never handed to the model.
  EXPECT_EQ(model.ImmediateGroup.getNumMembers(), 0);
  EXPECT_EQ(model.T_READGroup.TheModel, nullptr);
}

TEST(CacheModelState, InitialMarkingIsZeroOneZero) {
  L2_CACHESAN model;
  Markings m(model);
  EXPECT_EQ(m.read, 0);
  EXPECT_EQ(m.write, 1);
  EXPECT_EQ(m.content, 0);
  Place* places[] = {model.READ, model.WRITE, model.L2_CONTENT};
  EXPECT_TRUE(checkLocalSVs(&model, places));
  EXPECT_EQ(model.getNumReadOnlyPlaces(), 0);
}

TEST(CacheModelState, PrintStateShowsTheModelAndItsThreePlaces) {
  L2_CACHESAN model;
  std::ostringstream out;
  model.printState(&out);
  EXPECT_EQ(out.str(), "Model: (" + std::to_string(model.getId()) +
                           ")L2_CACHE\n  READ = 0\n  WRITE = 1\n  L2_CONTENT = 0\n");
}

TEST(CacheModelLookup, ListsFollowTheActivityOrder) {
  L2_CACHESAN model;
  List<BaseActionClass> actions;
  List<BaseGroupClass> groups;
  model.listActions(&actions);
  model.listGroups(&groups);
  ASSERT_EQ(actions.getNumItems(), 2);
  EXPECT_EQ(actions.getItem(0), &model.T_READ);
  EXPECT_EQ(actions.getItem(1), &model.T_WRITE);
  ASSERT_EQ(groups.getNumItems(), 2);   // each activity is scheduled as its own group
  EXPECT_EQ(groups.getItem(0), &model.T_READ);
  EXPECT_EQ(groups.getItem(1), &model.T_WRITE);
}

TEST(CacheModelLookup, VariablesAndActionsAreFoundByName) {
  L2_CACHESAN model;
  List<BaseStateVariableClass> svs;
  List<BaseModelClass> models;
  model.listSVs("L2_CACHE", "L2_CONTENT", &svs, &models);
  ASSERT_EQ(svs.getNumItems(), 1);
  EXPECT_EQ(svs.getItem(0), model.L2_CONTENT);
  ASSERT_EQ(models.getNumItems(), 1);
  EXPECT_EQ(models.getItem(0), &model);
  List<BaseActionClass> found;
  model.listActions("T_WRITE", &found);
  ASSERT_EQ(found.getNumItems(), 1);
  EXPECT_EQ(found.getItem(0), &model.T_WRITE);
}

TEST(CacheModelArcs, PlacesKnowTheirActionsInArcOrder) {
  L2_CACHESAN model;
  ASSERT_EQ(model.READ->getNumEnabledActions(), 1);
  EXPECT_EQ(model.READ->getEnabledAction(0), &model.T_READ);
  ASSERT_EQ(model.READ->getNumAffectingActions(), 1);
  EXPECT_EQ(model.READ->getAffectingAction(0), &model.T_READ);
  ASSERT_EQ(model.L2_CONTENT->getNumAffectingActions(), 2);
  EXPECT_EQ(model.L2_CONTENT->getAffectingAction(0), &model.T_READ);
  EXPECT_EQ(model.L2_CONTENT->getAffectingAction(1), &model.T_WRITE);
  EXPECT_EQ(model.L2_CONTENT->getNumEnabledActions(), 0);
}

TEST(CacheModelArcs, ActivitiesKnowTheirPlacesInArcOrder) {
  L2_CACHESAN model;
  ASSERT_EQ(model.T_WRITE.getNumAffectedSVs(), 2);
  EXPECT_EQ(model.T_WRITE.getAffectedSV(0), model.WRITE);
  EXPECT_EQ(model.T_WRITE.getAffectedSV(1), model.L2_CONTENT);
  ASSERT_EQ(model.T_WRITE.getNumEnablingSVs(), 1);
  EXPECT_EQ(model.T_WRITE.getEnablingSV(0), model.WRITE);
  EXPECT_EQ(model.T_READ.READ, model.READ);
  EXPECT_EQ(model.T_READ.L2_CONTENT, model.L2_CONTENT);
  EXPECT_EQ(model.T_WRITE.WRITE, model.WRITE);
}

TEST(CacheModelDynamics, OnlyTheWriteIsEnabledAtFirst) {
  L2_CACHESAN model;
  EXPECT_FALSE(model.T_READ.Enabled());
  EXPECT_TRUE(model.T_WRITE.Enabled());
}

TEST(CacheModelDynamics, EmptyingWriteThroughSetMarkIsAnEnablingChange) {
  L2_CACHESAN model;
  ASSERT_TRUE(model.T_WRITE.Enabled());
  model.WRITE->setMark(0);
  EXPECT_TRUE(model.T_WRITE.EnablingChange());
  EXPECT_FALSE(model.T_WRITE.Enabled());
  EXPECT_FALSE(model.T_WRITE.EnablingChange());   // stays disabled
}

TEST(CacheModelDynamics, FiringTheWriteMovesItsTokenIntoTheCache) {
  L2_CACHESAN model;
  EXPECT_EQ(model.T_WRITE.Fire(), &model.T_WRITE);
  Markings m(model);
  EXPECT_EQ(m.read, 0);
  EXPECT_EQ(m.write, 0);
  EXPECT_EQ(m.content, 1);
  EXPECT_FALSE(model.T_READ.Enabled());
  EXPECT_FALSE(model.T_WRITE.Enabled());
}

TEST(CacheModelDynamics, RestoringTheSavedVectorUndoesAFiring) {
  L2_CACHESAN model;
  unsigned char initial[6];
  model.CurrentState(initial);
  model.T_WRITE.Fire();
  unsigned char fired[6];
  model.CurrentState(fired);
  EXPECT_FALSE(model.CompareState(initial, fired));
  model.SetState(initial);
  EXPECT_EQ(model.WRITE->getMark(), 1);
  EXPECT_EQ(model.L2_CONTENT->getMark(), 0);
  EXPECT_TRUE(model.T_WRITE.Enabled());
}

TEST(CacheModelDynamics, ReadFiresOnceAReadIsPending) {
  L2_CACHESAN model;
  model.READ->setMark(2);
  ASSERT_TRUE(model.T_READ.Enabled());
  model.T_READ.Fire();
  EXPECT_EQ(model.READ->getMark(), 1);
  EXPECT_EQ(model.L2_CONTENT->getMark(), 1);
  EXPECT_EQ(model.WRITE->getMark(), 1);
}

TEST(CacheModelLinking, MarkPointersFollowAPlaceIntoASharingGroup) {
  L2_CACHESAN model;
  Place outside("OUTSIDE", 4);
  // OUTSIDE absorbs READ: READ's value now lives in OUTSIDE's storage.
  outside.share(model.READ);
  outside.setMark(3);
  EXPECT_EQ(*model.T_READ.READ_Tavrin_Mark, 3);
  EXPECT_TRUE(model.T_READ.Enabled());
  model.T_READ.Fire();
  EXPECT_EQ(outside.getMark(), 2);
  EXPECT_EQ(model.L2_CONTENT->getMark(), 1);
}

TEST(CacheModelPrinting, ModelInfoDescribesBothActivities) {
  L2_CACHESAN model;
  testing::internal::CaptureStdout();
  model.PrintSANModelInfo();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "SANModelInfo\n"
            "Number of Actions = 2, Number of Groups = 2, Number of State Variables = 3\n"
            "ActionName = T_READ\nGroup Id = 0\nDistributionType = 18\nExecutionPolicy = 1\n"
            "Number of affected state variables = 2\nNumber of enabling state variables = 1\n"
            "ActionName = T_WRITE\nGroup Id = 1\nDistributionType = 18\nExecutionPolicy = 1\n"
            "Number of affected state variables = 2\nNumber of enabling state variables = 1\n"
            "\n"
            "Group Name = T_READ \nGroup Name = T_WRITE \n"
            "Place Name = READ\nPlace Name = WRITE\nPlace Name = L2_CONTENT\n");
}
