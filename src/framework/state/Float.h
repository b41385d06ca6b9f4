#ifndef TAVRIN_FRAMEWORK_STATE_FLOAT_H
#define TAVRIN_FRAMEWORK_STATE_FLOAT_H

#include "framework/state/PrimitiveType.h"

// Float: a float value of generated model code.
class Float : public PrimitiveType<float> {
 public:
  using PrimitiveType<float>::PrimitiveType;
  using PrimitiveType<float>::operator=;
  void Set(float value) { mVar = value; }
};

#endif
