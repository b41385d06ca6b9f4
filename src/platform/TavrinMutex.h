#ifndef TAVRIN_PLATFORM_TAVRINMUTEX_H
#define TAVRIN_PLATFORM_TAVRINMUTEX_H

#include <mutex>

// TavrinMutex: mutual exclusion between the threads of this process, named after the
// order of creation ("mutex1" for the first).
class TavrinMutex {
 public:
  TavrinMutex();
  TavrinMutex(const TavrinMutex&) = delete;
  TavrinMutex& operator=(const TavrinMutex&) = delete;

  void Get();      // waits until the calling thread owns the mutex
  void Release();
  const char* GetName() const { return _name; }

 private:
  friend class TavrinCond;  // waits release and retake the platform mutex directly

  static int _globalID;     // mutexes created so far in the process
  char _name[64];
  std::mutex _mutex;
};

// TavrinMutexGuard: owns a TavrinMutex for one scope, so an early return cannot leave it held.
class TavrinMutexGuard {
 public:
  explicit TavrinMutexGuard(TavrinMutex& mutex) : _held(mutex) { _held.Get(); }
  ~TavrinMutexGuard() { _held.Release(); }
  TavrinMutexGuard(const TavrinMutexGuard&) = delete;
  TavrinMutexGuard& operator=(const TavrinMutexGuard&) = delete;

 private:
  TavrinMutex& _held;
};

#endif
