#include "CampaignStore.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <string>

#include "Campaign.h"

// What a campaign writes comes back when it is resumed: settings, clients with their seeds,
// and each client's observations in order across several records.
TEST(CampaignStore, WhatIsWrittenIsReadBackForAResume) {
  char dir[] = "/tmp/tavrin_store_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string path = std::string(dir) + "/campaign.sqlite";
  {
    CampaignStore store;
    ASSERT_TRUE(store.Open(path, false)) << store.Error();
    ASSERT_TRUE(store.SetSetting("seed", "42"));
    ASSERT_TRUE(store.PutExperiment(1, "K=10", {{"K", "10"}}));
    ASSERT_TRUE(store.PutClient({1, 0, 12345, "running", ""}));
    std::vector<double> a = {1.0, 2.0}, b = {3.0};
    ASSERT_TRUE(store.PutObservations(1, 0, {{0, &a}}));
    ASSERT_TRUE(store.PutObservations(1, 0, {{0, &b}, {1, &a}}));
    ASSERT_TRUE(store.SetClientState(1, 0, "failed", "killed"));
  }
  CampaignStore store;
  ASSERT_TRUE(store.Open(path, true)) << store.Error();
  std::map<std::string, std::string> settings;
  ASSERT_TRUE(store.GetSettings(settings));
  EXPECT_EQ(settings["seed"], "42");
  std::vector<CampaignStore::ClientRow> clients;
  ASSERT_TRUE(store.GetClients(1, clients));
  ASSERT_EQ(clients.size(), 1u);
  EXPECT_EQ(clients[0].seed, 12345u);
  EXPECT_EQ(clients[0].reason, "killed");
  std::vector<CampaignStore::Block> blocks;
  ASSERT_TRUE(store.GetObservations(1, blocks));
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0].values, (std::vector<double>{1.0, 2.0}));
  EXPECT_EQ(blocks[1].values, (std::vector<double>{3.0}));
  EXPECT_EQ(blocks[2].variable, 1);
  std::system(("rm -rf " + std::string(dir)).c_str());
}

TEST(CampaignStore, ResumingWhereNoCampaignIsFailsWithTheFileNamed) {
  CampaignStore store;
  EXPECT_FALSE(store.Open("/nonexistent/dir/campaign.sqlite", true));
  EXPECT_NE(store.Error().find("/nonexistent/dir/campaign.sqlite"), std::string::npos);
}

// Seeds are a function of the campaign seed, experiment and client: the same twice, all
// different within a campaign, never 0 (which would mean the simulator's default).
TEST(ClientSeeds, ReproducibleDistinctAndNeverZero) {
  std::set<unsigned> seen;
  for (int e = 0; e < 20; e++)
    for (int c = 0; c < 20; c++) {
      unsigned s = Campaign::ClientSeed(7, e, c);
      EXPECT_NE(s, 0u);
      EXPECT_EQ(s, Campaign::ClientSeed(7, e, c));
      seen.insert(s);
    }
  EXPECT_EQ(seen.size(), 400u);
  EXPECT_NE(Campaign::ClientSeed(7, 0, 0), Campaign::ClientSeed(8, 0, 0));
}
