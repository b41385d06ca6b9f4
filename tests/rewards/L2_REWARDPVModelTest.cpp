#include "Reward/L2_REWARD/L2_REWARDPVModel.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "Atomic/L2_CACHE/L2_CACHESAN.h"
#include "Reward/L2_REWARD/L2_REWARDPV0.h"
#include "Reward/L2_REWARD/L2_REWARDPV0Worker.h"

namespace {

L2_CACHESAN* CacheOf(PVModel& model) { return static_cast<L2_CACHESAN*>(model.TheModel); }

TEST(ExampleRewardModel, BuildsOneInstantVariableOverTheCacheModel) {
  L2_REWARDPVModel model(true);
  EXPECT_STREQ(model.getName(), "L2_REWARDPVModel");
  ASSERT_EQ(model.getNumPVs(), 1);
  PerformanceVariableNode* node = model.getPVList()[0];
  EXPECT_STREQ(node->Name, "L2_CONTENT");
  EXPECT_EQ(node->GetRewardType(), INSTANT_OF_TIME);
  EXPECT_EQ(node->Type, terminating);
  EXPECT_EQ(node->Start, 0.0);
  EXPECT_EQ(node->Stop, 0.0);
  ASSERT_EQ(node->NumberOfWorkers, 1);
  L2_REWARDPV0Worker* worker = static_cast<L2_REWARDPV0Worker*>(node->WorkerList[0]);
  EXPECT_EQ(worker->L2_CACHE, model.TheModel);
  EXPECT_EQ(static_cast<L2_REWARDPV0*>(node)->TheL2_CACHESAN, model.TheModel);
  // The variable names its model but no state variable, so no action is wired to it.
  EXPECT_EQ(node->NumberOfActionDependencies, 0);
  EXPECT_EQ(model.AffectingActions, nullptr);
  EXPECT_EQ(CacheOf(model)->T_WRITE.AffectedRateWorkers[0].size(), 0);
  EXPECT_EQ(model.StateSize(), 6);
  EXPECT_EQ(model.getNumActions(), 2);
}

TEST(ExampleRewardModel, OnlyVariableZeroExists) {
  L2_REWARDPVModel model(false);
  EXPECT_EQ(model.createPVNode(1, 0), nullptr);
  EXPECT_EQ(model.getNumPVs(), 1);
}

TEST(ExampleRewardModel, MeasuresTheCacheContentAfterTheFiringsAtTimeZero) {
  L2_REWARDPVModel model(true);
  model.ConsiderOnly(nullptr, 0);
  L2_CACHESAN* cache = CacheOf(model);
  // The simulator's batch: accumulate, fire T_WRITE at 0 (WRITE 1 -> L2_CONTENT 1), end at 0.
  model.Accumulate(0.0);
  model.FireAction(&cache->T_WRITE, 0.0);
  model.EndAccumulate(0.0);
  EXPECT_EQ(model.getPVList()[0]->TotalReward, 1.0);
  EXPECT_EQ(model.getPVList()[0]->TotalRewardSqr, 1.0);
}

TEST(ExampleRewardModel, TypeFileHasExactlySevenLines) {
  L2_REWARDPVModel model(true);
  std::string path = ::testing::TempDir() + "l2_pvtypes.txt";
  model.WritePVTypeFile(path.c_str());
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(),
            "Version:1\nNumPV:1\nName:L2_CONTENT\nType:0\nNumTimes:1\nStart:0\nStop:0\n");
}

}  // namespace
