#ifndef TAVRIN_MANAGER_CAMPAIGNLOCK_H
#define TAVRIN_MANAGER_CAMPAIGNLOCK_H

#include <string>

// CampaignLock: an exclusive lock on a campaign folder (DIR/campaign.lock), held for the whole
// run of one manager, so that a second manager (a resume started while the campaign still
// runs) cannot write the same database and results files. The lock is the kernel's (flock):
// it goes with the process, however the process ends. The file holds the holder's process id,
// for the message a second manager gives.
class CampaignLock {
 public:
  CampaignLock() = default;
  ~CampaignLock();
  CampaignLock(const CampaignLock&) = delete;
  CampaignLock& operator=(const CampaignLock&) = delete;

  // Takes the lock on the folder; false with the reason in error when another process holds
  // it or the lock file cannot be made.
  bool Acquire(const std::string& folder, std::string& error);

 private:
  int _fd = -1;
};

#endif
