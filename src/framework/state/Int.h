#ifndef TAVRIN_FRAMEWORK_STATE_INT_H
#define TAVRIN_FRAMEWORK_STATE_INT_H

#include "framework/state/PrimitiveType.h"

// Int: a int value of generated model code.
class Int : public PrimitiveType<int> {
 public:
  using PrimitiveType<int>::PrimitiveType;
  using PrimitiveType<int>::operator=;
  void Set(int value) { mVar = value; }
};

#endif
