#include "platform/TavrinCond.h"

#include "platform/TavrinMutex.h"

TavrinCond::TavrinCond() : _waiters_count(0), _sema(0) {}

// The count lock is taken before m is released and given up only inside the wait, so a
// Signal from the thread that next takes m always finds this waiter counted.
void TavrinCond::Wait(TavrinMutex& m) {
  std::unique_lock<std::mutex> countLock(_waiters_count_lock);
  _waiters_count++;
  m.Release();
  _semaReady.wait(countLock, [this] { return _sema > 0; });
  _sema--;
  _waiters_count--;
  countLock.unlock();
  m.Get();
}

void TavrinCond::Signal() {
  std::lock_guard<std::mutex> countLock(_waiters_count_lock);
  if (_waiters_count <= 0) return;  // nobody waits: the signal is lost
  _sema++;
  _semaReady.notify_one();
}

int TavrinCond::GetWaitersCount() {
  std::lock_guard<std::mutex> countLock(_waiters_count_lock);
  return _waiters_count;
}
