#ifndef TAVRIN_FRAMEWORK_STATE_BOOL_H
#define TAVRIN_FRAMEWORK_STATE_BOOL_H

#include "framework/state/PrimitiveType.h"

// Bool: a bool value of generated model code.
class Bool : public PrimitiveType<bool> {
 public:
  using PrimitiveType<bool>::PrimitiveType;
  using PrimitiveType<bool>::operator=;
  void Set(bool value) { mVar = value; }
};

#endif
