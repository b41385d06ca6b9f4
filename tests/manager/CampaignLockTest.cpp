#include "CampaignLock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

// One manager at a time per campaign folder: a second lock is refused naming the holder's
// process, and the folder is free again once the holder lets go.
TEST(CampaignLock, SecondHolderIsRefusedUntilTheFirstLetsGo) {
  char dir[] = "/tmp/tavrin_lock_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string error;
  {
    CampaignLock first;
    ASSERT_TRUE(first.Acquire(dir, error)) << error;
    CampaignLock second;
    EXPECT_FALSE(second.Acquire(dir, error));
    EXPECT_NE(error.find("is being run by another tavrin_run (process " +
                         std::to_string(getpid()) + ")"),
              std::string::npos)
        << error;
  }
  CampaignLock again;
  EXPECT_TRUE(again.Acquire(dir, error)) << error;
  CampaignLock nowhere;
  EXPECT_FALSE(nowhere.Acquire(std::string(dir) + "/missing", error));
  EXPECT_NE(error.find("cannot make the lock file"), std::string::npos) << error;
}
