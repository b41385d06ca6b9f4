#include "CampaignLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

CampaignLock::~CampaignLock() {
  if (_fd >= 0) close(_fd);
}

bool CampaignLock::Acquire(const std::string& folder, std::string& error) {
  std::string path = folder + "/campaign.lock";
  // Close-on-exec: a client must not hold the campaign's lock.
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = "cannot make the lock file " + path + ": " + std::strerror(errno);
    return false;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int reason = errno;
    if (reason == EWOULDBLOCK) {
      char text[32] = {};
      ssize_t n = pread(fd, text, sizeof text - 1, 0);
      std::string holder = n > 0 ? std::string(text, static_cast<size_t>(n)) : "";
      while (!holder.empty() && (holder.back() == '\n' || holder.back() == ' ')) holder.pop_back();
      error = "the campaign in " + folder + " is being run by another tavrin_run" +
              (holder.empty() ? "" : " (process " + holder + ")") +
              "; wait for it to end, or stop it, before running it again";
    } else {
      error = "cannot lock " + path + ": " + std::strerror(reason);
    }
    close(fd);
    return false;
  }
  std::string pid = std::to_string(getpid()) + "\n";
  if (ftruncate(fd, 0) != 0 || pwrite(fd, pid.data(), pid.size(), 0) < 0) {
    // The process id is only for the message of a second manager; the lock holds without it.
  }
  if (_fd >= 0) close(_fd);
  _fd = fd;
  return true;
}
