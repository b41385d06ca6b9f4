#ifndef TAVRIN_FRAMEWORK_STATE_DOUBLE_H
#define TAVRIN_FRAMEWORK_STATE_DOUBLE_H

#include "framework/state/PrimitiveType.h"

// Double: a double value of generated model code.
class Double : public PrimitiveType<double> {
 public:
  using PrimitiveType<double>::PrimitiveType;
  using PrimitiveType<double>::operator=;
  void Set(double value) { mVar = value; }
};

#endif
