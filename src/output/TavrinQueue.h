#ifndef TAVRIN_OUTPUT_TAVRINQUEUE_H
#define TAVRIN_OUTPUT_TAVRINQUEUE_H

#include "platform/TavrinMutex.h"

// TavrinQueue: a bounded first-in first-out ring of pointers, locked around every
// operation. A push onto a full queue is dropped; a pop from an empty one gives null.
template <class T>
class TavrinQueue {
 public:
  explicit TavrinQueue(int maxsize)
      : _data(new T[maxsize > 0 ? maxsize : 1]()),
        _queueMaxSize(maxsize),
        _queueFront(0),
        _queueEnd(0),
        _endWrap(false),
        _mutex(new TavrinMutex()) {}
  ~TavrinQueue() {
    delete _mutex;
    delete[] _data;
  }
  TavrinQueue(const TavrinQueue&) = delete;
  TavrinQueue& operator=(const TavrinQueue&) = delete;

  void Push(T d) {
    TavrinMutexGuard guard(*_mutex);
    if (IsFull()) return;
    _data[_queueEnd] = d;
    if (++_queueEnd >= _queueMaxSize) {
      _queueEnd = 0;
      _endWrap = true;
    }
  }

  T Pop() {
    TavrinMutexGuard guard(*_mutex);
    if (IsEmpty()) return nullptr;
    T d = _data[_queueFront];
    if (++_queueFront >= _queueMaxSize) {
      _queueFront = 0;
      _endWrap = false;
    }
    return d;
  }

  int GetCount() {
    TavrinMutexGuard guard(*_mutex);
    int count = _queueEnd - _queueFront;
    if (_queueEnd < _queueFront || _endWrap) count += _queueMaxSize;
    return count;
  }

 private:
  // Equal indices mean full once the end has wrapped past the front, empty otherwise.
  bool IsFull() const { return _queueMaxSize <= 0 || (_queueFront == _queueEnd && _endWrap); }
  bool IsEmpty() const { return _queueFront == _queueEnd && !_endWrap; }

  T* _data;             // owned storage; the elements themselves are not owned
  int _queueMaxSize;
  int _queueFront;      // the oldest element
  int _queueEnd;        // where the next element goes
  bool _endWrap;
  TavrinMutex* _mutex;  // owned
};

#endif
