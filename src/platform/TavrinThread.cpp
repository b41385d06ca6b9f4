#include "platform/TavrinThread.h"

#include <chrono>

TavrinThread::TavrinThread(EntryFunction threadFunc, void* threadData)
    : _threadFunc(threadFunc), _threadData(threadData), _result(0) {}

// A std::thread still joinable at destruction would end the process, so wait for it.
TavrinThread::~TavrinThread() { WaitUntilDone(); }

TavrinThread* TavrinThread::Start() {
  if (!_threadHandle.joinable())
    _threadHandle = std::thread([this] { _result = _threadFunc(_threadData); });
  return this;
}

void TavrinThread::Sleep(int msec) {
  std::this_thread::sleep_for(std::chrono::milliseconds(msec));
}

int TavrinThread::WaitUntilDone() {
  if (!_threadHandle.joinable()) return 1;
  _threadHandle.join();
  return 0;
}
