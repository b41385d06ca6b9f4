#ifndef TAVRIN_FRAMEWORK_STATE_SHORT_H
#define TAVRIN_FRAMEWORK_STATE_SHORT_H

#include "framework/state/PrimitiveType.h"

// Short: a short value of generated model code.
class Short : public PrimitiveType<short> {
 public:
  using PrimitiveType<short>::PrimitiveType;
  using PrimitiveType<short>::operator=;
  void Set(short value) { mVar = value; }
};

#endif
