#ifndef TAVRIN_FRAMEWORK_STATE_LONG_H
#define TAVRIN_FRAMEWORK_STATE_LONG_H

#include "framework/state/PrimitiveType.h"

// Long: a long value of generated model code.
class Long : public PrimitiveType<long> {
 public:
  using PrimitiveType<long>::PrimitiveType;
  using PrimitiveType<long>::operator=;
  void Set(long value) { mVar = value; }
};

#endif
