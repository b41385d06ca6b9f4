#ifndef TAVRIN_PLATFORM_TAVRINTHREAD_H
#define TAVRIN_PLATFORM_TAVRINTHREAD_H

#include <thread>

// TavrinThread: runs one entry function on a thread of its own once started.
class TavrinThread {
 public:
  typedef unsigned long (*EntryFunction)(void*);

  TavrinThread(EntryFunction threadFunc, void* threadData);
  ~TavrinThread();  // waits for a started thread that is still running
  TavrinThread(const TavrinThread&) = delete;
  TavrinThread& operator=(const TavrinThread&) = delete;

  TavrinThread* Start();
  static void Sleep(int msec);
  int WaitUntilDone();  // 0 once the thread has ended, 1 when it was never started
  unsigned long GetResult() const { return _result; }

 private:
  EntryFunction _threadFunc;
  void* _threadData;
  std::thread _threadHandle;
  unsigned long _result;  // what the entry function returned
};

#endif
