#ifndef TAVRIN_FRAMEWORK_STATE_CHAR_H
#define TAVRIN_FRAMEWORK_STATE_CHAR_H

#include "framework/state/PrimitiveType.h"

// Char: a char value of generated model code.
class Char : public PrimitiveType<char> {
 public:
  using PrimitiveType<char>::PrimitiveType;
  using PrimitiveType<char>::operator=;
  void Set(char value) { mVar = value; }
};

#endif
