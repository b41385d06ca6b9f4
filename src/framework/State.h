#ifndef TAVRIN_FRAMEWORK_STATE_H
#define TAVRIN_FRAMEWORK_STATE_H

#include <cstdio>

class BaseModelClass;

// State: a saved model state, to hash, compare, print and write or read as bytes.
class State {
 public:
  virtual int hash() const { return 1; }
  virtual int compare(const State&) const { return 1; }   // 1: the states differ
  virtual void print() const = 0;
  virtual int fwriteState(FILE* file) = 0;
  virtual int freadState(FILE* file) = 0;
  virtual State& operator=(const State& other) = 0;
  virtual ~State() {}
  virtual void SetState(const BaseModelClass* model) = 0;
  virtual void GetState(const BaseModelClass* model) = 0;
  virtual void* GetStatePtr() = 0;
};

#endif
