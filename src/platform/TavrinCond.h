#ifndef TAVRIN_PLATFORM_TAVRINCOND_H
#define TAVRIN_PLATFORM_TAVRINCOND_H

#include <condition_variable>
#include <mutex>

class TavrinMutex;

// TavrinCond: a condition on a TavrinMutex. Each Signal wakes at most one waiter; a signal
// given while nobody waits is lost.
class TavrinCond {
 public:
  TavrinCond();
  TavrinCond(const TavrinCond&) = delete;
  TavrinCond& operator=(const TavrinCond&) = delete;

  void Wait(TavrinMutex& m);  // the caller owns m, and owns it again on return
  void Signal();
  int GetWaitersCount();

 private:
  int _waiters_count;
  std::mutex _waiters_count_lock;     // guards _waiters_count and _sema
  int _sema;                          // wake-ups given and not yet taken
  std::condition_variable _semaReady; // a waiter sleeps here until _sema is positive
};

#endif
